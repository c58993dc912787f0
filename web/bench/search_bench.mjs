// Times the build search in the page (headless Chromium, the page opened from disk):
// every query of bench/search-queries.json, from the native benchmark's selection
// (bench/representative_selection.h, as its build code), or of another file of queries
// (the random goals of bench_search_random --emit), each from its own "build" where it
// has one, through the dialog's own worker, and prints the medians and the slowest query:
// - search: the search inside the worker (the core's searchJson), what compares with the
//   native benchmark of the same queries;
// - answered: from the query posted to the answer back on the page.
// With build/bench/bench_search built, the native benchmark runs first over the same
// queries, and the report adds the ratio of the page's time to the native one for every
// query both finished (the target: at most 3). The page searches on one thread, the
// native benchmark on one per core; with KESTREL_BENCH_NATIVE_THREADS=1 both walk alike
// and the report also checks that both visited as many nodes.
//   node web/bench/search_bench.mjs [queries.json]
//   KESTREL_BENCH_SEARCH_RUNS (default 3) runs of each query; its median counts.
//   KESTREL_SEARCH_CAP_MS (default 2000, as natively): a query still running after three
//   times the cap is cancelled and reported as unfinished; medians and the slowest are
//   over the finished queries, as natively.

import { execFileSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { kRepo, launch, openPage } from '../tests/browser.mjs';

const kRuns = Number(process.env.KESTREL_BENCH_SEARCH_RUNS || 3);
const kQueries = process.argv[2] || join(kRepo, 'bench', 'search-queries.json');
const kNativePath = join(kRepo, 'build', 'bench', 'bench_search');
const kCapMs = 3 * Number(process.env.KESTREL_SEARCH_CAP_MS || 2000);
const kNativeThreads = Number(process.env.KESTREL_BENCH_NATIVE_THREADS || 0);
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

// The native benchmark's line per query, in the file's order: its median or
// "unfinished", and its nodes.
let native = null;
if (existsSync(kNativePath)) {
  const out = execFileSync(kNativePath, [`--runs=${kRuns}`, `--threads=${kNativeThreads}`, kQueries], {
    encoding: 'utf8',
    maxBuffer: 1 << 26,
    env: { ...process.env, KESTREL_SEARCH_CAP_MS: String(kCapMs / 3) },
  });
  native = out.split('\n').filter((line) => line.startsWith('{')).map((line) => {
    const [median, nodes] = line.slice(line.lastIndexOf('}') + 1).trim().split(/\s+/);
    return { ms: median === 'unfinished' ? null : Number(median), nodes: Number(nodes) };
  });
  if (native.length !== queries.length) {
    throw new Error(`bench_search answered ${native.length} of ${queries.length} queries`);
  }
}

const browser = await launch();
const rows = [];
try {
  const page = await openPage(browser);
  // One untimed search first: the engine compiles the module's hot code fully only once
  // it has run a while, which a user's first search pays once.
  await page.evaluate((text) => {
    window.kestrel.search.open();
    return window.kestrel.search.run(text);
  }, JSON.stringify({ build: kBuild, ...queries[0] }));
  for (const [i, q] of queries.entries()) {
    const text = JSON.stringify({ build: kBuild, ...q });
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
      // A search stopped at the cap keeps the answers it found, but has no run: unfinished.
      if (!runs[r].answer || !runs[r].run) {
        break;
      }
    }
    const row = { index: i, query: q, native: native && native[i] };
    if (runs[runs.length - 1].answer && runs[runs.length - 1].run) {
      row.search = median(runs.map((run) => run.run.searchMs));
      row.answered = median(runs.map((run) => run.run.ms));
      row.nodes = runs[0].answer.nodes;
    }
    rows.push(row);
  }
} finally {
  await browser.close();
}

const describe = (row) => {
  const { build, ...rest } = row.query;
  return `#${row.index} ${JSON.stringify(rest)} (${row.nodes} nodes)`;
};
const finished = rows.filter((r) => r.search !== undefined);
console.log(`${rows.length} queries, median of ${kRuns} runs each`);
console.log(`finished ${finished.length}, unfinished after ${kCapMs} ms: ${rows.length - finished.length}`);
if (finished.length > 0) {
  const worst = slowest(finished, 'search');
  console.log(`search in the worker   median ${ms(median(finished.map((r) => r.search)))}   ` +
              `slowest ${ms(worst.search)}  ${describe(worst)}`);
  console.log(`query to answer        median ${ms(median(finished.map((r) => r.answered)))}   ` +
              `slowest ${ms(slowest(finished, 'answered').answered)}`);
  console.log(`nodes                  median ${median(finished.map((r) => r.nodes))}`);
}
if (native) {
  const both = finished.filter((r) => r.native.ms !== null);
  const nativeDone = native.filter((n) => n.ms !== null);
  const threads = kNativeThreads === 1 ? 'one thread' : kNativeThreads > 1 ? `${kNativeThreads} threads` : 'a thread per core';
  console.log(`native (bench_search, ${threads})  finished ${nativeDone.length}` + (nativeDone.length === 0 ? ''
    : `, median ${ms(median(nativeDone.map((n) => n.ms)))}   slowest ${ms(Math.max(...nativeDone.map((n) => n.ms)))}`));
  if (both.length > 0) {
    const ratios = both.map((r) => r.search / Math.max(r.native.ms, 0.01));
    const largest = both[ratios.indexOf(Math.max(...ratios))];
    console.log(`page / native, ${both.length} queries both finished: median ${median(ratios).toFixed(2)}x, ` +
                `largest ${Math.max(...ratios).toFixed(2)}x ${describe(largest)}`);
    if (kNativeThreads === 1) {
      const differ = both.filter((r) => r.nodes !== r.native.nodes);
      console.log(differ.length === 0 ? 'nodes: the same in every query both finished'
        : `nodes differ in ${differ.length} queries, first ${describe(differ[0])} against ${differ[0].native.nodes}`);
    }
  }
}
