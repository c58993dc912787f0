// Times the browser edition in headless Chromium (./dev web-bench) and prints medians:
// - page ready: from the page's first script to the first full render on screen
//   (the frame after the first answer is drawn), over fresh loads from disk;
// - a spinner step, a tab change and a club change through the opened list, each from
//   the input event to the frame that shows it: the event's time stamp to the
//   requestAnimationFrame after the handler (the frame's start) and to the moment after
//   that frame (its paint done), with the handler's own time;
// - the preview: from the key that moves the highlight in an open list to the frame
//   that shows the tip beside the new row (the core's preview of that row included);
// - the size of build-web/kestrel-simulator.html.
//   KESTREL_BENCH_LOADS (default 25) and KESTREL_BENCH_STEPS (default 60) set the counts.

import { readFileSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { clickAt, kPagePath, kRepo, launch, openPage, pageUrl } from '../tests/browser.mjs';

const kLoads = Number(process.env.KESTREL_BENCH_LOADS || 25);
const kSteps = Number(process.env.KESTREL_BENCH_STEPS || 60);

// A selection that uses much of the window, the one of the screenshots: a dressed
// character, cards, a caddie, a club set with counts, a special card.
const kSettings = readFileSync(join(kRepo, 'docs', 'screenshot-settings.ini'), 'utf8');

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};
const ms = (value) => value.toFixed(2).padStart(7) + ' ms';

// In the page: for every mousedown or click on the watched kinds of target, the time
// from the event to the end of its handler, to the next frame's start, and to just
// after that frame.
function watchInputs() {
  window.benchTimes = [];
  const kinds = [['.arrow', 'spinner step'], ['.tab', 'tab change'], ['.row', 'club change']];
  let pending = null;
  const watch = (type) => {
    // First of all listeners (capture on the window) ...
    window.addEventListener(type, (event) => {
      const found = kinds.find(([selector]) => event.target.closest(selector));
      const wanted = found && (found[0] === '.row' ? type === 'click' : type === 'mousedown');
      if (!wanted) {
        return;
      }
      const start = event.timeStamp;
      const record = { kind: found[1] };
      pending = { record, start };
      requestAnimationFrame(() => {
        record.frame = performance.now() - start;
        const channel = new MessageChannel();
        channel.port1.onmessage = () => {
          record.painted = performance.now() - start;
          window.benchTimes.push(record);
        };
        channel.port2.postMessage(0);
      });
    }, true);
    // ... and last of all (bubbling up to the window), after the page's handler.
    window.addEventListener(type, () => {
      if (pending) {
        pending.record.handler = performance.now() - pending.start;
        pending = null;
      }
    });
  };
  watch('mousedown');
  watch('click');
}

const browser = await launch();
try {
  // Page ready, over fresh loads of the file.
  const ready = [];
  const page = await openPage(browser, { settings: kSettings });
  for (let i = 0; i < kLoads; ++i) {
    await page.goto(pageUrl());
    await page.waitForFunction(() => window.kestrelPaintedMs !== undefined);
    ready.push(await page.evaluate(() => window.kestrelPaintedMs));
  }

  await page.evaluate(watchInputs);
  for (let i = 0; i < kSteps; ++i) {
    // Up while it can, then down: every step changes the count.
    const up = Math.floor(i / 20) % 2 === 0;
    await clickAt(page, `#UpDown1 .arrow.${up ? 'up' : 'down'}`);
    await clickAt(page, `#PageControl1-tab${(i % 9) + 2}`);
    await clickAt(page, '#PageControl1-tab1');
    await clickAt(page, '#ComboBox2');
    await clickAt(page, `#ComboBox2-rows > [data-row="${(i * 7) % 42}"]`);
  }
  await page.waitForFunction((n) => window.benchTimes.length >= n, kSteps * 4);
  const times = await page.evaluate(() => window.benchTimes);

  // The preview: the highlight walks down the open lists of equipment, level and clubs
  // with the arrow keys; each key to the painted tip.
  await page.evaluate(() => {
    window.previewTimes = [];
    window.previewHandler = [];
    // After the list's own handler (bubbling up to the window): the highlight and the
    // core's preview done.
    window.addEventListener('keydown', (event) => {
      window.previewHandler.push(performance.now() - event.timeStamp);
    });
    window.addEventListener('keydown', (event) => {
      if (event.key !== 'ArrowDown' && event.key !== 'ArrowUp') {
        return;
      }
      const start = event.timeStamp;
      requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => {
          if (!document.getElementById('preview-tip').hidden) {
            window.previewTimes.push(performance.now() - start);
          }
        };
        channel.port2.postMessage(0);
      });
    }, true);
  });
  let previewLists = 0;
  for (const list of ['ComboBox_BastianTop', 'ComboBox1', 'ComboBox2']) {
    await clickAt(page, '#' + list);
    const rows = await page.evaluate((list) => document.getElementById(list + '-rows').children.length, list);
    for (let i = 0; i < kSteps; ++i) {
      // Down to the end, then back up.
      await page.keyboard.press(Math.floor(i / (rows - 1)) % 2 === 0 ? 'ArrowDown' : 'ArrowUp');
    }
    // Every tip painted before the list closes.
    await page.waitForFunction((n) => window.previewTimes.length >= n, (previewLists + 1) * kSteps);
    previewLists += 1;
    await page.keyboard.press('Escape');
  }
  const previews = await page.evaluate(() => window.previewTimes);
  const previewHandler = await page.evaluate(() => window.previewHandler);

  console.log(`kestrel-simulator.html  ${statSync(kPagePath).size} bytes`);
  console.log(`page ready (first script to the first full render painted), median of ${kLoads}: ` +
              ms(median(ready)));
  console.log('input event to        handler   frame start   frame painted   (medians)');
  for (const kind of ['spinner step', 'tab change', 'club change']) {
    const mine = times.filter((t) => t.kind === kind);
    console.log(`${kind.padEnd(14)} ${String(mine.length).padStart(4)}x  ${ms(median(mine.map((t) => t.handler)))}` +
                `  ${ms(median(mine.map((t) => t.frame)))}    ${ms(median(mine.map((t) => t.painted)))}`);
  }
  console.log(`preview (arrow key to the painted tip), median of ${previews.length}: ` +
              ms(median(previews)) + `; handler with the core's preview ${ms(median(previewHandler))}`);
} finally {
  await browser.close();
}
