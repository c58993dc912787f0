// The stored settings and the share links of the page: import and export against the
// desktop window's load and save, the close, a storage that refuses writes, a share link
// in a new page, damaged links; and the page itself: hint timing, ids and
// accessible names, scaling on a narrow screen, the licence.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  differences, kStoreKey, launch, openPage, perform, runOracle, selection, shownState,
  storedBytes, takeMessages, clickAt, pageUrl, kRepo,
} from './browser.mjs';

const browser = await launch();
test.after(() => browser.close());

// Written on Windows: CRLF, Shift-JIS in a section of the user's own, hexadecimal and
// padded values, the older ring key and the older club layout (no per-club sections).
const kWindowsFile = Buffer.concat([
  Buffer.from('[Window]\r\nLeft=$20\r\nTop=0x10\r\n[Character]\r\nLevel= $C \r\nTabIndex=0x0\r\n' +
              'CrimsonRing=1\r\n[Bastian]\r\nTop=4\r\nShoes=0x6\r\nCharaCard1=3\r\nPowSlotUp=6\r\n' +
              '[Caddie]\r\nCaddie=3\r\n[Club]\r\nClub=7\r\nPowSlotUp=2\r\nCtrlSlotUp=1\r\n', 'latin1'),
  Buffer.from([0x5b, 0x83, 0x81, 0x83, 0x82, 0x5d, 0x0d, 0x0a]),  // [メモ]
  Buffer.from('Note=', 'latin1'),
  Buffer.from([0x83, 0x65, 0x83, 0x58, 0x83, 0x67, 0x0d, 0x0a]),  // テスト
]);

const kStored = '[Character]\r\nLevel=3\r\nTabIndex=0\r\n[Noemi]\r\nShoes=2\r\n[Club]\r\nClub=5\r\n' +
                '[Club5]\r\nPowSlotUp=1\r\n[Notes]\r\nMine=keep me\r\n';

async function importFile(page, name, bytes) {
  const [chooser] = await Promise.all([
    page.waitForEvent('filechooser'),
    clickAt(page, '#ImportButton'),
  ]);
  await chooser.setFiles({ name, mimeType: 'application/octet-stream', buffer: bytes });
  await page.waitForFunction(() => document.getElementById('ToolStatus').textContent !== '');
}

function assertSameShown(expected, actual, what) {
  const diff = differences(expected, actual);
  assert.ok(diff.length === 0, `${what}:\n  ${diff.join('\n  ')}`);
}

test('import of a Windows-written file: stored as it is, shown as the window loads it', async () => {
  const page = await openPage(browser);
  await importFile(page, 'kestrel-simulator.ini', kWindowsFile);
  assert.deepEqual(await takeMessages(page), []);
  assert.deepEqual(await storedBytes(page), kWindowsFile);
  const window = runOracle(kWindowsFile, []);
  assertSameShown(window.steps[0].shown, await shownState(page), 'after the import');
  assert.match(await page.textContent('#ToolStatus'), /を読み込みました/);
  await page.context().close();
});

test('import of a file whose load stops: the message, then the stored settings again', async () => {
  const page = await openPage(browser, { settings: kStored });
  const broken = Buffer.from('[Character]\r\nLevel=5\r\n[Bastian]\r\nPowSlotUp=40000\r\n', 'latin1');
  await importFile(page, 'broken.ini', broken);
  assert.deepEqual(await takeMessages(page), ['範囲チェックエラー.']);
  assert.deepEqual(await storedBytes(page), Buffer.from(kStored, 'latin1'));
  const window = runOracle(kStored, []);
  assertSameShown(window.steps[0].shown, await shownState(page), 'back on the stored settings');
  assert.match(await page.textContent('#ToolStatus'), /読み込めませんでした/);
  await page.context().close();
});

test('export after a save is byte for byte the desktop save of the same selection', async () => {
  const actions = ['tab 1', 'pick ComboBox_NoemiShoes 3', 'arrow UpDown6 up', 'arrow UpDown6 up',
                   'pick ComboBox2 9', 'arrow UpDown_Club1 up', 'key ComboBox1 Down',
                   'pick cbSpecialCard 2', 'click Button1'];
  const page = await openPage(browser, { settings: kStored });
  for (const action of actions) {
    await perform(page, action);
    assert.deepEqual(await takeMessages(page), [], action);
  }
  const [download] = await Promise.all([page.waitForEvent('download'), clickAt(page, '#ExportButton')]);
  assert.equal(download.suggestedFilename(), 'kestrel-simulator.ini');
  const exported = readFileSync(await download.path());
  const window = runOracle(kStored, actions);
  assert.ok(window.file.length > kStored.length, 'the desktop saved');
  assert.deepEqual(exported, window.file);
  assert.deepEqual(await storedBytes(page), window.file);
  await page.context().close();
});

