// The page's build search dialog: the query its controls make, its answers against the
// window's search of the same query (web/oracle; kestrel-cli's are held to the core's
// natively), the table and curve that show them, an answer applied as one step, a long
// search cancelled keeping its answers, and the progress that shows only past 200 ms.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  clickAt, differences, kRepo, launch, openPage, runOracle, searchEnded, seeded, shownState, takeMessages,
} from './browser.mjs';

const kSettings = readFileSync(join(kRepo, 'docs', 'screenshot-settings.ini'), 'utf8');
const kMinimums = ['pow', 'ctrl', 'exa', 'spin', 'cur', 'distance'];
// Each page's "(… PP)" label; the club's is Label122.
const kPagePPTotals = ['Label123', 'Label124', 'Label125', 'Label126', 'Label127', 'Label128',
                       'Label129', 'Label164', 'Label202', 'Label311'];

const browser = await launch();
test.after(() => browser.close());

const dialogState = (page) => page.evaluate(() => document.getElementById('SearchDialog').dataset.state);

async function openSearch(page) {
  await clickAt(page, '#SearchButton');
  await page.waitForFunction(() => document.getElementById('SearchDialog').open);
}

// The query as a user puts it into the controls.
async function enterQuery(page, q) {
  await page.selectOption('#SearchCharacter', String(q.character));
  await page.selectOption('#SearchObjective', q.objective);
  await clickAt(page, '#SearchFreeNone');
  for (const part of q.free) {
    await page.check(`#SearchDialog input[data-part="${part}"]`);
  }
  for (const key of kMinimums) {
    await page.setChecked(`#SearchMinOn_${key}`, q.min[key] !== undefined);
    if (q.min[key] !== undefined) {
      await page.fill(`#SearchMin_${key}`, String(q.min[key]));
    }
  }
  await page.setChecked('#SearchNoPenalty', q.noPenalty);
  await page.setChecked('#SearchBudgetOn', q.budget !== null);
  if (q.budget !== null) {
    await page.fill('#SearchBudget', String(q.budget));
  }
  await page.fill('#SearchResults', String(q.results));
}

// Runs the search with the button; the query the page sent and its answer.
async function search(page) {
  await clickAt(page, '#SearchRun');
  await searchEnded(page);
  const last = await page.evaluate(() => window.kestrel.search.last);
  assert.ok(last.answer, `the search failed: ${await page.textContent('#SearchStatus')}`);
  return { query: JSON.parse(last.query), answer: last.answer, last };
}

// The answers as the table, the reasons and the curve show them.
const shownAnswers = (page) => page.evaluate(() => {
  const rows = [...document.querySelectorAll('#SearchAnswers tbody tr')].map((tr) => {
    const cells = {};
    for (const td of tr.children) {
      cells[td.dataset.column] = td.textContent;
    }
    return { code: tr.dataset.code || null, cells };
  });
  const reaches = document.getElementById('SearchMessage').hidden ? []
    : [...document.querySelectorAll('#SearchMessage li')].map((li) => li.textContent);
  const steps = [...document.querySelectorAll('#SearchCurve .step')].map((g) => g.getAttribute('aria-label'));
  return { rows, reaches, steps };
});

function expectedCells(figures) {
  const cells = { pp: String(figures.pp), penalty: figures.penalty < 0 ? String(figures.penalty) : '',
                  sum: String(figures.final.reduce((a, b) => a + b, 0)) };
  figures.final.forEach((v, i) => { cells['s' + i] = String(v); });
  figures.distances.forEach((v, i) => { cells['d' + i] = v + 'y'; });
  return cells;
}

