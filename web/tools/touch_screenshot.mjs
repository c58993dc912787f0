// Renews docs/touch.png: the page in the touch layout on a 390 x 844 phone screen, over
// the same stored settings as the desktop screenshot (docs/screenshot-settings.ini); and
// docs/touch-sheet.png: the caddie list open as a sheet, each row with what picking it
// would change.
//   node web/tools/touch_screenshot.mjs [page-output.png [sheet-output.png]]
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { launch, openPage } from '../tests/browser.mjs';
import { tapAt } from '../tests/touch.mjs';

const repo = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const settings = readFileSync(join(repo, 'docs', 'screenshot-settings.ini'), 'utf8');
const output = process.argv[2] || join(repo, 'docs', 'touch.png');
const sheetOutput = process.argv[3] || join(repo, 'docs', 'touch-sheet.png');

const browser = await launch();
try {
  const page = await openPage(browser, { settings, touch: true });
  await page.screenshot({ path: output });
  console.log(output);

  await tapAt(page, '#ComboBox3');
  await page.waitForFunction(() => document.getElementById('ComboBox3').classList.contains('open'));
  await page.screenshot({ path: sheetOutput });
  console.log(sheetOutput);
} finally {
  await browser.close();
}
