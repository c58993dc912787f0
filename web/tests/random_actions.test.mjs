// Seeded runs of random user actions through the page, with the mouse and the keyboard,
// compared after every action with the desktop window's run of the same actions: every
// shown text, hint, help cursor, enabled state, list selection and rows, spinner
// position and bound, the page on view, every message box, the build code a copy puts
// on the clipboard, the tip beside a highlighted row, and at the end the stored
// settings byte for byte. Among the actions: undo and redo (in runs, by key and by
// button), copies, and pastes of earlier codes, of share links, of damaged codes and of
// text that is no code. Since every copy must give the window's code, each paste of an
// earlier code is a code copied in one face opening its build in the other, as the same
// shown values after it prove; and each preview's tip is the window's, whose tips equal
// a real pick of the entry (tests/simulator/preview_test.cpp).
//
// The same runs on a phone's screen in the touch layout, every action a tap (touch.mjs),
// where a preview is read under its row in the list's sheet and must be the window's tip.
//
// KESTREL_WEB_ACTIONS (default 1000) and KESTREL_WEB_SEED set the length and the seed.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
  differences, launch, openPage, perform, runOracle, seeded, shownState, storedBytes,
  takeMessages,
} from './browser.mjs';
import { forTouch, performByTap, takeMessagesByTap } from './touch.mjs';

const kActions = Number(process.env.KESTREL_WEB_ACTIONS || 1000);
const kSeed = Number(process.env.KESTREL_WEB_SEED || 20261209);

// Settings a player might have: several characters dressed, cards, a caddie, a club set
// with counts and baselines, a window position, a section of the user's own.
const kRichSettings = `[Window]
Left=40
Top=30
[Character]
Level=12
TabIndex=3
[Bastian]
Top=4
Pants=7
Shoes=6
Hand=6
Head1=7
Head2=3
Face=5
Ring=1
CharaCard1=3
CharaCard2=5
CaddieCard1=1
PowSlotUp=6
CtrlSlotUp=3
ExaSlotUp=2
SavedPP=20000
[Noemi]
TopPants=3
Shoes=2
CharaCard3=7
CaddieCard2=4
PowSlotUp=12
SpinSlotUp=4
[Caddie]
Caddie=3
[SpecialCard]
SpecialCard=1
[Club]
Club=41
[Club41]
PowSlotUp=2
SavedPP=1000
[Club7]
CtrlSlotUp=1
[Notes]
Mine=keep me
`;

// Settings whose load stops: no club set (a range error at every recalculation until
// the user picks one), a level the list does not have and no page on view.
const kBrokenSettings = `[Character]
Level=50
TabIndex=12
[Club]
Club=99
[Club0]
PowSlotUp=1
`;

// What one user might do next, chosen from what the page shows now; with `touch`, as a
// finger does it.
class Chooser {
  constructor(widgets, seed, touch = false) {
    this.touch = touch;
    this.random = seeded(seed);
    this.pageLists = [];
    this.pageSpinners = [];
    for (let c = 0; c < 10; ++c) {
      this.pageLists.push([]);
      this.pageSpinners.push([]);
    }
    for (const w of widgets) {
      if (w.bind.chara >= 0 && w.kind === 'List') {
        this.pageLists[w.bind.chara].push(w.name);
      } else if (w.bind.chara >= 0 && w.kind === 'Spinner') {
        this.pageSpinners[w.bind.chara].push(w.name);
      }
    }
    this.otherLists = ['ComboBox1', 'ComboBox3', 'cbSpecialCard'];
    this.clubSpinners = [1, 2, 3, 4, 5].map((i) => 'UpDown_Club' + i);
    this.codes = [];  // what the copies put on the clipboard
    this.again = [];  // the rest of a run of undos or redos
  }

  // What a copy gave.
  copied(code) {
    if (code) {
      this.codes.push(code);
    }
  }

