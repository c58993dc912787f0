// Undo, redo and build codes in the page beyond what the random run compares with the
// window: a walk of random changes undone to its start and redone to its end with the
// buttons following; pasting where the clipboard is closed; a link opened on the open
// page.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
  clickAt, differences, launch, openPage, pageUrl, perform, seeded, selection, shownState,
  takeMessages,
} from './browser.mjs';

const browser = await launch();
test.after(() => browser.close());

function assertSameShown(expected, actual, what) {
  const diff = differences(expected, actual);
  assert.ok(diff.length === 0, `${what}:\n  ${diff.join('\n  ')}`);
}

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
