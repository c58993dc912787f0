// The page audit: Lighthouse (pinned in web/package-lock.json) with the system's
// Chromium on build-web/kestrel-simulator.html served from its folder by a small static
// server on the loopback address, once as a desktop (the full-width form) and once as a
// phone (412 pixels wide, touch: the touch layout). Prints each category's score and
// every audit that did not pass; fails when accessibility on the phone is below 0.95 or
// best practices anywhere below 1.
//   node web/tools/audit.mjs [--json folder]
import { createServer } from 'node:http';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, extname, join, normalize } from 'node:path';
import { fileURLToPath } from 'node:url';
import lighthouse from 'lighthouse';
import desktopConfig from 'lighthouse/core/config/desktop-config.js';
import { launch as launchChrome } from 'chrome-launcher';

const repo = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const folder = join(repo, 'build-web');
const jsonAt = process.argv.indexOf('--json');
const jsonFolder = jsonAt > 0 ? process.argv[jsonAt + 1] : null;

const kTypes = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css' };

// Files of the folder only, read as they are asked for.
function serve(root) {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(root, path);
    if (!file.startsWith(root + '/')) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = readFileSync(file);
      response.writeHead(200, { 'content-type': kTypes[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch (e) {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const kCategories = ['accessibility', 'best-practices'];
const kTargets = {
  desktop: { 'best-practices': 1 },
  phone: { accessibility: 0.95, 'best-practices': 1 },
};

const server = await serve(folder);
const url = `http://127.0.0.1:${server.address().port}/kestrel-simulator.html`;
const chrome = await launchChrome({
  chromePath: process.env.CHROME_PATH || '/usr/bin/chromium',
  chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
                '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const missed = [];
try {
  for (const [form, config] of [['desktop', desktopConfig], ['phone', undefined]]) {
    const result = await lighthouse(url, {
      port: chrome.port,
      output: 'json',
      logLevel: 'error',
      onlyCategories: kCategories,
    }, config);
    const lhr = result.lhr;
    if (lhr.runtimeError) {
      throw new Error(`${form}: ${lhr.runtimeError.code} ${lhr.runtimeError.message}`);
    }
    if (jsonFolder) {
      mkdirSync(jsonFolder, { recursive: true });
      writeFileSync(join(jsonFolder, `audit-${form}.json`), result.report);
    }
    const scores = kCategories.map((c) => `${c} ${lhr.categories[c].score.toFixed(2)}`).join(', ');
    console.log(`${form} (${lhr.configSettings.screenEmulation.width} px): ${scores}`);
    for (const category of kCategories) {
      for (const ref of lhr.categories[category].auditRefs) {
        const audit = lhr.audits[ref.id];
        if (ref.weight > 0 && audit.score !== null && audit.score < 1) {
          console.log(`  ${category}: ${audit.id} (${audit.score}): ${audit.title}`);
          for (const item of (audit.details && audit.details.items || []).slice(0, 6)) {
            const node = item.node || (item.subItems && item.subItems.items[0] && item.subItems.items[0].node);
            const what = node ? `${node.selector} ${node.explanation || ''}` : JSON.stringify(item);
            console.log(`      ${what.replace(/\s+/g, ' ').slice(0, 240)}`);
          }
        }
      }
      const target = kTargets[form][category];
      if (target !== undefined && lhr.categories[category].score < target) {
        missed.push(`${form} ${category} ${lhr.categories[category].score} < ${target}`);
      }
    }
  }
} finally {
  await chrome.kill();
  server.close();
}
if (missed.length > 0) {
  console.log('below the targets: ' + missed.join('; '));
  process.exit(1);
}
