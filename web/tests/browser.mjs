// What the browser tests and benchmarks share: the system's Chromium, headless, with a
// fresh profile each launch; the page opened from disk over given stored settings; what
// the page shows, read from its elements as a user sees them; user actions done with
// the mouse and keyboard; and the desktop window's run of the same actions.

import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

export const kRepo = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
export const kPagePath = join(kRepo, 'build-web', 'kestrel-simulator.html');
export const kOraclePath = join(kRepo, 'build', 'web', 'oracle', 'web_oracle');
export const kStoreKey = 'kestrel-simulator.ini';
export const kHoldingsKey = 'kestrel-simulator-holdings.json';

// Chromium launched as the tests need it: no network of its own, no GPU, a profile
// folder of its own (the driver makes a fresh one for every launch).
export async function launch() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: [
      '--headless=new',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
}

export const kPhone = { width: 390, height: 844 };

export function pageUrl(hash = '') {
  return pathToFileURL(kPagePath).href + hash;
}

// Bytes as the page stores them: one character per byte.
export const storedForm = (bytes) => Buffer.from(bytes).toString('latin1');

// A fresh browser context (its own storage), the stored settings put in place before
// the page's first script runs, the page opened from disk and ready. `settings` is a
// string or bytes; undefined leaves the storage empty. `holdings`, given with them, is
// the stored holdings' text.
// `touch` makes it a phone's screen: 390 x 844 with touch and (unless `mobile` is false)
// a mobile viewport.
export async function openPage(browser, { settings, holdings, hash = '', viewport, touch = false,
                                          mobile = touch } = {}) {
  const context = await browser.newContext({
    viewport: viewport || (touch ? kPhone : { width: 800, height: 760 }),
    acceptDownloads: true,
    hasTouch: touch,
    isMobile: mobile,
  });
  // The page's copy and paste of build codes use the clipboard.
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  if (settings !== undefined) {
    const text = typeof settings === 'string' ? settings : storedForm(settings);
    await context.addInitScript(({ key, text, holdings, holdingsKey }) => {
      // Once for the whole context: later pages see what the first one left.
      if (location.protocol === 'file:' && !localStorage.getItem('kestrel-test-seeded')) {
        localStorage.setItem(key, text);
        if (holdings !== undefined) {
          localStorage.setItem(holdingsKey, holdings);
        }
        localStorage.setItem('kestrel-test-seeded', '1');
      }
    }, { key: kStoreKey, text, holdings, holdingsKey: kHoldingsKey });
  }
  const page = await context.newPage();
  page.failures = [];
  page.on('pageerror', (error) => page.failures.push(error.message));
  await page.goto(pageUrl(hash));
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  return page;
}

// The stored settings text as bytes.
export async function storedBytes(page) {
  const text = await page.evaluate((key) => localStorage.getItem(key), kStoreKey);
  return text === null ? null : Buffer.from(text, 'latin1');
}

// Everything the page shows, by object name and part, read from the elements: the
// same keys and value forms as the oracle's. Only what changed since the last reading
// crosses over from the page; the whole state is put together here.
export async function shownState(page) {
  const changed = await page.evaluate(() => {
    const shown = {};
    const cursor = (e) => {
      const c = getComputedStyle(e).cursor;
      return c === 'help' || c === 'pointer' ? c : 'default';
    };
    for (const w of window.kestrel.widgets) {
      const e = w.name ? document.getElementById(w.name) : null;
      if (!e) {
        continue;
      }
      const name = w.name;
      const hint = e.dataset.hint || '';
      switch (w.kind) {
        case 'Label':
          shown[name + '.text'] = e.textContent;
          shown[name + '.hint'] = hint;
          shown[name + '.cursor'] = cursor(e);
          break;
        case 'List': {
          const rows = [...document.getElementById(e.getAttribute('aria-controls')).children];
          shown[name + '.index'] = String(rows.findIndex((r) => r.getAttribute('aria-selected') === 'true'));
          shown[name + '.text'] = e.querySelector('.list-text').textContent;
          shown[name + '.items'] = rows.map((r) => r.textContent).join('\n');
          shown[name + '.enabled'] = String(e.getAttribute('aria-disabled') !== 'true');
          shown[name + '.hint'] = hint;
          shown[name + '.cursor'] = cursor(e);
          break;
        }
        case 'Spinner':
          shown[name + '.value'] = document.getElementById(w.editName).textContent;
          shown[name + '.max'] = e.getAttribute('aria-valuemax');
          shown[name + '.hint'] = hint;
          break;
        case 'Button':
          shown[name + '.text'] = e.textContent;
          shown[name + '.hint'] = hint;
          shown[name + '.cursor'] = cursor(e);
          break;
        case 'PageControl': {
          const tabs = [...e.querySelectorAll('[role="tab"]')];
          const active = tabs.findIndex((t) => t.getAttribute('aria-selected') === 'true');
          // The page on view must be the active tab's, and no other.
          const pages = tabs.map((t) => document.getElementById(t.getAttribute('aria-controls')));
          const consistent = pages.every((p, i) => p.hidden === (i !== active));
          shown[name + '.page'] = consistent ? String(active) : 'pages and tabs disagree';
          break;
        }
        default:
          break;
      }
    }
    const before = window.kestrelTestShown || {};
    window.kestrelTestShown = shown;
    const changed = {};
    for (const key of Object.keys(shown)) {
      if (before[key] !== shown[key]) {
        changed[key] = shown[key];
      }
    }
    return { changed, keys: Object.keys(shown).length };
  });
  const state = { ...(page.lastShown || {}), ...changed.changed };
  if (Object.keys(state).length !== changed.keys) {
    throw new Error('the page lost shown values');
  }
  page.lastShown = state;
  return state;
}

