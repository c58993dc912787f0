// Puts the page together as one file: the shell with its style and the licence's text
// (LICENSE at the top of the tree), the core module (the WebAssembly inside it), the
// page's modules in order (each adds its part to the object they share,
// window.kestrelPage; a dialog module adds an install function that start-up calls once
// the core is ready) and the start-up script, all inline, so that it opens from disk with
// nothing else.
//   node assemble.mjs <page folder> <core .js> <output .html>
import { existsSync, readdirSync, readFileSync, writeFileSync, renameSync } from 'node:fs';
import { join } from 'node:path';

const [pageFolder, corePath, outputPath] = process.argv.slice(2);
const read = (path) => readFileSync(path, 'utf8');

// Inline script must not close its own element early.
const inlineScript = (code) => code.replace(/<\/script/gi, '<\\/script');

// The page's modules in the order they load: shared.js makes the object the others add
// to, so it comes first; start.js, which starts the page, runs last in a script of its
// own. A module with a style sheet of the same name brings it along.
const kModules = ['shared', 'hints', 'messages', 'form', 'lists', 'spinners', 'tabs', 'tools',
                  'stored', 'search-worker', 'search-results', 'search-form', 'search', 'holdings-exchange', 'holdings', 'touchsheet',
                  'touch'];
const kStart = 'start';

const unlisted = readdirSync(pageFolder).filter((f) => f.endsWith('.js'))
  .map((f) => f.slice(0, -3)).filter((m) => m !== kStart && !kModules.includes(m));
if (unlisted.length > 0) {
  throw new Error(`page modules missing from the load order: ${unlisted.join(', ')}`);
}
const styles = ['page', ...kModules, 'search-touch', 'holdings-touch'].map((m) => join(pageFolder, m + '.css')).filter(existsSync);

// The window's icon as the page's icon, inline (a page without one has the browser ask
// its server for favicon.ico, an error in the console where there is none).
const kIcon = join(pageFolder, '..', '..', 'packaging', 'io.github.kestrel_sim.KestrelSimulator.svg');

// The licence's text, shown inside the page; as text, not markup.
const escapeHtml = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

const parts = {
  '/*ICON*/': 'data:image/svg+xml;base64,' + readFileSync(kIcon).toString('base64'),
  '/*LICENSE*/': escapeHtml(read(join(pageFolder, '..', '..', 'LICENSE')).trimEnd()),
  '/*STYLE*/': styles.map(read).join('\n'),
  '/*CORE*/': inlineScript(read(corePath)),
  '/*MODULES*/': inlineScript(kModules.map((m) => read(join(pageFolder, m + '.js'))).join('\n')),
  '/*PAGE*/': inlineScript(read(join(pageFolder, kStart + '.js'))),
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