function assertShowsAnswer(shown, answer, what) {
  assert.equal(shown.rows.length, answer.answers.length + 1, `${what}: the current row and one per answer`);
  const pick = (cells, like) => Object.fromEntries(Object.keys(like).map((k) => [k, cells[k]]));
  const current = expectedCells(answer.current);
  assert.deepEqual(pick(shown.rows[0].cells, current), current, `${what}: the current row`);
  answer.answers.forEach((a, i) => {
    const row = shown.rows[i + 1];
    assert.equal(row.code, a.code, `${what}: answer ${a.rank}'s code`);
    const cells = { ...expectedCells(a), rank: `${a.rank}位`, changes: String(a.changes.length) };
    assert.deepEqual(pick(row.cells, cells), cells, `${what}: answer ${a.rank}`);
  });
  // The reasons are the core's lines (their words are pinned natively).
  assert.deepEqual(shown.reaches, answer.feasible ? [] : answer.reasons, `${what}: the reasons`);
  assert.deepEqual(shown.steps, answer.curve.map((s) => `${s.pp} PP で ${s.value}`), `${what}: the curve`);
}

// The figures the form shows, read as the answers carry them.
const shownFigures = (page) => page.evaluate((totals) => {
  const text = (id) => document.getElementById(id).textContent;
  const number = (t) => Number((t.match(/-?\d+/) || ['0'])[0]);
  const shownPage = Number(document.getElementById('PageControl1').dataset.page);
  return {
    final: ['Pow', 'Ctrl', 'Exa', 'Spin', 'Cur'].map((s) => number(text('Label_Last' + s))),
    penalty: number(text('Label18')),
    distances: ['Label22', 'Label23', 'Label174'].map((id) => number(text(id))),
    pp: number(text(totals[shownPage])) + number(text('Label122')),
    character: shownPage,
  };
}, kPagePPTotals);

// A curve step does not say its character.
const figuresOf = (a, character) => ({ final: a.final, penalty: a.penalty, distances: a.distances,
                                       pp: a.pp, ...(character === undefined ? {} : { character }) });

// A small random query over the parts and objectives the description offers: a few parts
// free, the rest kept as the selection has them.
function randomQuery(random, form) {
  const character = random.any(['shown', 'shown', 0, random.below(10)]);
  const rows = form.characters[character === 'shown' ? 0 : character].rows.map(([key]) => key);
  const candidates = [...rows, ...form.parts.filter((p) => p.group !== 0).map((p) => p.key)];
  const free = new Set();
  const count = 2 + random.below(3);
  while (free.size < count) {
    free.add(random.any(candidates));
  }
  const min = {};
  if (random.chance(35)) {
    min[random.any(kMinimums)] = random.any([12, 20, 28, 40, 260, 300]);
  }
  return {
    character,
    free: form.parts.map((p) => p.key).filter((p) => free.has(p)),
    min,
    noPenalty: random.chance(70),
    budget: random.chance(30) ? random.any([0, 500, 5000, 60000]) : null,
    objective: random.any(form.controls.find((c) => c.name === 'SearchObjective').values),
    results: 1 + random.below(12),
  };
}

test('the page answers as the window does, and shows what it answers', async () => {
  const page = await openPage(browser, { settings: kSettings });
  await openSearch(page);
  const form = await page.evaluate(() => JSON.parse(window.kestrel.core.searchForm()));
  const random = seeded(18);
  const queries = Array.from({ length: 8 }, () => randomQuery(random, form));
  // Nothing can reach it: the reasons show.
  queries.push({ character: 'shown', free: ['Caddie', 'Club'], min: { pow: 99 }, noPenalty: true,
                 budget: null, objective: 'distance', results: 5 });
  const runs = [];
  for (const q of queries) {
    await enterQuery(page, q);
    const run = await search(page);
    const what = JSON.stringify(q);
    // The controls say what the query says.
    const { build, ...sent } = run.query;
    // With no holdings recorded: everything owned, nothing acquired, answers by figures.
    assert.deepEqual(sent, { ...q, owned: {}, acquire: 0, distinct: 'figures' }, `${what}: the query the page sent`);
    assert.equal(build, await page.evaluate(() => window.kestrel.core.shareCode()));
    assertShowsAnswer(await shownAnswers(page), run.answer, what);
    runs.push({ ...run, what });
  }
  assert.ok(runs.some((r) => r.answer.feasible) && runs.some((r) => !r.answer.feasible));

  // The window searches its own selection, shown from the same stored settings. Natively
  // the threads share the walk, so only the count of nodes visited may differ.
  const sansNodes = ({ nodes, ...answer }) => answer;
  const oracle = runOracle(kSettings, runs.map((r) => 'search ' + JSON.stringify(r.query)));
  runs.forEach((run, i) => {
    assert.deepEqual(sansNodes(run.answer), sansNodes(oracle.steps[i + 1].search),
      `${run.what}: the window's answer`);
  });

  assert.deepEqual(page.failures, []);
});

