// The page in Chromium, Firefox and WebKit: the same short run of user actions in each
// (opened from disk, a tab change, picks, spinner steps, save, revert, a share link
// opened, undo by button and by key), checked for what each step must do and, step by
// step, for the same shown figures as in Chromium (whose figures the other browser tests
// compare with the desktop window); after every step no label, caption or button text
// may stand outside its box, at full width and then in the touch layout.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { kStoreKey, pageUrl } from './browser.mjs';
import { kEngines, launchEngine } from './engines.mjs';

// What the form shows, by element id: the selection (list texts and whether they are
// off, spinner values, the active tab) and the figures (label texts, spinner bounds).
function readShown() {
  const picked = {};
  const figures = {};
  for (const e of document.querySelectorAll('.form [id]')) {
    if (e.classList.contains('label')) {
      figures[e.id] = e.textContent;
    } else if (e.classList.contains('list')) {
      picked[e.id] = e.querySelector('.list-text').textContent +
        (e.getAttribute('aria-disabled') === 'true' ? ' (off)' : '');
    } else if (e.getAttribute('role') === 'spinbutton') {
      picked[e.id] = e.getAttribute('aria-valuenow');
      figures[e.id] = e.getAttribute('aria-valuemax');
    } else if (e.getAttribute('role') === 'tab' && e.getAttribute('aria-selected') === 'true') {
      picked.page = e.id;
    }
  }
  return { picked, figures };
}

// Every label, group caption and button on view whose text does not fit its box: the
// text's own measured extent against the box, and what the box would have to scroll.
// (The character tabs are 40 pixels wide whatever their caption, as in the window.)
function clippedTexts() {
  const clipped = [];
  for (const e of document.querySelectorAll('.label, .caption, .button')) {
    const box = e.getBoundingClientRect();
    if (box.width === 0 && box.height === 0) {
      continue;  // not on view: a hidden page
    }
    const range = document.createRange();
    range.selectNodeContents(e);
    const text = range.getBoundingClientRect();
    if (e.scrollWidth > e.clientWidth || text.left < box.left - 0.5 || text.right > box.right + 0.5) {
      clipped.push(`${e.id || e.className} "${e.textContent}": text ${text.left.toFixed(1)}..` +
                   `${text.right.toFixed(1)}, box ${box.left.toFixed(1)}..${box.right.toFixed(1)}`);
    }
  }
  return clipped;
}

// The fixed-width labels given texts of every width, from none to far wider than the
// window made them: each text must fit its box, a box whose text fits must be the
// window's, and a wider one must keep the edge or middle its alignment holds (form
// pixels, the form at full size). Answers what went wrong.
function fixedLabelsGrow() {
  const wrong = [];
  const texts = [''];
  for (let n = 1; n <= 8; ++n) {
    texts.push('8'.repeat(n) + 'y', 'W'.repeat(n), '1'.repeat(n) + ' PP', '(-' + '9'.repeat(n) + ')');
  }
  window.kestrel.widgets.forEach((w, i) => {
    if (w.kind !== 'Label' || w.anchor !== 'Fixed') {
      return;
    }
    const control = window.kestrel.controls[i];
    const label = control.hintElement;
    for (const t of texts) {
      control.show({ t });
      const range = document.createRange();
      range.selectNodeContents(label);
      const text = range.getBoundingClientRect();
      const box = label.getBoundingClientRect();
      const left = label.offsetLeft;
      const right = left + label.offsetWidth;
      const fits = text.width <= w.width;
      const held = fits ? left === w.left && right === w.left + w.width
        : w.align === 'Center' ? Math.abs(left + right - (2 * w.left + w.width)) <= 1
          : w.align === 'Right' ? right === w.left + w.width : left === w.left;
      // An empty text has no extent of its own to measure.
      const outside = text.width > 0 && (text.left < box.left - 0.5 || text.right > box.right + 0.5);
      if (outside || !held) {
        wrong.push(`${w.name} "${t}" (${w.align}, ${w.left}+${w.width}): text ${text.width.toFixed(1)} ` +
                   `wide, box ${left}..${right}`);
      }
    }
  });
  return wrong;
}

// The touch layout scrolled to its bottom and back: the bar's buttons that were off the
// screen down there (the strip may hide some sideways; none may go up with the page).
function barOffScreen() {
  window.scrollTo(0, document.documentElement.scrollHeight);
  const gone = window.scrollY < window.innerHeight ? [`scrolled only ${window.scrollY}`] : [];
  for (const e of document.querySelectorAll('#tools .touch-strip > button:not([hidden])')) {
    const box = e.getBoundingClientRect();
    if (box.top < 0 || box.bottom > window.innerHeight) {
      gone.push(`${e.id} at ${box.top}..${box.bottom}`);
    }
  }
  window.scrollTo(0, 0);
  return gone;
}

