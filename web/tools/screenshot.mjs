// Renews docs/web.png: build-web/kestrel-simulator.html opened from disk in headless
// Chromium, over the same stored settings as the desktop screenshot
// (docs/screenshot-settings.ini), clipped to the 633 x 650 form; docs/web-preview.png:
// the same page with the club list open and the tip beside its highlighted row; and
// docs/web-search.png: the build search dialog over it with the answers of a search and
// the trade-off curve.
//   node web/tools/screenshot.mjs [output.png [preview-output.png [search-output.png]]]
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { clickAt, launch, openPage } from '../tests/browser.mjs';

const repo = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const settings = readFileSync(join(repo, 'docs', 'screenshot-settings.ini'), 'utf8');
const output = process.argv[2] || join(repo, 'docs', 'web.png');
const previewOutput = process.argv[3] || join(repo, 'docs', 'web-preview.png');
const searchOutput = process.argv[4] || join(repo, 'docs', 'web-search.png');

const browser = await launch();
try {
  const page = await openPage(browser, { settings, viewport: { width: 960, height: 760 } });
  await page.screenshot({ path: output, clip: { x: 0, y: 0, width: 633, height: 650 } });
  console.log(output);

  // A few rows up from the selected club set, with the keys.
  await clickAt(page, '#ComboBox2');
  for (let i = 0; i < 3; ++i) {
    await page.keyboard.press('ArrowUp');
  }
  await page.locator('#preview-tip').waitFor({ state: 'visible' });
  const tip = await page.locator('#preview-tip').boundingBox();
  const rows = await page.locator('#ComboBox2-rows').boundingBox();
  const right = Math.ceil(Math.max(633, tip.x + tip.width, rows.x + rows.width)) + 4;
  const bottom = Math.ceil(Math.max(650, tip.y + tip.height, rows.y + rows.height)) + 4;
  await page.screenshot({ path: previewOutput, clip: { x: 0, y: 0, width: right, height: bottom } });
  console.log(previewOutput);

  // The highest status sum of the shown character with the upgrade counts, the caddie
  // and the club set free, the second answer picked.
  await page.keyboard.press('Escape');
  await page.setViewportSize({ width: 800, height: 900 });
  await clickAt(page, '#SearchButton');
  await page.selectOption('#SearchObjective', 'sum');
  await clickAt(page, '#SearchFreeNone');
  for (const part of ['Caddie', 'Club', 'PowSlotUp', 'CtrlSlotUp', 'ExaSlotUp', 'SpinSlotUp', 'CurSlotUp',
                      'ClubPowSlotUp', 'ClubCtrlSlotUp', 'ClubExaSlotUp', 'ClubSpinSlotUp', 'ClubCurSlotUp']) {
    await page.check(`#SearchDialog input[data-part="${part}"]`);
  }
  await clickAt(page, '#SearchRun');
  await page.waitForFunction(() => document.getElementById('SearchDialog').dataset.state === 'done');
  await clickAt(page, '#SearchAnswers tr[data-rank="2"]');
  const dialog = await page.locator('#SearchDialog').boundingBox();
  await page.screenshot({ path: searchOutput, clip: dialog });
  console.log(searchOutput);
} finally {
  await browser.close();
}
