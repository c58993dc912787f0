// Renews docs/web.png: build-web/kestrel-simulator.html opened from disk in headless
// Chromium, over the same stored settings as the desktop screenshot
// (docs/screenshot-settings.ini), clipped to the 633 x 650 form.
//   node web/tools/screenshot.mjs [output.png]
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { launch, openPage } from '../tests/browser.mjs';

const repo = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const settings = readFileSync(join(repo, 'docs', 'screenshot-settings.ini'), 'utf8');
const output = process.argv[2] || join(repo, 'docs', 'web.png');

const browser = await launch();
try {
  const page = await openPage(browser, { settings });
  await page.screenshot({ path: output, clip: { x: 0, y: 0, width: 633, height: 650 } });
  console.log(output);
} finally {
  await browser.close();
}
