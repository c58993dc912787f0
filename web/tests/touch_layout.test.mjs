// The touch layout on a phone's screen (390 x 844, touch, mobile viewport): sizes a
// finger can use and text it can read on every character's page, colours that read,
// the order of the column and the statuses pinned, the way back to the full layout
// exactly as it was, the layout button remembered, the phone's share sheet and hints
// by a tap. What the taps change is compared with the window in random_actions.test.mjs.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { kPhone, kRepo, launch, openPage, shownState } from './browser.mjs';
import { tapAt } from './touch.mjs';

// Where the page remembers the layout chosen by its button.
const kLayoutKey = 'kestrel-simulator-layout';
const kSettings = readFileSync(join(kRepo, 'docs', 'screenshot-settings.ini'), 'utf8');

let browser = null;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser.close();
});

// What a finger and an eye meet on the screen now: controls smaller than 44 x 44, text
// below 14 pixels, text whose contrast with what is behind it is below 4.5, each named.
const problems = (page) => page.evaluate(() => {
  const found = [];
  const name = (e) => e.id || e.parentElement.id + ' ' + e.className;
  const shown = (e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden';
  const controls = document.querySelectorAll(
    '.form .list, .form .arrow, .form .button, .tab, #tools button, #tools input, dialog button');
  for (const e of controls) {
    const box = e.getBoundingClientRect();
    if (shown(e) && (box.width < 44 - 0.01 || box.height < 44 - 0.01)) {
      found.push(`${name(e)} is ${box.width} x ${box.height}`);
    }
  }
  const rgb = (colour) => colour.match(/[\d.]+/g).map(Number);
  const luminance = ([r, g, b]) => [r, g, b].map((c) => {
    const s = c / 255;
    return s <= 0.04045 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4;
  }).reduce((sum, c, i) => sum + c * [0.2126, 0.7152, 0.0722][i], 0);
  const behind = (e) => {
    for (let n = e; n; n = n.parentElement) {
      const style = getComputedStyle(n);
      if (style.backgroundImage !== 'none') {
        return [255, 255, 255];  // the lists' and arrows' near-white gradients
      }
      if (rgb(style.backgroundColor)[3] !== 0) {
        return rgb(style.backgroundColor);
      }
    }
    return [255, 255, 255];
  };
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    const e = node.parentElement;
    if (!node.textContent.trim() || !shown(e) || e.closest('script, [aria-disabled="true"], :disabled')) {
      continue;
    }
    const style = getComputedStyle(e);
    if (parseFloat(style.fontSize) < 14) {
      found.push(`"${node.textContent.slice(0, 12)}" at ${style.fontSize}`);
    }
    const [a, b] = [luminance(rgb(style.color)), luminance(behind(e))].sort((x, y) => y - x);
    const ratio = (a + 0.05) / (b + 0.05);
    if (ratio < 4.5) {
      found.push(`"${node.textContent.slice(0, 12)}" at contrast ${ratio.toFixed(2)}`);
    }
  }
  if (document.documentElement.scrollWidth > window.innerWidth) {
    found.push(`the page is ${document.documentElement.scrollWidth} wide`);
  }
  return found;
});

// Where an element stands on the page (not the screen), and on the screen.
const placeOf = (page, selector) => page.evaluate((selector) => {
  const box = document.querySelector(selector).getBoundingClientRect();
  return { top: box.top + window.scrollY, left: box.left, screenTop: box.top, bottom: box.bottom };
}, selector);

test('in the touch layout every control takes a finger, every text reads, on every page and in an open sheet', async () => {
  const page = await openPage(browser, { settings: kSettings, touch: true });
  assert.ok(await page.evaluate(() => window.kestrelTouch.on), 'a phone gets the touch layout');
  for (let tab = 0; tab < 10; ++tab) {
    await tapAt(page, `#PageControl1-tab${tab + 1}`);
    assert.deepEqual(await problems(page), [], `page ${tab + 1}`);
  }
  // The sheet of the longest list, its previews and the selected row's mark included.
  await tapAt(page, '#ComboBox2');
  assert.deepEqual(await problems(page), [], 'the club sheet');
  // A question in the message box, its two choices; the licence.
  await page.evaluate(() => window.kestrelPage.ask('上書きしますか？', ['上書き保存', '保存しない'], () => {}));
  assert.deepEqual(await problems(page), [], 'a question');
  await tapAt(page, '#message-no');
  await tapAt(page, '#LicenseButton');
  assert.deepEqual(await problems(page), [], 'the licence');
  await page.context().close();
});