// Closes every message box that is open, as a user clicks OK (or taps it with `tap`),
// and answers their texts.
export async function takeMessages(page, tap = null) {
  const texts = [];
  for (;;) {
    const open = await page.evaluate(() => {
      const dialog = document.getElementById('message');
      return dialog.open ? document.getElementById('message-text').textContent : null;
    });
    if (open === null) {
      return texts;
    }
    texts.push(open);
    await (tap ? tap(page, '#message-ok') : page.click('#message-ok'));
  }
}

const kKeys = { Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight' };

// A click with the mouse at the middle of an element, scrolled into view first as a
// user scrolls an open list to its row.
export async function clickAt(page, selector) {
  const at = await page.evaluate((selector) => {
    const e = document.querySelector(selector);
    if (!e) {
      return null;
    }
    e.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    const box = e.getBoundingClientRect();
    return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
  }, selector);
  if (!at) {
    throw new Error('nothing to click at ' + selector);
  }
  await page.mouse.click(at.x, at.y);
}

// Waits until the page's build search stops running.
export const searchEnded = (page) => page.waitForFunction(
  () => document.getElementById('SearchDialog').dataset.state !== 'running', null, { timeout: 60000 });

// The move of the mouse onto an element, scrolled into view first.
async function hoverAt(page, selector) {
  const at = await page.evaluate((selector) => {
    const e = document.querySelector(selector);
    e.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    const box = e.getBoundingClientRect();
    return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
  }, selector);
  await page.mouse.move(at.x, at.y, { steps: 2 });
}

// A build-code command outside the form, by its key or its button; done once the status
// line says so or a message box opens (the clipboard is read and written out of turn).
// `press` taps or clicks the button (clickAt unless given).
export async function codeCommand(page, how, key, button, done, press = clickAt) {
  await page.evaluate(() => {
    document.getElementById('ToolStatus').textContent = '';
  });
  if (how === 'button') {
    await press(page, button);
  } else {
    await page.keyboard.press(key);
  }
  await page.waitForFunction((done) => document.getElementById('message').open ||
    document.getElementById('ToolStatus').textContent === done, done);
}

// An opening that stopped with an error shows the rows once its message box has
// closed, which happens out of turn.
async function listShown(page, name) {
  await page.waitForFunction((name) => document.getElementById(name).classList.contains('open') ||
    document.getElementById(name).getAttribute('aria-disabled') === 'true', name);
}

// The tip beside the highlighted row: its text, or '' while none shows.
const previewTip = (page) => page.evaluate(() => {
  const tip = document.getElementById('preview-tip');
  return tip.hidden ? '' : tip.textContent;
});

// One action as a user does it; the same words as the oracle's (web/oracle/oracle.cpp).
// Answers the texts of the message boxes that came up before its last step (an opening
// list that stops with an error), each closed with OK as it came. What a copy put on
// the clipboard and the text of a preview's tip are left in page.extra.
export async function perform(page, action) {
  let early = [];
  const [verb, name, arg, how] = action.split(' ');
  page.extra = {};
  switch (verb) {
    case 'undo':
      if (name === 'button') {
        await clickAt(page, '#UndoButton');
      } else {
        await page.keyboard.press(name === 'meta' ? 'Meta+z' : 'Control+z');
      }
      break;
    case 'redo':
      if (name === 'button') {
        await clickAt(page, '#RedoButton');
      } else {
        await page.keyboard.press(name === 'shiftz' ? 'Control+Shift+Z' : 'Control+y');
      }
      break;
    case 'copy':
      await codeCommand(page, name, 'Control+Shift+C', '#CopyCodeButton', 'ビルドコードをコピーしました。');
      page.extra.copied = await page.evaluate(() => navigator.clipboard.readText());
      break;
    case 'paste': {
      const text = action.split(' ').slice(2).join(' ');
      await page.evaluate((text) => navigator.clipboard.writeText(text), text);
      await codeCommand(page, name, 'Control+Shift+V', '#PasteCodeButton', 'ビルドコードの設定を表示しました。');
      break;
    }
    case 'preview': {
      await clickAt(page, '#' + name);
      early = await takeMessages(page);
      await listShown(page, name);
      const row = Number(arg);
      if (how === 'keys') {
        // From the highlighted row with the arrow keys, as far as it takes.
        const from = await page.evaluate((name) => {
          const current = document.querySelector(`#${name}-rows > .current`);
          return current ? Number(current.dataset.row) : 0;
        }, name);
        for (let i = from; i !== row; i += row > from ? 1 : -1) {
          await page.keyboard.press(row > from ? 'ArrowDown' : 'ArrowUp');
        }
      } else {
        await hoverAt(page, `#${name}-rows > [data-row="${row}"]`);
      }
      page.extra.tip = await previewTip(page);
      // The tip stands beside the open rows, not over them, and goes with the list.
      page.extra.tipBeside = page.extra.tip === '' || await page.evaluate((name) => {
        const tip = document.getElementById('preview-tip').getBoundingClientRect();
        const rows = document.getElementById(name + '-rows').getBoundingClientRect();
        return tip.left >= rows.right || tip.right <= rows.left;
      }, name);
      await page.keyboard.press('Escape');
      page.extra.tipGone = (await previewTip(page)) === '';
      break;
    }
    case 'key': {
      // The user reaches the control with the Tab key or a click; then the key.
      const target = name === 'PageControl1' ? '#PageControl1 [role="tablist"]' : '#' + name;
      await page.focus(target);
      await page.keyboard.press(kKeys[arg]);
      break;
    }
    case 'pick':
      await clickAt(page, '#' + name);
      early = await takeMessages(page);
      await listShown(page, name);
      await clickAt(page, `#${name}-rows > [data-row="${arg}"]`);
      break;
    case 'open':
      await clickAt(page, '#' + name);
      early = await takeMessages(page);
      await listShown(page, name);
      await page.keyboard.press('Escape');
      break;
    case 'arrow':
      await clickAt(page, `#${name} .arrow.${arg}`);
      break;
    case 'tab':
      await clickAt(page, `#PageControl1-tab${Number(name) + 1}`);
      break;
    case 'click':
      await clickAt(page, '#' + name);
      break;
    default:
      throw new Error('unknown action ' + action);
  }
  return early;
}

// The selection as the page shows it: every list's row, spinner and page.
export function selection(shown) {
  const picked = {};
  for (const [key, value] of Object.entries(shown)) {
    if (/\.(index|value|page)$/.test(key)) {
      picked[key] = value;
    }
  }
  return picked;
}

// The desktop window's run of the same actions over the same stored settings: the
// messages and the full shown state after the load and after each action (with what a
// copy, a preview or a search answered), and the settings file at the end.
export function runOracle(settings, actions) {
  const folder = mkdtempSync(join(tmpdir(), 'kestrel-oracle-'));
  try {
    const ini = join(folder, 'kestrel-simulator.ini');
    if (settings !== undefined) {
      writeFileSync(ini, typeof settings === 'string' ? Buffer.from(settings, 'latin1') : settings);
    }
    const list = join(folder, 'actions.txt');
    writeFileSync(list, actions.join('\n') + '\n');
    const out = execFileSync(kOraclePath, [ini, list], {
      encoding: 'utf8',
      maxBuffer: 1 << 30,
      env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', XDG_RUNTIME_DIR: folder },
    });
    const steps = [];
    let shown = {};
    for (const line of out.split('\n')) {
      if (line) {
        const step = JSON.parse(line);
        shown = { ...shown, ...step.shown };
        steps.push({ errors: step.errors, shown, copied: step.copied, tip: step.tip, search: step.search });
      }
    }
    let file = null;
    try {
      file = readFileSync(ini);
    } catch (e) {
      file = null;
    }
    return { steps, file };
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// The first differences between two shown states, as lines.
export function differences(expected, actual, limit = 8) {
  const lines = [];
  const keys = new Set([...Object.keys(expected), ...Object.keys(actual)]);
  for (const key of [...keys].sort()) {
    if (expected[key] !== actual[key]) {
      lines.push(`${key}: window ${JSON.stringify(expected[key])}, page ${JSON.stringify(actual[key])}`);
      if (lines.length >= limit) {
        break;
      }
    }
  }
  return lines;
}

// A small seeded generator (mulberry32), so that a failing run can be repeated.
export function seeded(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  return {
    below: (n) => Math.floor(next() * n),
    chance: (percent) => next() * 100 < percent,
    any: (list) => list[Math.floor(next() * list.length)],
  };
}