test('hiding the page writes what closing the window writes', async () => {
  const stored = '[Window]\r\nLeft=77\r\nTop=55\r\n' + kStored;
  const actions = ['tab 4', 'arrow UpDown21 up'];  // the count is not saved: not written
  const page = await openPage(browser, { settings: stored });
  const context = page.context();
  for (const action of actions) {
    await perform(page, action);
  }
  // The user turns to another tab: the browser hides the page (as it does, before it
  // goes, for a page that is closed).
  await page.evaluate(() => {
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => 'hidden' });
    document.dispatchEvent(new Event('visibilitychange'));
    delete document.visibilityState;
  });
  const reader = page;
  const after = Buffer.from(await reader.evaluate((key) => localStorage.getItem(key), kStoreKey),
                            'latin1');
  const window = runOracle(stored, [...actions, 'close']);
  assert.deepEqual(after, window.file);
  assert.match(after.toString('latin1'), /TabIndex=4/);
  assert.match(after.toString('latin1'), /Left=77\nTop=55/);
  // Loaded again, the settings start on that page with the count as it was saved.
  await perform(page, 'tab 0');
  await perform(page, 'click Button2');
  assert.equal(await page.textContent('#Edit21'), '0');
  assert.equal(await page.getAttribute('#PageControl1-tab5', 'aria-selected'), 'true');
  await context.close();
});

test('a storage that refuses the write: the message, the stored text kept', async () => {
  // Full: the storage is filled up to its quota first.
  const page = await openPage(browser, { settings: kStored });
  await page.evaluate(() => {
    let chunk = 'x'.repeat(1 << 20);
    for (let i = 0; chunk.length > 0; ++i) {
      try {
        localStorage.setItem('filler' + i, chunk);
      } catch (e) {
        chunk = chunk.slice(0, chunk.length >> 1);
      }
    }
  });
  await perform(page, 'arrow UpDown1 up');
  await perform(page, 'click Button1');
  assert.deepEqual(await takeMessages(page), ['kestrel-simulator.ini に書き込めません.']);
  assert.deepEqual(await storedBytes(page), Buffer.from(kStored, 'latin1'));
  assert.equal(await page.textContent('#Edit1'), '1', 'the selection stays as it was');
  await page.context().close();

  // Disabled: every use of the storage throws; the page still works on defaults.
  const context = await browser.newContext();
  await context.addInitScript(() => {
    Object.defineProperty(window, 'localStorage', {
      get() {
        throw new DOMException('storage is disabled', 'SecurityError');
      },
    });
  });
  const disabled = await context.newPage();
  disabled.failures = [];
  disabled.on('pageerror', (error) => disabled.failures.push(error.message));
  await disabled.goto(pageUrl());
  await disabled.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  await perform(disabled, 'click Button1');
  assert.deepEqual(await takeMessages(disabled), ['kestrel-simulator.ini に書き込めません.']);
  assert.deepEqual(disabled.failures, []);
  await context.close();
});

// ---- Share links -------------------------------------------------------------------

async function shareLink(page) {
  await clickAt(page, '#ShareButton');
  await page.waitForFunction(() => document.getElementById('ToolStatus').textContent !== '');
  return page.inputValue('#ShareLink');
}

test('a share link opened in a new page shows its build until the user saves', async () => {
  const rich = '[Character]\nLevel=9\nTabIndex=2\n[Tatsurou]\nShoes=1\nPowSlotUp=4\n[Club]\nClub=12\n';
  const first = await openPage(browser, { settings: rich });
  await perform(first, 'tab 0');
  await perform(first, 'pick ComboBox_BastianTop 2');
  const url = await shareLink(first);
  const expected = await shownState(first);
  await first.context().close();

  const page = await openPage(browser, { settings: kStored, hash: '#' + url.split('#')[1] });
  assert.deepEqual(await takeMessages(page), []);
  assert.deepEqual(selection(await shownState(page)), selection(expected));
  assert.deepEqual(await storedBytes(page), Buffer.from(kStored, 'latin1'));
  // Closing the page writes nothing while the build is not saved.
  await page.evaluate(() => window.dispatchEvent(new Event('pagehide')));
  assert.deepEqual(await storedBytes(page), Buffer.from(kStored, 'latin1'));
  await perform(page, 'click Button1');
  const saved = await storedBytes(page);
  assert.notDeepEqual(saved, Buffer.from(kStored, 'latin1'));
  assert.match(saved.toString('latin1'), /Mine=keep me/);
  await page.context().close();
});

test('a damaged link: a clear message, the stored settings shown', async () => {
  const page = await openPage(browser, { settings: kStored });
  const code = (await shareLink(page)).split('#')[1];
  await page.context().close();
  const window = runOracle(kStored, []);
  const damaged = code.slice(0, 5) + (code[5] === 'A' ? 'B' : 'A') + code.slice(6);
  const cases = [
    [damaged, '共有リンクのビルドコードが壊れています.'],
    [code.slice(0, -1), '共有リンクのビルドコードが壊れています.'],
    ['%E3%81%82', '共有リンクのビルドコードが壊れています.'],
  ];
  for (const [hash, message] of cases) {
    const opened = await openPage(browser, { settings: kStored, hash: '#' + hash });
    assert.equal(await opened.textContent('#message-title'), 'Kestrel Status Simulator');
    assert.deepEqual(await takeMessages(opened), [message], hash);
    assertSameShown(window.steps[0].shown, await shownState(opened), 'the stored settings');
    assert.deepEqual(await storedBytes(opened), Buffer.from(kStored, 'latin1'));
    await opened.context().close();
  }
});