test('the touch layout reads in the order of the form, its statuses pinned to the bottom', async () => {
  const page = await openPage(browser, { settings: kSettings, touch: true });
  const order = ['#ComboBox1', '#PageControl1 [role="tablist"]', '#ComboBox_BastianTop',
                 '#ComboBox_BastianRing', '#cbBastianCharaCard1', '#cbBastianCaddieCard2', '#UpDown1',
                 '#UpDown5', '#cbSpecialCard', '#ComboBox3', '#ComboBox2', '#UpDown_Club5'];
  const places = [];
  for (const selector of order) {
    places.push(await placeOf(page, selector));
  }
  for (let i = 1; i < places.length; ++i) {
    assert.ok(places[i].top > places[i - 1].top, `${order[i]} below ${order[i - 1]}`);
    assert.ok(places[i].left < kPhone.width / 2, `${order[i]} in the one column`);
  }
  const pinned = ['#Label_LastPow', '#Label_LastCur', '#Label18', '#Label19', '#Label22', '#Label23',
                  '#Label174', '#Label67'];
  const shownAt = async () => Promise.all(pinned.map((s) => placeOf(page, s).then((p) => p.screenTop)));
  const top = await shownAt();
  await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
  assert.deepEqual(await shownAt(), top, 'the statuses stay where they are');
  for (const [i, p] of top.entries()) {
    assert.ok(p > kPhone.height - 200 && p < kPhone.height, `${pinned[i]} at the bottom (${p})`);
  }
  // The last control of the column can be scrolled clear of the statuses.
  const last = await placeOf(page, '#UpDown_Club5');
  const statuses = await placeOf(page, '#GroupBox14');
  assert.ok(last.bottom <= statuses.screenTop, 'the last control clears the statuses');
  await page.context().close();
});

// The bar's buttons as the page stands now (the strip brought sideways to each, never
// the page): where each stands on the screen and what a finger at its middle meets.
const barButtons = (page, ids) => page.evaluate((ids) => ids.map((id) => {
  const e = document.getElementById(id);
  const strip = e.closest('.touch-strip');
  if (strip) {
    const [inner, outer] = [e.getBoundingClientRect(), strip.getBoundingClientRect()];
    if (inner.left < outer.left || inner.right > outer.right) {
      strip.scrollLeft += inner.left - outer.left;
    }
  }
  const box = e.getBoundingClientRect();
  const x = box.left + box.width / 2;
  const y = box.top + box.height / 2;
  const hit = document.elementFromPoint(x, y);
  return { id, x, y, shown: box.top >= 0 && box.bottom <= window.innerHeight && box.left >= 0 &&
           box.right <= window.innerWidth, reached: !!hit && e.contains(hit) };
}), ids);