// The page's own check of its number fields (their ranges are held in search_dialog.test),
// the refused field focused, and the core's refusal relayed from the worker.
test('the number fields take the ranges the core gives and refuse the rest in its words', async () => {
  const page = await openPage(browser, { settings: kSettings });
  await openSearch(page);
  const numbers = await page.evaluate(() => JSON.parse(window.kestrel.core.searchForm()).controls
    .filter((c) => c.kind === 'Number'));
  // Nothing free: every search is quick, also one that nothing can meet.
  const base = { character: 'shown', free: [], min: {}, noPenalty: true, budget: null,
                 objective: 'distance', results: 1 };
  await enterQuery(page, base);
  for (const { field: path, name, switch: toggle, limit: { low, high, refusal } } of numbers) {
    if (toggle) {
      await page.check('#' + toggle);
    }
    for (const value of [low - 1, low, low + 0.5, Math.floor((low + high) / 2), high, high + 1]) {
      const what = `${path} ${value}`;
      await page.fill('#' + name, String(value));
      await clickAt(page, '#SearchRun');
      await searchEnded(page);
      const status = await page.textContent('#SearchStatus');
      if (Number.isInteger(value) && value >= low && value <= high) {
        assert.equal(await dialogState(page), 'done', `${what}: ${status}`);
        const sent = JSON.parse((await page.evaluate(() => window.kestrel.search.last)).query);
        assert.equal(path.startsWith('min.') ? sent.min[path.slice(4)] : sent[path], value, what);
        continue;
      }
      assert.equal(await dialogState(page), 'error', what);
      assert.equal(status, refusal, what);
      assert.equal(await page.evaluate(() => document.activeElement.id), name, `${what}: the field focused`);
      const query = { ...base, build: await page.evaluate(() => window.kestrel.core.shareCode()) };
      if (path.startsWith('min.')) {
        query.min = { [path.slice(4)]: value };
      } else {
        query[path] = value;
      }
      await page.evaluate((text) => window.kestrel.search.run(text), JSON.stringify(query));
      assert.equal(await page.textContent('#SearchStatus'), refusal, `${what}: the core's refusal`);
    }
    await (toggle ? page.uncheck('#' + toggle) : page.fill('#' + name, '1'));
  }
  assert.deepEqual(page.failures, []);
});

test('an answer applied shows its figures as one step that undo takes back', async () => {
  const page = await openPage(browser, { settings: kSettings });
  const before = await shownState(page);
  await openSearch(page);
  // Any character: the page turns to the answer's.
  await enterQuery(page, { character: 'any', free: ['Head1', 'Caddie', 'SpecialCard', 'Club'],
                           min: {}, noPenalty: true, budget: null, objective: 'distance', results: 10 });
  const { answer } = await search(page);
  const chosen = answer.answers.find((a) => a.changes.length > 0);
  assert.ok(chosen, 'an answer that changes something');
  await page.dblclick(`#SearchAnswers tr[data-code="${chosen.code}"]`);
  assert.deepEqual(await shownFigures(page), figuresOf(chosen, chosen.character), 'after the double-click');
  assert.deepEqual(await page.$$eval('#SearchChanges li', (lis) => lis.map((li) => li.textContent)),
                   chosen.changes);

  // A curve step that is another build than the answer, picked and applied with the button.
  const step = answer.curve.findIndex((s) => s.code !== chosen.code);
  assert.ok(step >= 0, `a curve step other than the answer: ${JSON.stringify(answer.curve)}`);
  await clickAt(page, `#SearchCurve .step[data-step="${step}"] .dot`);
  await clickAt(page, '#SearchApply');
  const afterStep = await shownFigures(page);
  delete afterStep.character;
  assert.deepEqual(afterStep, figuresOf(answer.curve[step]), 'after the curve step');

  await clickAt(page, '#SearchClose');
  const undoSteps = async () => {
    await clickAt(page, '#UndoButton');
    return shownState(page);
  };
  await undoSteps();
  assert.deepEqual(await shownFigures(page), figuresOf(chosen, chosen.character),
                   'one undo: the double-clicked answer');
  const back = await undoSteps();
  assert.deepEqual(differences(before, back), [], 'two undos: the selection before');
  assert.equal(await page.evaluate(() => document.getElementById('UndoButton').disabled), true);
  assert.deepEqual(await takeMessages(page), []);
  assert.deepEqual(page.failures, []);
});