// ---- The page itself -------------------------------------------------------------

test('hints show after 50 ms, stay 3000 ms and break lines at CR', async () => {
  const page = await openPage(browser, { settings: kStored });
  await page.evaluate(() => {
    const hint = document.getElementById('hint');
    window.hintTimes = {};
    document.getElementById('Label13').addEventListener('mouseover', () => {
      window.hintTimes.over = performance.now();
    });
    let wasHidden = hint.hidden;
    new MutationObserver(() => {
      if (hint.hidden !== wasHidden) {
        wasHidden = hint.hidden;
        window.hintTimes[hint.hidden ? 'hidden' : 'shown'] = performance.now();
      }
    }).observe(hint, { attributes: true, attributeFilter: ['hidden'] });
  });
  const box = await page.locator('#Label13').boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.waitForFunction(() => window.hintTimes.hidden !== undefined, null, { timeout: 8000 });
  const times = await page.evaluate(() => window.hintTimes);
  const text = await page.textContent('#hint');
  assert.ok(times.shown - times.over >= 49, `shown after ${times.shown - times.over} ms`);
  assert.ok(times.shown - times.over < 1000, `shown after ${times.shown - times.over} ms`);
  assert.ok(times.hidden - times.shown >= 2999, `hidden after ${times.hidden - times.shown} ms`);
  assert.ok(times.hidden - times.shown < 4000, `hidden after ${times.hidden - times.shown} ms`);
  assert.equal(text.split('\n').length, 3);
  assert.match(text, /^パワーが1増えるごとに/);
  assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById('Label13')).cursor), 'help');
  await page.context().close();
});

test('every named widget has its id, every control its accessible name', async () => {
  const page = await openPage(browser);
  const missing = await page.evaluate(() => {
    const problems = [];
    for (const w of window.kestrel.widgets) {
      const e = w.name && document.getElementById(w.name);
      if (w.name && !e) {
        problems.push('no element ' + w.name);
      }
      if (['List', 'Spinner', 'Button', 'PageControl'].includes(w.kind)) {
        if (!w.accessibleName || e.getAttribute('aria-label') !== w.accessibleName) {
          problems.push('no accessible name on ' + w.name);
        }
      }
      if (w.kind === 'Spinner' && !document.getElementById(w.editName)) {
        problems.push('no number box ' + w.editName);
      }
    }
    return problems;
  });
  assert.deepEqual(missing, []);
  await page.context().close();
});

test('on a narrow screen, the touch layout turned off, the whole form scales down and keeps its layout', async () => {
  const wide = await openPage(browser);
  const layout = (p) => p.evaluate(() => ['ComboBox2', 'Label67', 'UpDown1', 'Button1'].map((id) => {
    const e = document.getElementById(id);
    return [e.offsetLeft, e.offsetTop, e.offsetWidth];
  }));
  const full = await layout(wide);
  await wide.context().close();
  const narrow = await openPage(browser, { viewport: { width: 360, height: 640 } });
  await narrow.click('#TouchLayoutButton');
  assert.deepEqual(await layout(narrow), full);
  const box = await narrow.locator('#Form1').boundingBox();
  assert.ok(Math.abs(box.width - 360) < 1.5, `form drawn ${box.width} wide`);
  assert.ok(Math.abs(box.height - 650 * 360 / 633) < 1.5, `form drawn ${box.height} high`);
  // Still usable: a pick through the scaled list.
  await perform(narrow, 'pick ComboBox1 4');
  assert.equal(await narrow.textContent('#ComboBox1 .list-text'), 'アマチュア');
  await narrow.context().close();
});

test('the bar names the licence, and its link shows the text of LICENSE in the page', async () => {
  const page = await openPage(browser);
  const url = page.url();
  assert.equal(await page.textContent('#LicenseButton'), 'MIT ライセンス');
  await clickAt(page, '#LicenseButton');
  assert.equal(await page.evaluate(() => document.getElementById('LicenseDialog').open), true);
  assert.equal(await page.textContent('#LicenseText'),
               readFileSync(join(kRepo, 'LICENSE'), 'utf8').trimEnd());
  assert.equal(page.url(), url, 'no navigation: the text is inside the page');
  await clickAt(page, '#LicenseClose');
  assert.equal(await page.evaluate(() => document.getElementById('LicenseDialog').open), false);
  assert.deepEqual(page.failures, []);
  await page.context().close();
});