test('in the touch layout the bar stays on screen however far the page scrolls, and takes a tap there', async () => {
  const page = await openPage(browser, { settings: kSettings, touch: true });
  const count = () => page.evaluate(() => document.getElementById('UpDown1').getAttribute('aria-valuenow'));
  const from = await count();
  await tapAt(page, '#UpDown1 .arrow.up');
  assert.notEqual(await count(), from);
  const ids = ['UndoButton', 'RedoButton', 'Button1', 'Button2', 'SearchButton', 'ImportButton'];
  const far = await page.evaluate(() => document.documentElement.scrollHeight - window.innerHeight);
  assert.ok(far > kPhone.height, `the column is long enough to scroll away from the bar (${far})`);
  for (const share of [0, 0.3, 0.7, 1]) {
    const y = Math.round(far * share);
    // Sideways too: the page must not move that way.
    await page.evaluate((y) => window.scrollTo(200, y), y);
    assert.deepEqual(await page.evaluate(() => [window.scrollX, window.scrollY]), [0, y], 'scrolled down only');
    for (const button of await barButtons(page, ids)) {
      assert.ok(button.shown && button.reached, `${button.id} at ${share} of the way down: ${JSON.stringify(button)}`);
    }
  }
  // Undo, tapped at the bottom of the page, takes the step back and leaves the page where
  // it is.
  const [undo] = await barButtons(page, ['UndoButton']);
  await page.touchscreen.tap(undo.x, undo.y);
  assert.equal(await count(), from);
  assert.equal(await page.evaluate(() => window.scrollY), far);
  assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), kPhone.width);
  assert.deepEqual(page.failures, []);
  await page.context().close();

  // The full layout's bar stays below the form and goes up with the page.
  const full = await openPage(browser, { settings: kSettings, viewport: { width: 800, height: 400 } });
  const barTop = () => full.evaluate(() => {
    const tools = document.getElementById('tools');
    return [tools.getBoundingClientRect().top + window.scrollY, getComputedStyle(tools).position,
            getComputedStyle(document.body).overflowX];
  });
  const before = await barTop();
  assert.deepEqual(before.slice(1), ['static', 'visible']);
  await full.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
  assert.ok(await full.evaluate(() => window.scrollY) > 0);
  assert.deepEqual(await barTop(), before);
  await full.context().close();
});

test('the width changes the layout, not what is shown, and the full layout comes back as it was', async () => {
  const page = await openPage(browser, { settings: kSettings, touch: true, mobile: false,
                                         viewport: { width: 800, height: 760 } });
  const structure = () => page.evaluate(() => [...document.querySelectorAll('body *')]
    .map((e) => `${e.tagName}#${e.id}.${e.className}[${e.getAttribute('style') || ''}]` +
                `@${e.parentElement.id || e.parentElement.className}`).join('\n'));
  const clip = { x: 0, y: 0, width: 633, height: 650 };
  // The picture once it stands still: a sheet or note may still be fading out just after
  // a change of width, and that passes; a difference that stays does not.
  const settled = async () => {
    let last = await page.screenshot({ clip });
    for (let i = 0; i < 20; ++i) {
      await page.waitForTimeout(100);
      const now = await page.screenshot({ clip });
      if (now.equals(last)) {
        return now;
      }
      last = now;
    }
    return last;
  };
  const fullBefore = await structure();
  const pictureBefore = await settled();
  let shown = await shownState(page);
  // Taps in the touch layout, then back to the full width, and again.
  // Changes made in the touch layout and taken back there, so that the full layout
  // must come back to exactly what it was.
  const steps = [[kPhone.width, ['#PageControl1-tab2', '#UpDown_Club1 .arrow.up']],
                 [800, []],
                 [kPhone.width, ['#UpDown_Club1 .arrow.down', '#PageControl1-tab1']],
                 [800, []]];
  for (const [width, taps] of steps) {
    await page.setViewportSize({ width, height: kPhone.height });
    // The layout follows when the browser next lays out the page.
    await page.waitForFunction((touch) => window.kestrelTouch.on === touch, width < 640);
    assert.deepEqual(await shownState(page), shown, `what is shown after the change to ${width}`);
    for (const selector of taps) {
      await tapAt(page, selector);
    }
    const now = await shownState(page);
    if (taps.length > 0) {
      assert.notDeepEqual(now, shown, 'the taps changed what is shown');
    }
    shown = now;
  }
  await page.setViewportSize({ width: 800, height: 760 });
  assert.equal(await structure(), fullBefore, 'every element back in its place, with its own style');
  assert.ok(pictureBefore.equals(await settled()), 'the full layout looks as it did');
  await page.context().close();
});

