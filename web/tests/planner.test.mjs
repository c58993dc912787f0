// Undo and redo, the preview tip and build codes in the page: codes copied in either
// face open the same build in the other, over many random builds; the tip of random
// rows of random lists says what picking them then shows; a walk of random changes
// undone to its start and redone to its end; pasting where the clipboard is closed; a
// link opened on the open page.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import {
  clickAt, differences, launch, loadStored, openPage, pageUrl, perform, previewTip,
  randomSettings, runOracle, seeded, selection, shownState, takeMessages,
} from './browser.mjs';

const browser = await launch();
test.after(() => browser.close());

// No PP baselines: every figure of a build is then the same wherever it is shown.
const kBase = '[Character]\nLevel=2\nTabIndex=1\n[Noemi]\nShoes=3\n[Club]\nClub=4\n';

function assertSameShown(expected, actual, what) {
  const diff = differences(expected, actual);
  assert.ok(diff.length === 0, `${what}:\n  ${diff.join('\n  ')}`);
}

test('codes copied in either face open the same build in the other, 40 random builds', async (t) => {
  const kBuilds = 40;
  const page = await openPage(browser, { settings: kBase });
  const widgets = await page.evaluate(() => window.kestrel.widgets);
  const random = seeded(13013);
  const texts = [];
  const loaded = [];  // the page's messages and shown values after loading each build
  const pageCodes = [];
  for (let i = 0; i < kBuilds; ++i) {
    texts.push(randomSettings(widgets, random));
    const messages = await loadStored(page, texts[i]);
    loaded.push({ messages, shown: await shownState(page) });
    await perform(page, random.chance(50) ? 'copy key' : 'copy button');
    pageCodes.push(page.extra.copied);
  }

  // The window loads each build, copies it, and then pastes the page's code of the
  // next build over it.
  const folder = mkdtempSync(join(tmpdir(), 'kestrel-codes-'));
  let window;
  try {
    const actions = [];
    texts.forEach((text, i) => {
      const file = join(folder, `build${i}.ini`);
      writeFileSync(file, text);
      actions.push(`load ${file}`, 'copy key', `paste key ${pageCodes[(i + 1) % kBuilds]}`);
    });
    window = runOracle(kBase, actions);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
  const desktop = texts.map((_, i) => ({
    loaded: window.steps[3 * i + 1],
    code: window.steps[3 * i + 2].copied,
    pasted: window.steps[3 * i + 3],
  }));
  let refused = 0;
  for (let i = 0; i < kBuilds; ++i) {
    const next = (i + 1) % kBuilds;
    assert.deepEqual(desktop[i].loaded.errors, loaded[i].messages, `the load of build ${i}`);
    assert.deepEqual(selection(desktop[i].loaded.shown), selection(loaded[i].shown), `the load of build ${i}`);
    assert.equal(desktop[i].code, pageCodes[i], `one build, one code: build ${i}`);
    // The page's code shows its build in the window; one that cannot be shown leaves
    // the window as it was.
    const { errors, shown } = desktop[i].pasted;
    refused += errors.length > 0 ? 1 : 0;
    assert.deepEqual(selection(shown), selection(errors.length > 0 ? desktop[i].loaded.shown : loaded[next].shown),
                     `the page's code of build ${next} in the window`);
  }

  // A fresh page does what the window did, pasting the window's codes: every message
  // and every shown value must be the window's. (Lists without a selection and the
  // pages not on view keep what earlier loads left, so both faces go the same way.)
  await page.context().close();
  const again = await openPage(browser, { settings: kBase });
  for (let i = 0; i < kBuilds; ++i) {
    const next = (i + 1) % kBuilds;
    const steps = [
      async () => loadStored(again, texts[i]),
      async () => { await perform(again, 'copy key'); return takeMessages(again); },
      async () => {
        await perform(again, `paste ${random.chance(50) ? 'key' : 'button'} ${desktop[next].code}`);
        return takeMessages(again);
      },
    ];
    for (let k = 0; k < 3; ++k) {
      const step = window.steps[3 * i + 1 + k];
      const what = [`the load of build ${i}`, `the copy of build ${i}`,
                    `the window's code of build ${next} in the page, over build ${i}`][k];
      assert.deepEqual(await steps[k](), step.errors, what);
      assertSameShown(step.shown, await shownState(again), what);
    }
  }
  assert.deepEqual(again.failures, []);
  await again.context().close();
  t.diagnostic(`${kBuilds} builds each way, ${refused} codes refused by the window`);
});

// What each preview caption names, by the labels that show it.
const kFigureLabels = {
  'パワー': ['Label_LastPow'],
  'コントロール': ['Label_LastCtrl'],
  '正確度': ['Label_LastExa'],
  'スピン': ['Label_LastSpin'],
  'カーブ': ['Label_LastCur'],
  'ペナルティ(コントロール・正確度)': ['Label18', 'Label19'],
  '1Wの飛距離(通常)': ['Label22'],
};
const kNoPenalty = 'なし';

const kRich = `[Character]
Level=14
TabIndex=0
[Bastian]
Top=4
Shoes=6
Hand=6
Head1=7
CharaCard1=3
CaddieCard1=1
PowSlotUp=6
CtrlSlotUp=3
[Noemi]
TopPants=3
CharaCard3=7
[Caddie]
Caddie=3
[SpecialCard]
SpecialCard=1
[Club]
Club=12
[Club12]
PowSlotUp=2
`;

test('the tip of a highlighted row says what its pick shows; undo takes the pick back', async (t) => {
  const page = await openPage(browser, { settings: kRich });
  const widgets = await page.evaluate(() => window.kestrel.widgets);
  const random = seeded(77001);
  const tabs = widgets.filter((w) => w.kind === 'Page').length;
  let changing = 0;
  let checked = 0;
  for (let round = 0; round < 45; ++round) {
    if (round % 5 === 0) {
      await perform(page, 'tab ' + random.below(tabs));
      await takeMessages(page);
    }
    const shown = await shownState(page);
    const onPage = Number(shown['PageControl1.page']);
    const lists = widgets.filter((w) => w.kind === 'List' && shown[w.name + '.enabled'] === 'true' &&
                                        (w.bind.chara < 0 || w.bind.chara === onPage));
    const list = random.any(lists).name;
    const count = shown[list + '.items'].split('\n').length;
    const index = Number(shown[list + '.index']);
    if (count < 2) {
      continue;
    }
    let row = random.below(count - 1);
    row += row >= index && index >= 0 ? 1 : 0;  // another row than the one picked

    await clickAt(page, '#' + list);
    assert.deepEqual(await takeMessages(page), [], `the opening of ${list}`);
    const opened = await shownState(page);
    await page.evaluate(([list, row]) => {
      document.querySelector(`#${list}-rows > [data-row="${row}"]`).scrollIntoView({ block: 'nearest' });
    }, [list, row]);
    const box = await page.locator(`#${list}-rows > [data-row="${row}"]`).boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2, { steps: 2 });
    const tip = await previewTip(page);
    const tipBox = await page.locator('#preview-tip').boundingBox();
    const rowsBox = await page.locator(`#${list}-rows`).boundingBox();
    assert.ok(tipBox.x >= rowsBox.x + rowsBox.width || tipBox.x + tipBox.width <= rowsBox.x,
              'the tip stands beside the open rows');
    assertSameShown(opened, await shownState(page), 'the preview changes nothing shown');

    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    const messages = await takeMessages(page);
    assert.equal(await previewTip(page), '', 'the tip goes with the list');
    const picked = await shownState(page);
    const where = `${list} row ${row}: ${JSON.stringify(tip)}`;
    const lines = tip === '変化なし' ? [] : tip.split('\n');
    const named = new Set();
    if (tip.endsWith('.') && !tip.includes(' → ')) {
      assert.deepEqual(messages, [tip], `an error's tip is its message: ${where}`);
    } else {
      assert.deepEqual(messages, [], where);
      for (const line of lines) {
        const [, caption, from, to] = line.match(/^(.+) (.*) → (.*)$/);
        for (const label of kFigureLabels[caption]) {
          named.add(label);
          const text = (v) => (v === kNoPenalty && label.startsWith('Label1') ? '' : v);
          assert.equal(opened[label + '.text'], text(from), `${label} before, ${where}`);
          assert.equal(picked[label + '.text'], text(to), `${label} after, ${where}`);
        }
      }
      for (const label of Object.values(kFigureLabels).flat()) {
        if (!named.has(label)) {
          assert.equal(picked[label + '.text'], opened[label + '.text'], `${label} unnamed, ${where}`);
        }
      }
      changing += lines.length > 0 ? 1 : 0;
    }
    await perform(page, 'undo key');
    await takeMessages(page);
    assert.deepEqual(selection(await shownState(page)), selection(shown), `undo after ${where}`);
    ++checked;
  }
  assert.ok(changing >= 10, `only ${changing} previews changed a figure`);
  assert.deepEqual(page.failures, []);
  t.diagnostic(`${checked} previews checked, ${changing} changing a figure`);
  await page.context().close();
});

