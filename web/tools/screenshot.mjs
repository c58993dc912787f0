// Renews docs/web.png: build-web/kestrel-simulator.html opened from disk in headless
// Chromium, over the same stored settings as the desktop screenshot (the settings text
// of docs/make-screenshot.sh), clipped to the 633 x 650 form.
//   node web/tools/screenshot.mjs [output.png]
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { launch, openPage } from '../tests/browser.mjs';

const repo = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const script = readFileSync(join(repo, 'docs', 'make-screenshot.sh'), 'utf8');
const found = script.match(/<<'INI'\n([\s\S]*?)\nINI\n/);
if (!found) {
  throw new Error('docs/make-screenshot.sh holds no settings text');
}
const output = process.argv[2] || join(repo, 'docs', 'web.png');

const browser = await launch();
try {
  const page = await openPage(browser, { settings: found[1] + '\n' });
  await page.screenshot({ path: output, clip: { x: 0, y: 0, width: 633, height: 650 } });
  console.log(output);
} finally {
  await browser.close();
}