  // Undo, redo, copy, paste or a preview.
  planner(shown, page) {
    const r = this.random;
    const rows = (name) => shown[name + '.items'].split('\n').length;
    const kind = r.below(100);
    if (kind < 40) {
      // Often several in a row, so that undo walks far back and redo far forward.
      const how = () => r.any(['key', 'key', 'button', 'meta']);
      const action = r.chance(60) ? 'undo' : 'redo';
      const count = r.chance(30) ? 2 + r.below(12) : 1;
      for (let i = 0; i < count; ++i) {
        const way = action === 'redo' ? r.any(['y', 'shiftz', 'button']) : how();
        this.again.push(`${action} ${way}`);
      }
      return this.again.shift();
    }
    if (kind < 52 || (kind < 72 && this.codes.length === 0)) {
      return 'copy ' + r.any(['key', 'button']);
    }
    if (kind < 72) {
      const how = r.any(['key', 'button']);
      const code = r.any(this.codes);
      const form = r.below(10);
      if (form < 6) {
        return `paste ${how} ${code}`;
      }
      if (form < 8) {
        return `paste ${how} file:///somewhere/kestrel-simulator.html#${code}`;
      }
      if (form < 9) {
        // One letter changed: the check fails.
        const at = r.below(code.length);
        const other = code[at] === 'A' ? 'B' : 'A';
        return `paste ${how} ${code.slice(0, at)}${other}${code.slice(at + 1)}`;
      }
      return `paste ${how} ` + r.any(['', 'not a code', '#', code.slice(0, -2)]);
    }
    const lists = [...this.pageLists[page].filter((name) => shown[name + '.enabled'] === 'true'),
      ...this.otherLists, 'ComboBox2'];
    const list = r.any(lists);
    const count = rows(list);
    const index = Number(shown[list + '.index']);
    if (r.chance(30) && index >= 0) {
      const row = Math.max(0, Math.min(count - 1, index + r.below(7) - 3));
      return `preview ${list} ${row} keys`;
    }
    return `preview ${list} ${r.below(count)} hover`;
  }

  next(shown) {
    const action = this.choose(shown);
    return this.touch ? forTouch(action, shown) : action;
  }

  choose(shown) {
    const r = this.random;
    const page = Number(shown['PageControl1.page']);
    const rows = (name) => shown[name + '.items'].split('\n').length;
    const enabled = (name) => shown[name + '.enabled'] === 'true';
    const upOrDown = () => (r.chance(65) ? 'Down' : 'Up');
    if (this.again.length > 0) {
      return this.again.shift();
    }
    if (page >= 0 && r.chance(16)) {
      return this.planner(shown, page);
    }
    const kind = r.below(1000);
    if (page < 0 || kind < 90) {
      return 'tab ' + r.below(10);
    }
    if (kind < 100) {
      return 'key PageControl1 ' + (r.chance(50) ? 'Left' : 'Right');
    }
    if (kind < 480) {
      const lists = this.pageLists[page].filter(enabled);
      const list = r.any(lists);
      if (kind < 300) {
        return `key ${list} ${upOrDown()}`;
      }
      if (kind < 460) {
        return `pick ${list} ${r.below(rows(list))}`;
      }
      return `open ${list}`;
    }
    if (kind < 540) {
      const list = r.any(this.otherLists);
      return kind < 510 ? `key ${list} ${upOrDown()}` : `pick ${list} ${r.below(rows(list))}`;
    }
    if (kind < 620) {
      if (kind < 575) {
        return `pick ComboBox2 ${r.below(rows('ComboBox2'))}`;
      }
      return kind < 600 ? `key ComboBox2 ${upOrDown()}` : 'open ComboBox2';
    }
    // Spinners mostly go up, so that counts reach their limits.
    const way = r.chance(70) ? 'up' : 'down';
    if (kind < 840) {
      const spinner = r.any(this.pageSpinners[page]);
      return r.chance(60) ? `arrow ${spinner} ${way}` : `key ${spinner} ${way === 'up' ? 'Up' : 'Down'}`;
    }
    if (kind < 950) {
      const spinner = r.any(this.clubSpinners);
      return r.chance(60) ? `arrow ${spinner} ${way}` : `key ${spinner} ${way === 'up' ? 'Up' : 'Down'}`;
    }
    if (kind < 975) {
      return 'click Button_ClubFullTune';
    }
    return kind < 992 ? 'click Button1' : 'click Button2';
  }
}

