// Builds the page's folder of static files: the bundled page and worker, the HTML and
// style, the WebAssembly module and the source format reference it links to.
//   node web/bundle.mjs <module folder> <site folder>
import { build } from 'esbuild';
import { copyFileSync, mkdirSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const [moduleFolder, site] = process.argv.slice(2);
if (!moduleFolder || !site) {
  console.error('usage: node web/bundle.mjs <module folder> <site folder>');
  process.exit(2);
}
mkdirSync(site, { recursive: true });
await build({
  entryPoints: [join(here, 'page.js')],
  bundle: true,
  minify: true,
  format: 'iife',
  target: 'es2020',
  outfile: join(site, 'page.js'),
  logLevel: 'warning',
});
for (const file of ['index.html', 'page.css', 'worker.js']) copyFileSync(join(here, file), join(site, file));
for (const file of ['scenario_web.js', 'scenario_web.wasm']) copyFileSync(join(moduleFolder, file), join(site, file));
copyFileSync(join(here, '..', 'docs', 'source-format.md'), join(site, 'source-format.md'));