const storedText = (key) => localStorage.getItem(key);
const listOpen = (name) => document.getElementById(name).classList.contains('open');

// The run, step by step: each step's name and what the page showed after it.
async function smokeRun(page) {
  const steps = [];
  const record = async (name) => {
    const shown = await page.evaluate(readShown);
    assert.deepEqual(await page.evaluate(clippedTexts), [], `${page.engine}, after "${name}": clipped`);
    steps.push({ name, shown });
    return shown;
  };
  const pick = async (name, row) => {
    await page.click('#' + name);
    await page.waitFor(listOpen, name);
    await page.click(`#${name}-rows > [data-row="${row}"]`);
    await page.waitFor((name) => !document.getElementById(name).classList.contains('open'), name);
  };

  await page.open(pageUrl());
  assert.equal(await page.evaluate(storedText, kStoreKey), null, 'a fresh profile');
  const first = await record('opened from disk');
  assert.equal(first.picked.page, 'PageControl1-tab1');

  await page.click('#PageControl1-tab2');
  assert.equal((await record('tab 2')).picked.page, 'PageControl1-tab2');

  await pick('ComboBox1', 13);
  await pick('ComboBox_NoemiShoes', 3);
  await pick('ComboBox2', 9);
  const picked = await record('picks');
  for (const name of ['ComboBox1', 'ComboBox_NoemiShoes', 'ComboBox2']) {
    assert.notEqual(picked.picked[name], first.picked[name], `${name} after the picks`);
  }
  for (const name of ['Label_LastPow', 'Label22']) {
    assert.notEqual(picked.figures[name], first.figures[name], `${name} after the picks`);
  }

  await page.click('#UpDown6 .arrow.up');
  const stepped = await record('spinner step');
  assert.equal(stepped.picked.UpDown6, '1');

  await page.click('#Button1');
  const saved = (await record('save')).picked;
  const stored = await page.evaluate(storedText, kStoreKey);
  assert.match(stored, /\[Noemi\][^[]*Shoes=3/);
  assert.match(stored, /Level=13/);

  await page.click('#UpDown6 .arrow.up');
  await page.click('#PageControl1-tab1');
  assert.notDeepEqual((await record('changes after the save')).picked, saved);
  await page.click('#Button2');
  assert.deepEqual((await record('revert')).picked, saved, 'the revert shows the saved selection');

  await page.click('#ShareButton');
  const link = await page.waitFor(() => document.getElementById('ShareLink').value);
  assert.ok(link.startsWith(pageUrl() + '#'), link);
  await page.click('#UpDown6 .arrow.up');
  await pick('ComboBox2', 2);
  await record('changes after the share');

  // The link in a fresh page: its build shown, the stored settings left alone.
  await page.goto('about:blank');
  await page.open(link);
  assert.deepEqual((await record('share link opened')).picked, saved);
  assert.equal(await page.evaluate(storedText, kStoreKey), stored);

  await page.click('#UpDown6 .arrow.up');
  await pick('ComboBox_NoemiShoes', 5);
  await record('changes on the link');
  await page.click('#UndoButton');
  await record('undo by button');
  await page.evaluate(() => document.getElementById('PageControl1').querySelector('[role="tablist"]').focus());
  await page.press(['Control', 'z']);
  assert.deepEqual((await record('undo by key')).picked, saved);

  // A phone's width: the touch layout, the same figures, still no text cut.
  await page.setViewport(390, 844);
  await page.waitFor(() => document.documentElement.classList.contains('touch'));
  assert.deepEqual((await record('touch layout')).picked, saved);
  await page.click('#PageControl1-tab4');
  await record('touch layout, tab 4');
  assert.deepEqual(await page.evaluate(barOffScreen), [], `${page.engine}: the bar, scrolled down`);
  assert.deepEqual(page.errors, [], `${page.engine}: errors in the console`);

  // Back at full width, the fixed labels over texts of every width.
  await page.setViewport(800, 760);
  await page.waitFor(() => !document.documentElement.classList.contains('touch'));
  assert.deepEqual(await page.evaluate(fixedLabelsGrow), [], `${page.engine}: fixed labels`);
  return steps;
}

let reference = null;
for (const engine of kEngines) {
  test(`${engine}: a user's short run, the figures as in Chromium, no text outside its box`, async () => {
    const started = Date.now();
    const page = await launchEngine(engine);
    try {
      const steps = await smokeRun(page);
      if (engine === 'chromium') {
        reference = steps;
      } else {
        assert.ok(reference, 'the Chromium run went through');
        for (const [i, step] of steps.entries()) {
          assert.deepEqual(step.shown, reference[i].shown, `${engine}, after "${step.name}"`);
        }
      }
    } finally {
      await page.close();
    }
    console.log(`${engine}: ${Date.now() - started} ms`);
  });
}