test('random changes undone to the start and redone to the end, the buttons following', async () => {
  const page = await openPage(browser, { settings: kRich });
  const widgets = await page.evaluate(() => window.kestrel.widgets);
  const random = seeded(55);
  const buttons = () => page.evaluate(() => ({
    undo: !document.getElementById('UndoButton').disabled,
    redo: !document.getElementById('RedoButton').disabled,
  }));
  assert.deepEqual(await buttons(), { undo: false, redo: false }, 'after the load');
  // The states that undo walks back through: one per change of the selection.
  const steps = [await shownState(page)];
  for (let i = 0; i < 40; ++i) {
    const shown = steps[steps.length - 1];
    const onPage = Number(shown['PageControl1.page']);
    const kind = random.below(10);
    let action;
    if (kind < 2) {
      action = 'tab ' + random.below(10);
    } else if (kind < 6) {
      const lists = widgets.filter((w) => w.kind === 'List' && shown[w.name + '.enabled'] === 'true' &&
                                          (w.bind.chara < 0 || w.bind.chara === onPage));
      const list = random.any(lists).name;
      action = `pick ${list} ${random.below(shown[list + '.items'].split('\n').length)}`;
    } else if (kind < 9) {
      const spinners = widgets.filter((w) => w.kind === 'Spinner' &&
                                             (w.bind.chara < 0 || w.bind.chara === onPage));
      action = `arrow ${random.any(spinners).name} ${random.chance(70) ? 'up' : 'down'}`;
    } else {
      action = 'click Button_ClubFullTune';
    }
    await perform(page, action);
    await takeMessages(page);
    const now = await shownState(page);
    if (JSON.stringify(selection(now)) !== JSON.stringify(selection(shown))) {
      steps.push(now);
    }
  }
  assert.ok(steps.length > 20, `${steps.length - 1} changes`);
  for (let k = steps.length - 2; k >= 0; --k) {
    await perform(page, random.chance(50) ? 'undo key' : 'undo button');
    await takeMessages(page);
    assertSameShown(steps[k], await shownState(page), `undone back to change ${k}`);
    assert.deepEqual(await buttons(), { undo: k > 0, redo: true }, `the buttons at change ${k}`);
  }
  await perform(page, 'undo key');
  assertSameShown(steps[0], await shownState(page), 'nothing more to undo');
  for (let k = 1; k < steps.length; ++k) {
    await perform(page, random.any(['redo y', 'redo shiftz', 'redo button']));
    await takeMessages(page);
    assertSameShown(steps[k], await shownState(page), `redone to change ${k}`);
  }
  assert.deepEqual(await buttons(), { undo: true, redo: false }, 'at the end');
  assert.deepEqual(page.failures, []);
  await page.context().close();
});

