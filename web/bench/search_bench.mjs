// Times the build search in the page (headless Chromium, the page opened from disk):
// every query of bench/search-queries.json, from the native benchmark's selection
// (bench/representative_selection.h, as its build code), through the dialog's own
// worker, and prints the medians and the slowest query:
// - search: the search inside the worker (the core's searchJson), what compares with the
//   native benchmark of the same queries;
// - answered: from the query posted to the answer back on the page.
// With build/cli/kestrel-cli built, each query also runs natively through it (its
// process start included) for a ratio on this machine.
//   node web/bench/search_bench.mjs [queries.json]
//   KESTREL_BENCH_SEARCH_RUNS (default 3) runs of each query; its median counts.
//   KESTREL_SEARCH_CAP_MS (default 2000, as natively): a query still running after three
//   times the cap is cancelled and counted as unfinished.

import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { performance } from 'node:perf_hooks';
import { kRepo, launch, openPage } from '../tests/browser.mjs';

const kRuns = Number(process.env.KESTREL_BENCH_SEARCH_RUNS || 3);
const kQueries = process.argv[2] || join(kRepo, 'bench', 'search-queries.json');
const kCliPath = join(kRepo, 'build', 'cli', 'kestrel-cli');
const kCapMs = 3 * Number(process.env.KESTREL_SEARCH_CAP_MS || 2000);
// The code of RepresentativeSelection() after its club change: the native benchmark's
// selection.
const kBuild = 'B0bSsiJEJFVIqn1XDEEMSUIhFVIqn1XDEEMiJIRVVRVPquGIIZJEIiqpFU-q4YghkiSEVVUVT6rhiCGRKEQkUqRV' +
               'PquGIIaQkQoqqKp9VwxBDJQiEVVRVPquGIIaiIhFVFU-q4YghrJFRVPquGIIQAADI0gAAAClDP';

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};
const ms = (value) => value.toFixed(2).padStart(8) + ' ms';
const slowest = (rows, key) => rows.reduce((a, b) => (b[key] > a[key] ? b : a));

const queries = JSON.parse(readFileSync(kQueries, 'utf8'));
const browser = await launch();
const rows = [];
try {
  const page = await openPage(browser);
  await page.evaluate(() => window.kestrel.search.open());
  const folder = mkdtempSync(join(tmpdir(), 'kestrel-search-bench-'));
  try {
    for (const [i, q] of queries.entries()) {
      const text = JSON.stringify({ ...q, build: kBuild });
      const runs = [];
      for (let r = 0; r < kRuns; ++r) {
        runs.push(await page.evaluate(({ text, cap }) => {
          const search = window.kestrel.search;
          const timer = setTimeout(search.cancel, cap);
          return search.run(text).then((last) => {
            clearTimeout(timer);
            return last;
          });
        }, { text, cap: kCapMs }));
        if (!runs[r].answer) {
          break;
        }
      }
      if (!runs[runs.length - 1].answer) {
        console.log(`#${i} unfinished after ${kCapMs} ms: ${JSON.stringify(q)}`);
        rows.push({ index: i, query: q, unfinished: true, search: kCapMs, answered: kCapMs, nodes: 0 });
        continue;
      }
      const row = {
        index: i,
        query: q,
        search: median(runs.map((run) => run.run.searchMs)),
        answered: median(runs.map((run) => run.run.ms)),
        nodes: runs[0].answer.nodes,
      };
      if (existsSync(kCliPath)) {
        const file = join(folder, 'query.json');
        writeFileSync(file, text);
        const times = [];
        for (let r = 0; r < kRuns; ++r) {
          const from = performance.now();
          execFileSync(kCliPath, ['search', file]);
          times.push(performance.now() - from);
        }
        row.native = median(times);
      }
      rows.push(row);
    }
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
} finally {
  await browser.close();
}

const describe = (row) => `#${row.index} ${JSON.stringify(row.query)} (${row.nodes} nodes)`;
const unfinished = rows.filter((r) => r.unfinished).length;
console.log(`${rows.length} queries, median of ${kRuns} runs each, from the native benchmark's selection; ` +
            `${unfinished} unfinished after ${kCapMs} ms (counted at the cap)`);
console.log(`search in the worker   median ${ms(median(rows.map((r) => r.search)))}   slowest ${ms(slowest(rows, 'search').search)}  ${describe(slowest(rows, 'search'))}`);
console.log(`query to answer        median ${ms(median(rows.map((r) => r.answered)))}   slowest ${ms(slowest(rows, 'answered').answered)}`);
console.log(`nodes                  median ${median(rows.map((r) => r.nodes))}`);
const finished = rows.filter((r) => !r.unfinished);
if (finished.length > 0 && finished.every((r) => r.native !== undefined)) {
  const ratios = finished.map((r) => r.search / r.native);
  console.log(`kestrel-cli (process)  median ${ms(median(finished.map((r) => r.native)))}   slowest ${ms(slowest(finished, 'native').native)}`);
  console.log(`page / kestrel-cli     median ${median(ratios).toFixed(2)}x   largest ${Math.max(...ratios).toFixed(2)}x`);
}