// With `touch`, on a phone's screen in the touch layout, every action a tap.
async function differentialRun(t, settings, count, seed, touch = false) {
  const browser = await launch();
  try {
    const page = await openPage(browser, { settings, touch });
    assert.equal(await page.evaluate(() => window.kestrelTouch.on), touch, 'the layout on view');
    const widgets = await page.evaluate(() => window.kestrel.widgets);
    const chooser = new Chooser(widgets, seed, touch);
    const messages = touch ? takeMessagesByTap : takeMessages;
    const web = [{ errors: await messages(page), shown: await shownState(page) }];
    const actions = [];
    for (let i = 0; i < count; ++i) {
      const action = chooser.next(web[web.length - 1].shown);
      actions.push(action);
      const early = await (touch ? performByTap : perform)(page, action);
      chooser.copied(page.extra.copied);
      web.push({ errors: [...early, ...(await messages(page))], shown: await shownState(page),
                 ...page.extra });
    }
    const webStored = await storedBytes(page);
    assert.deepEqual(page.failures, [], 'the page raised errors');

    const window = runOracle(settings, actions);
    assert.equal(window.steps.length, web.length, 'the window ran every action');
    for (let i = 0; i < web.length; ++i) {
      const where = i === 0 ? 'after the load' : `after action ${i} (${actions[i - 1]})`;
      const recent = actions.slice(Math.max(0, i - 8), i).join('\n  ');
      assert.deepEqual(web[i].errors, window.steps[i].errors,
        `seed ${seed}: message boxes ${where}\nthe last actions:\n  ${recent}`);
      const diff = differences(window.steps[i].shown, web[i].shown);
      assert.ok(diff.length === 0,
        `seed ${seed}: shown ${where}:\n  ${diff.join('\n  ')}\nthe last actions:\n  ${recent}`);
      assert.equal(web[i].copied, window.steps[i].copied, `seed ${seed}: the code copied ${where}`);
      assert.equal(web[i].tip, window.steps[i].tip, `seed ${seed}: the tip ${where}`);
      if (actions[i - 1]?.startsWith('preview ')) {
        assert.ok((touch ? web[i].tipPlaced : web[i].tipBeside) && web[i].tipGone,
          `seed ${seed}: the tip's place ${where}`);
      }
    }
    assert.deepEqual(webStored, window.file, 'the stored settings at the end');
    const boxes = web.reduce((n, step) => n + step.errors.length, 0);
    const tally = (verb) => actions.filter((a) => a.startsWith(verb + ' ')).length;
    const tips = web.filter((step) => step.tip && step.tip !== '変化なし').length;
    t.diagnostic(`${count} ${touch ? 'taps' : 'actions'}, seed ${seed}, ${boxes} message boxes, ` +
                 `${Object.keys(web[0].shown).length} shown values compared after each; ` +
                 `${tally('undo')} undos, ${tally('redo')} redos, ${tally('copy')} copies, ` +
                 `${tally('paste')} pastes, ${tally('preview')} previews (${tips} with changes)`);
  } finally {
    await browser.close();
  }
}

test('random user actions: the page shows what the window shows', async (t) => {
  await differentialRun(t, kRichSettings, kActions, kSeed);
});

test('random user actions over settings whose load stops', async (t) => {
  await differentialRun(t, kBrokenSettings, Math.max(50, Math.floor(kActions / 6)), kSeed + 1);
});

test('random taps in the touch layout: the page shows what the window shows', async (t) => {
  await differentialRun(t, kRichSettings, Math.max(50, Math.floor(kActions / 4)), kSeed + 2, true);
});

test('random taps in the touch layout over settings whose load stops', async (t) => {
  await differentialRun(t, kBrokenSettings, Math.max(30, Math.floor(kActions / 12)), kSeed + 3, true);
});
