// What a page audit checks that can regress without anyone seeing it, checked with
// axe-core (pinned) in the page: at full width every rule over the whole page, except
// that the form keeps the window's colours and sizes, so contrast and target size are
// checked only outside it (the bar); in the touch layout every rule, contrast and target
// size included, and those two again on another page and in an open list's sheet; no error in the console
// while the page loads and works; every text field takes a paste.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { clickAt, launch, pageUrl, takeMessages } from './browser.mjs';

const axePath = createRequire(import.meta.url).resolve('axe-core');
const browser = await launch();
test.after(() => browser.close());

// The page opened from disk in a fresh context, its console errors and page errors
// gathered from the first script on.
async function openWatched({ viewport = { width: 800, height: 760 }, touch = false } = {}) {
  const context = await browser.newContext({ viewport, hasTouch: touch, isMobile: touch });
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  const page = await context.newPage();
  page.consoleErrors = [];
  page.on('console', (message) => {
    if (message.type() === 'error') {
      page.consoleErrors.push(message.text());
    }
  });
  page.on('pageerror', (error) => page.consoleErrors.push(error.message));
  await page.goto(pageUrl());
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  return page;
}

// axe's violations as lines: the rule and the elements, for a readable failure.
async function violations(page, context, options) {
  if (!await page.evaluate(() => 'axe' in window)) {
    await page.addScriptTag({ path: axePath });
  }
  const result = await page.evaluate(([context, options]) => window.axe.run(context || document, options),
                                     [context, options]);
  return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

const kLooks = ['color-contrast', 'target-size'];
// The rules of the accessibility guidelines up to 2.2 AA (axe's best-practice rules,
// such as one h1 per page, are no part of them).
const kGuidelines = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'];

test('full width: every rule but the window\'s own colours and sizes; no console error', async () => {
  const page = await openWatched({ viewport: { width: 1024, height: 900 } });
  assert.deepEqual(await violations(page, null, {
    runOnly: kGuidelines,
    rules: Object.fromEntries(kLooks.map((id) => [id, { enabled: false }])),
  }), []);
  assert.deepEqual(await violations(page, { exclude: [['#Form1']] }, { runOnly: kLooks }), []);
  // A few actions that touch every kind of control and the bar.
  await clickAt(page, '#PageControl1-tab3');
  await clickAt(page, '#ComboBox2');
  await clickAt(page, '#ComboBox2-rows > [data-row="4"]');
  await clickAt(page, '#UpDown_Club1 .arrow.up');
  await clickAt(page, '#Button1');
  await clickAt(page, '#UndoButton');
  await clickAt(page, '#ShareButton');
  await page.waitForFunction(() => document.getElementById('ShareLink').value !== '');
  assert.deepEqual(await takeMessages(page), []);
  assert.deepEqual(page.consoleErrors, []);
  await page.context().close();
});

test('touch layout: every rule, contrast and target size included; those two on another page and in a sheet', async () => {
  const page = await openWatched({ viewport: { width: 390, height: 844 }, touch: true });
  await page.waitForFunction(() => document.documentElement.classList.contains('touch'));
  const all = { runOnly: kGuidelines };
  assert.deepEqual(await violations(page, null, all), [], 'the first page');
  await clickAt(page, '#PageControl1-tab7');
  await clickAt(page, '#UpDown_Club1 .arrow.up');
  const looks = { runOnly: kLooks };
  assert.deepEqual(await violations(page, null, looks), [], 'the seventh page');
  // A list's sheet with a preview under every row.
  await clickAt(page, '#ComboBox2');
  await page.waitForFunction(() => document.getElementById('ComboBox2').classList.contains('open'));
  assert.deepEqual(await violations(page, null, looks), [], 'the club list\'s sheet');
  assert.deepEqual(page.consoleErrors, []);
  await page.context().close();
});

test('every text field takes a paste: the paste is not stopped, a pasted code is shown', async () => {
  const page = await openWatched();
  const code = await page.evaluate(() => window.kestrel.core.shareCode());
  await clickAt(page, '#PageControl1-tab2');
  await clickAt(page, '#UpDown6 .arrow.up');
  // The clipboard closed: the paste goes through the field.
  await page.evaluate(() => {
    Object.defineProperty(navigator.clipboard, 'readText', { value: () => Promise.reject(new Error('closed')) });
  });
  await clickAt(page, '#PasteCodeButton');
  await page.waitForFunction(() => !document.getElementById('PasteField').hidden);
  const stopped = await page.evaluate((code) => [...document.querySelectorAll('input, textarea')]
    .filter((field) => {
      const data = new DataTransfer();
      data.setData('text/plain', code);
      return !field.dispatchEvent(new ClipboardEvent('paste', { clipboardData: data, cancelable: true, bubbles: true }));
    }).map((field) => field.id), code);
  assert.deepEqual(stopped, []);
  assert.equal(await page.textContent('#Edit6'), '0', 'the pasted code is shown');
  assert.ok(await page.isHidden('#PasteField'));
  assert.deepEqual(page.consoleErrors, []);
  await page.context().close();
});