test('the layout button switches and is remembered, the share sheet sends the link, a tap shows a hint', async () => {
  const page = await openPage(browser, { settings: kSettings, viewport: { width: 800, height: 760 } });
  const layout = () => page.evaluate(() => [window.kestrelTouch.on,
    document.getElementById('TouchLayoutButton').getAttribute('aria-pressed')]);
  assert.deepEqual(await layout(), [false, 'false']);
  // Now and then the browser starts a document on a copy of the storage without a write
  // made long before (seen with file: pages in headless Chromium, whatever the wait):
  // reload until the new document started with the choice just made, then look at what
  // the page made of it.
  await page.context().addInitScript((key) => {
    window.layoutAtStart = localStorage.getItem(key);
  }, kLayoutKey);
  const reload = async () => {
    const want = await page.evaluate((key) => localStorage.getItem(key), kLayoutKey);
    for (let tries = 0; ; ++tries) {
      await page.waitForTimeout(100);
      await page.reload();
      await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
      if (await page.evaluate(() => window.layoutAtStart) === want || tries === 20) {
        break;
      }
    }
  };
  await page.click('#TouchLayoutButton');
  assert.deepEqual(await layout(), [true, 'true'], 'touch on a wide screen by the button');
  await reload();
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  assert.deepEqual(await layout(), [true, 'true'], 'remembered');
  await page.setViewportSize(kPhone);
  await page.waitForFunction(() => window.kestrelTouch.on);
  await page.click('#TouchLayoutButton');
  assert.deepEqual(await layout(), [false, 'false'], 'the full layout on a narrow screen by the button');
  await reload();
  assert.deepEqual(await layout(), [false, 'false'], 'remembered');
  await page.context().close();

  // The share sheet where the browser has one: the link opens the build shown.
  const phone = await openPage(browser, { settings: kSettings, touch: true });
  assert.ok(await phone.evaluate(() => document.getElementById('ShareSheetButton').hidden),
    'no share sheet button without a share sheet');
  await phone.evaluate(() => {
    navigator.share = (data) => {
      window.shared = data;
      return Promise.resolve();
    };
    document.getElementById('TouchLayoutButton').click();
    document.getElementById('TouchLayoutButton').click();
  });
  await tapAt(phone, '#ShareSheetButton');
  await phone.waitForFunction(() => window.shared);
  const shared = await phone.evaluate(() => window.shared.url);
  const shown = await shownState(phone);
  const other = await openPage(browser, { hash: '#' + shared.split('#')[1], touch: true });
  const opened = await shownState(other);
  for (const key of Object.keys(shown).filter((k) => /\.(index|value)$/.test(k))) {
    assert.equal(opened[key], shown[key], `the shared link's ${key}`);
  }
  await other.context().close();

  // A tap on a figure with a hint shows it, the next touch hides it.
  const hinted = await phone.evaluate(() => document.getElementById('Label32').dataset.hint);
  assert.ok(hinted);
  await tapAt(phone, '#Label32');
  assert.deepEqual(await phone.evaluate(() => [document.getElementById('hint').hidden,
    document.getElementById('hint').textContent]), [false, hinted]);
  await tapAt(phone, '#PageControl1-tab1');
  assert.ok(await phone.evaluate(() => document.getElementById('hint').hidden), 'hidden by the next tap');
  assert.deepEqual(phone.failures, []);
  await phone.context().close();
});

test('a finger held on + goes on stepping, and its lift is no step of its own', async () => {
  const page = await openPage(browser, { settings: kSettings, touch: true });
  const at = await page.evaluate(() => {
    window.steps = [];  // when each answer came, and when the finger lifted
    window.kestrelPage.answerViews.push(() => window.steps.push(performance.now()));
    window.addEventListener('pointerup', () => {
      window.lifted = performance.now();
    }, true);
    const arrow = document.querySelector('#UpDown1 .arrow.up');
    arrow.scrollIntoView({ block: 'center' });
    const box = arrow.getBoundingClientRect();
    return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
  });
  const shown = () => page.evaluate(() => [Number(document.getElementById('UpDown1').getAttribute('aria-valuenow')),
                                            window.steps.length, window.steps.filter((t) => t > window.lifted).length]);
  const [from] = await shown();
  const touch = await page.context().newCDPSession(page);
  await touch.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [at] });
  await page.waitForTimeout(800);
  await touch.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await page.waitForTimeout(400);
  const [held, steps, afterLift] = await shown();
  assert.ok(held >= from + 3 && held === from + steps, `held from ${from} to ${held} in ${steps} steps`);
  assert.equal(afterLift, 0, 'steps after the lift');
  await tapAt(page, '#UpDown1 .arrow.up');
  assert.deepEqual((await shown()).slice(0, 2), [held + 1, steps + 1], 'the next tap steps once');
  await page.context().close();
});
