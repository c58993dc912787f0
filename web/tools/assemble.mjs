// Puts the page together as one file: the shell with its style, the core module (the
// WebAssembly inside it), the page's modules (each an install function that the page
// script calls once the core is ready) and the page script inline, so that it opens
// from disk with nothing else.
//   node assemble.mjs <page folder> <core .js> <output .html>
import { readFileSync, writeFileSync, renameSync } from 'node:fs';
import { join } from 'node:path';

const [pageFolder, corePath, outputPath] = process.argv.slice(2);
const read = (path) => readFileSync(path, 'utf8');

// Inline script must not close its own element early.
const inlineScript = (code) => code.replace(/<\/script/gi, '<\\/script');

// The modules beside page.js, each with its own style sheet.
const kModules = ['search', 'touch'];

const parts = {
  '/*STYLE*/': [read(join(pageFolder, 'page.css')),
                ...kModules.map((m) => read(join(pageFolder, m + '.css')))].join('\n'),
  '/*CORE*/': inlineScript(read(corePath)),
  '/*MODULES*/': inlineScript(kModules.map((m) => read(join(pageFolder, m + '.js'))).join('\n')),
  '/*PAGE*/': inlineScript(read(join(pageFolder, 'page.js'))),
};
let html = read(join(pageFolder, 'shell.html'));
for (const [marker, text] of Object.entries(parts)) {
  const at = html.indexOf(marker);
  if (at < 0 || html.indexOf(marker, at + 1) >= 0) {
    throw new Error(`the shell must hold ${marker} exactly once`);
  }
  html = html.slice(0, at) + text + html.slice(at + marker.length);
}
writeFileSync(outputPath + '.part', html);
renameSync(outputPath + '.part', outputPath);
