// Renews docs/firefox.png and docs/webkit.png: build-web/kestrel-simulator.html opened
// from disk in Firefox and in WebKit (MiniBrowser), over the same stored settings as the
// other pictures (docs/screenshot-settings.ini): the form and the bar below it.
//   node web/tools/engine_screenshots.mjs [docs folder]
import { readFileSync, writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { kStoreKey, pageUrl } from '../tests/browser.mjs';
import { launchEngine } from '../tests/engines.mjs';

const repo = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const settings = readFileSync(join(repo, 'docs', 'screenshot-settings.ini'), 'latin1');
const folder = process.argv[2] || join(repo, 'docs');

for (const engine of ['firefox', 'webkit']) {
  const page = await launchEngine(engine, { width: 650, height: 730 });
  try {
    await page.open(pageUrl());
    await page.evaluate(([key, text]) => localStorage.setItem(key, text), [kStoreKey, settings]);
    await page.goto('about:blank');
    await page.open(pageUrl());
    // As tall as the page, so that the whole bar shows.
    const height = await page.evaluate(() => document.documentElement.scrollHeight);
    await page.setViewport(650, height);
    const output = join(folder, engine + '.png');
    writeFileSync(output, await page.screenshot());
    console.log(output);
  } finally {
    await page.close();
  }
}