test('where the clipboard cannot be read, the code is pasted into a field', async () => {
  const source = await openPage(browser, { settings: kRich });
  await perform(source, 'tab 2');
  await perform(source, 'pick ComboBox1 9');
  await perform(source, 'copy key');
  const code = source.extra.copied;
  const expected = await shownState(source);
  await source.context().close();

  // No clipboard permission in this context.
  const context = await browser.newContext({ viewport: { width: 800, height: 760 } });
  const page = await context.newPage();
  await page.goto(pageUrl());
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  const before = await shownState(page);
  const field = page.locator('#PasteField');
  for (const [text, message] of [['not a code', 'クリップボードのビルドコードが壊れています.'],
                                 ['', 'クリップボードにビルドコードがありません.']]) {
    await clickAt(page, '#PasteCodeButton');
    await field.waitFor({ state: 'visible' });
    await field.fill(text);
    await field.press('Enter');
    assert.deepEqual(await takeMessages(page), [message]);
    assertSameShown(before, await shownState(page), `a paste of ${JSON.stringify(text)} changes nothing`);
  }
  await page.keyboard.press('Control+Shift+V');
  await field.waitFor({ state: 'visible' });
  await field.fill(`${pageUrl()}#${code}`);
  await field.press('Enter');
  assert.deepEqual(await takeMessages(page), []);
  assert.ok(await field.isHidden());
  assert.deepEqual(selection(await shownState(page)), selection(expected));
  await perform(page, 'undo button');
  assertSameShown(before, await shownState(page), 'the paste was one step');
  await context.close();
});

test('a link opened on the open page is one step; one that cannot be read changes nothing', async () => {
  const page = await openPage(browser, { settings: kRich });
  const start = await shownState(page);
  await perform(page, 'copy key');
  const code = page.extra.copied;
  await perform(page, 'tab 3');
  await perform(page, 'pick ComboBox1 4');
  const changed = await shownState(page);
  const open = (hash) => page.evaluate((hash) => new Promise((resolve) => {
    window.addEventListener('hashchange', () => setTimeout(resolve, 0), { once: true });
    location.hash = hash;
  }), hash);
  // The unsaved changes stay: a damaged link is reported and shows nothing.
  await open(code.slice(0, -1));
  assert.deepEqual(await takeMessages(page), ['共有リンクのビルドコードが壊れています.']);
  assertSameShown(changed, await shownState(page), 'after a damaged link');
  await open(code);
  assert.deepEqual(await takeMessages(page), []);
  assert.deepEqual(selection(await shownState(page)), selection(start), 'the link shows its build');
  await perform(page, 'undo key');
  assert.deepEqual(selection(await shownState(page)), selection(changed), 'undo goes back before the link');
  await page.context().close();
});