test('a long search shows its progress past 200 ms, is cancelled, and leaves the page usable', async () => {
  const page = await openPage(browser, { settings: kSettings });
  await openSearch(page);
  // A quick search never shows its progress.
  const small = { character: 'shown', free: ['Caddie'], min: {}, noPenalty: true, budget: null,
                  objective: 'sum', results: 3 };
  await enterQuery(page, small);
  const quick = await search(page);
  assert.ok(quick.last.run.ms < 200, `the small search took ${quick.last.run.ms} ms`);
  assert.equal(quick.last.progressShown, null, 'no progress for a quick search');

  // Everything free, any character: long enough to watch and stop.
  await clickAt(page, '#SearchFreeAll');
  await page.selectOption('#SearchCharacter', 'any');
  await page.selectOption('#SearchObjective', 'sum');
  await page.fill('#SearchResults', '50');
  await page.evaluate(() => {
    const box = document.getElementById('SearchProgressBox');
    window.progressSeen = null;
    new MutationObserver(() => {
      if (!box.hidden && window.progressSeen === null) {
        window.progressSeen = performance.now() - window.searchClicked;
      }
    }).observe(box, { attributes: true });
    document.getElementById('SearchRun').addEventListener('click', () => {
      window.searchClicked = performance.now();
    }, { capture: true, once: true });
  });
  await clickAt(page, '#SearchRun');
  await page.waitForFunction(() => window.progressSeen !== null ||
                             document.getElementById('SearchDialog').dataset.state !== 'running');
  assert.equal(await dialogState(page), 'running', 'the search still runs once its progress shows');
  const seen = await page.evaluate(() => window.progressSeen);
  assert.ok(seen >= 200 && seen < 1000, `the progress showed after ${seen} ms`);
  // A search on the page's own thread would hold every frame for seconds.
  const frame = await page.evaluate(() => new Promise((resolve) => {
    const from = performance.now();
    requestAnimationFrame(() => resolve(performance.now() - from));
  }));
  assert.ok(frame < 500, `a frame took ${frame} ms during the search`);
  // The best answers so far show while it runs, not yet proved; stopped, they stay.
  await page.waitForFunction(() => document.getElementById('SearchStatus').textContent.includes('これまでの候補'));
  assert.equal(await dialogState(page), 'running');
  assert.match(await page.textContent('#SearchStatus'), /^探索中… これまでの候補 \d+ 件 \(まだ最適とは限りません\)$/);
  await clickAt(page, '#SearchCancel');
  assert.equal(await dialogState(page), 'cancelled');
  assert.equal(await page.isHidden('#SearchProgressBox'), true);
  const kept = await page.locator('#SearchAnswers tbody tr[data-code]').count();
  assert.ok(kept >= 1, 'the answers found so far stay');
  assert.equal(await page.textContent('#SearchStatus'),
               `探索を中止しました。見つけた候補 ${kept} 件は最適とは限りません。`);

  // A new search runs on a new worker; the form answers after the dialog closes.
  await enterQuery(page, small);
  const again = await search(page);
  assert.deepEqual(again.answer, quick.answer);
  assert.match(await page.textContent('#SearchStatus'),
               again.answer.feasible ? / 最適を確認済み$/ : /^条件に合うビルドがありません \(/);
  await clickAt(page, '#SearchClose');
  const spinner = await shownState(page);
  await clickAt(page, '#UpDown1 .arrow.down');
  assert.notEqual((await shownState(page))['UpDown1.value'], spinner['UpDown1.value']);
  assert.deepEqual(page.failures, []);
});
