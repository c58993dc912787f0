// The page's search dialog held to the core's description, an older answer that no
// longer applies, and the touch layout's sizes, contrast and cards.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { clickAt, kRepo, launch, openPage, searchEnded } from './browser.mjs';
import { tapAt } from './touch.mjs';

const axePath = createRequire(import.meta.url).resolve('axe-core');
const kSettings = readFileSync(join(kRepo, 'docs', 'screenshot-settings.ini'), 'utf8');
const browser = await launch();
test.after(() => browser.close());

// A small search with answers and a curve: a few parts free, the status sum.
async function searchSmall(page, click) {
  await click(page, '#SearchFreeNone');
  for (const part of ['Ring', 'Caddie', 'Club', 'PowSlotUp', 'ClubPowSlotUp']) {
    await click(page, `#SearchFree_${part}`);
  }
  await page.selectOption('#SearchObjective', 'sum');
  await click(page, '#SearchRun');
  await searchEnded(page);
}

test('the dialog holds the controls of the description, with their captions, hints and limits', async () => {
  const page = await openPage(browser, { settings: kSettings });
  await clickAt(page, '#SearchButton');
  const mismatches = await page.evaluate(() => {
    const form = JSON.parse(window.kestrel.core.searchForm());
    const wrong = [];
    const text = (e) => (e.tagName === 'INPUT' ? e.parentElement.textContent : e.textContent).trim();
    for (const c of form.controls) {
      const found = document.querySelectorAll(`#SearchDialog [id="${c.name}"]`);
      if (found.length !== 1) {
        wrong.push(`${c.name}: ${found.length} elements`);
        continue;
      }
      const e = found[0];
      const hint = e.getAttribute('title') || '';
      if (c.kind !== 'PartRow' && c.kind !== 'Section' && hint !== c.hint) {
        wrong.push(`${c.name}: hint ${hint}`);
      }
      if ((c.kind === 'Button' || c.kind === 'Toggle') && text(e) !== c.caption) {
        wrong.push(`${c.name}: caption ${text(e)}`);
      }
      if (c.kind === 'Number' && (Number(e.min) !== c.limit.low || Number(e.max) !== c.limit.high ||
                                  e.disabled !== (c.switch !== ''))) {
        wrong.push(`${c.name}: ${e.min}..${e.max}`);
      }
      if (c.kind === 'Choice' && [...e.options].slice(1).map((o) => o.textContent).join() !== c.choices.slice(1).join()) {
        wrong.push(`${c.name}: choices`);
      }
    }
    for (const p of form.parts) {
      if (!document.getElementById('SearchFree_' + p.key)) {
        wrong.push(`part ${p.key}`);
      }
    }
    const heads = [...document.querySelectorAll('#SearchAnswers th')].map((th) => th.textContent);
    if (heads.join() !== form.columns.join()) {
      wrong.push(`columns ${heads}`);
    }
    return wrong;
  });
  assert.deepEqual(mismatches, []);
  assert.deepEqual(page.failures, []);
  await page.context().close();
});

test('an answer of an older query is greyed and no longer applies; a new search clears it', async () => {
  const page = await openPage(browser, { settings: kSettings });
  await clickAt(page, '#SearchButton');
  await searchSmall(page, clickAt);
  const code = () => page.evaluate(() => window.kestrel.core.shareCode());
  const before = await code();
  await page.check('#SearchMinOn_ctrl');
  assert.equal(await page.evaluate(() => document.getElementById('SearchDialog').classList.contains('stale')), true);
  assert.equal(await page.isDisabled('#SearchApply'), true);
  await page.dblclick('#SearchAnswers tbody tr[data-code]');
  assert.equal(await code(), before, 'a double-click applies nothing');
  await page.uncheck('#SearchMinOn_ctrl');
  await clickAt(page, '#SearchRun');
  assert.equal(await page.evaluate(() => document.getElementById('SearchDialog').classList.contains('stale')), false);
  await searchEnded(page);
  await page.dblclick('#SearchAnswers tbody tr[data-code]');
  assert.notEqual(await code(), before, 'the new answer applies');
  // The minimums that are off show the figures of the build applied.
  const shown = await page.evaluate(() => [document.getElementById('SearchMin_pow').value,
                                           document.getElementById('Label_LastPow').textContent]);
  assert.equal(shown[0], shown[1]);
  assert.deepEqual(page.failures, []);
  await page.context().close();
});

test('on a phone: one column, 44 px targets, 14 px text, contrast; a card tapped and applied', async () => {
  const page = await openPage(browser, { settings: kSettings, touch: true, viewport: { width: 375, height: 740 } });
  await page.waitForFunction(() => document.documentElement.classList.contains('touch'));
  await tapAt(page, '#SearchButton');
  await searchSmall(page, tapAt);
  const faults = await page.evaluate(() => {
    const dialog = document.getElementById('SearchDialog');
    const wrong = [];
    const width = document.documentElement.clientWidth;
    const targets = dialog.querySelectorAll('button, select, input[type=number], label.part, label.toggle, ' +
                                            '#SearchAnswers tbody tr, #SearchCurve .hit');
    for (const e of targets) {
      const box = e.getBoundingClientRect();
      if (box.width === 0) {
        continue;
      }
      if (box.width < 43.5 || box.height < 43.5) {
        wrong.push(`${e.id || e.className.baseVal || e.className || e.tagName} ${box.width}x${box.height}`);
      }
      if (box.right > width + 0.5) {
        wrong.push(`${e.id || e.tagName} past the screen's edge`);
      }
    }
    const walker = document.createTreeWalker(dialog, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const parent = node.parentElement;
      if (!node.textContent.trim() || parent.closest('[hidden], thead, option')) {
        continue;
      }
      let size = parseFloat(getComputedStyle(parent).fontSize);
      const svg = parent.closest('svg');
      if (svg) {
        size *= svg.getBoundingClientRect().width / svg.viewBox.baseVal.width;
      }
      if (size < 13.95) {
        wrong.push(`"${node.textContent.trim().slice(0, 12)}" at ${size.toFixed(1)} px`);
      }
    }
    return wrong;
  });
  assert.deepEqual(faults, []);
  await page.addScriptTag({ path: axePath });
  const looks = await page.evaluate(() => window.axe.run('#SearchDialog', { runOnly: ['color-contrast', 'target-size'] }));
  assert.deepEqual(looks.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`), []);
  // A card tapped shows its changes with the touch hint; 適用 shows it in the form.
  const before = await page.evaluate(() => window.kestrel.core.shareCode());
  await tapAt(page, '#SearchAnswers tbody tr[data-code]:nth-child(3)');
  assert.match(await page.textContent('#SearchDialog .changes .heading'), /「適用」で適用/);
  assert.doesNotMatch(await page.textContent('#SearchDialog .changes .heading'), /ダブルクリック/);
  await tapAt(page, '#SearchApply');
  assert.notEqual(await page.evaluate(() => window.kestrel.core.shareCode()), before);
  assert.deepEqual(page.failures, []);
  await page.context().close();
});
