// The page's search within the player's holdings answers as the command line does: the
// page passes its stored holdings as "owned", the limit on things not owned as
// "acquire" and its view as "distinct", and its table shows what each answer acquires
// and, in the view of what to get next, its gain. (The window is held to the command
// line the same way natively, so the three faces answer one query alike.)

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync, mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { clickAt, kRepo, kStoreKey, launch, pageUrl, seeded } from './browser.mjs';

const kCli = join(kRepo, 'build', 'cli', 'kestrel-cli');
const kHoldingsKey = 'kestrel-simulator-holdings.json';
const kSettings = readFileSync(join(kRepo, 'docs', 'screenshot-settings.ini'), 'utf8');
const browser = await launch();
test.after(() => browser.close());

// A page over the settings and the holdings as stored.
async function openWith(owned, viewport = { width: 1100, height: 900 }) {
  const context = await browser.newContext({ viewport });
  await context.addInitScript(({ settingsKey, settings, holdingsKey, holdings }) => {
    if (!localStorage.getItem('kestrel-test-seeded')) {
      localStorage.setItem(settingsKey, settings);
      localStorage.setItem(holdingsKey, holdings);
      localStorage.setItem('kestrel-test-seeded', '1');
    }
  }, { settingsKey: kStoreKey, settings: kSettings, holdingsKey: kHoldingsKey, holdings: JSON.stringify(owned) });
  const page = await context.newPage();
  await page.goto(pageUrl());
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  return page;
}

// Each entry of every list of the dialog owned one time in two.
function randomHoldings(random, form) {
  const owned = { items: {} };
  for (const page of form.pages) {
    for (const list of page.lists) {
      const entries = list.entries.map((_, i) => i).filter(() => random.chance(50));
      if (list.chara >= 0) {
        owned.items[list.chara] = owned.items[list.chara] || {};
        owned.items[list.chara][list.key.split('.')[1]] = entries;
      } else {
        owned[list.kind] = entries;
      }
    }
  }
  return owned;
}

const cells = (page, column) => page.$$eval(`#SearchAnswers tbody tr[data-code] td[data-column="${column}"]`,
  (tds) => tds.map((td) => [td.textContent, getComputedStyle(td).display !== 'none']));

test('the page searches within its holdings as the command line does', async () => {
  const random = seeded(3003);
  const probe = await openWith({});
  const form = JSON.parse(await probe.evaluate(() => window.kestrel.core.holdingsForm()));
  await probe.context().close();
  let acquiring = 0;
  let gains = 0;
  for (let round = 0; round < 4; ++round) {
    const owned = randomHoldings(random, form);
    const page = await openWith(owned);
    await clickAt(page, '#SearchButton');
    await clickAt(page, '#SearchFreeNone');
    for (const part of ['Ring', 'Caddie', 'SpecialCard', 'CharaCard1', 'Face']) {
      if (random.chance(60)) {
        await clickAt(page, `#SearchFree_${part}`);
      }
    }
    await page.selectOption('#SearchObjective', random.any(['distance', 'sum', 'pow', 'ctrl', 'leastPP']));
    const next = round % 2 === 1;
    await page.selectOption('#SearchAcquire', random.any(['0', '1', '2', 'null']));
    await page.selectOption('#SearchView', next ? 'acquired' : 'figures');
    assert.equal(await page.isDisabled('#SearchAcquire'), next);
    await clickAt(page, '#SearchRun');
    await page.waitForFunction(() => document.getElementById('SearchDialog').dataset.state !== 'running',
      null, { timeout: 60000 });
    const last = await page.evaluate(() => window.kestrel.search.last);
    const query = JSON.parse(last.query);
    // The query holds the stored holdings, read as the core reads them.
    assert.deepEqual(JSON.parse(await page.evaluate(() => window.kestrel.core.holdings())), query.owned);
    assert.equal(query.distinct, next ? 'acquired' : 'figures');
    if (next) {
      assert.equal(query.acquire, 1);
    }
    const cli = JSON.parse(execFileSync(kCli, ['search', '-'], { input: last.query }).toString());
    assert.deepEqual(last.answer.answers, cli.answers, `round ${round}: ${last.query.slice(0, 200)}`);
    assert.equal(last.answer.ownedBest, cli.ownedBest);

    const acquired = await cells(page, 'acquired');
    const gain = await cells(page, 'gain');
    cli.answers.forEach((a, i) => {
      assert.deepEqual(acquired[i], [a.acquired.join(' / '), true]);
      acquiring += a.acquired.length > 0 ? 1 : 0;
      assert.equal(gain[i][1], next);
      if (next) {
        ++gains;
        assert.ok(a.gain === null || gain[i][0].includes(String(a.gain)), gain[i][0]);
      }
    });
    if (next) {
      // What the gains are measured from, beside the answers.
      const [hidden, note] = await page.$eval('#SearchDialog p.note', (p) => [p.hidden, p.textContent]);
      assert.equal(hidden, !cli.feasible);
      assert.ok(!cli.feasible || note.includes(cli.ownedBest === null ? '条件を満たす' : String(cli.ownedBest)), note);
      // A picture to look at, where KESTREL_SHOTS names a folder.
      if (process.env.KESTREL_SHOTS) {
        mkdirSync(process.env.KESTREL_SHOTS, { recursive: true });
        await page.screenshot({ path: join(process.env.KESTREL_SHOTS, `search-next-to-get-page-${round}.png`) });
      }
    }
    await page.context().close();
  }
  assert.ok(acquiring > 2 && gains > 2, `${acquiring} ${gains}`);
});
