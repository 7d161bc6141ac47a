// Bundles the studio into the deployable folder: build-web/site/ (any static file host serves
// it as it is). Expects the core's WebAssembly module in build-web/wasm/ (scripts/build-web.sh
// builds it first).
//   node build.mjs [--tests]   --tests also bundles the Node tests into build-web/node-tests/
import { build } from 'esbuild';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.dirname(here);
const out = path.join(root, 'build-web');
const wasm = path.join(out, 'wasm');
const site = path.join(out, 'site');
const icons = path.join(root, 'packaging', 'icons', 'hicolor');

for (const file of ['studiocore.mjs', 'studiocore.wasm']) {
  if (!fs.existsSync(path.join(wasm, file))) {
    console.error(`build: ${path.join(wasm, file)} is missing; run scripts/build-web.sh`);
    process.exit(1);
  }
}

// Written beside the old folder and swapped in, so a failed build leaves the last good site.
const next = `${site}.next`;
fs.rmSync(next, { recursive: true, force: true });
fs.mkdirSync(next, { recursive: true });
// What every bundle for the browser shares.
const forBrowsers = { bundle: true, minify: true, target: ['chrome100', 'firefox100', 'safari15'], logLevel: 'warning' };
await build({
  ...forBrowsers,
  entryPoints: [path.join(here, 'src', 'main.ts')],
  outfile: path.join(next, 'studio.js'),
  format: 'esm',
  // The core's bytes go into the bundle: the page starts without waiting for a second file.
  alias: { studiocore: path.join(wasm, 'studiocore.mjs'), 'studiocore-wasm': path.join(wasm, 'studiocore.wasm') },
  loader: { '.wasm': 'binary' },
});
// The icons (favicon and header) go into the page as data: URLs: the browser fetches a favicon
// after the load event, and the page makes no request after it.
let page = fs.readFileSync(path.join(here, 'src', 'index.html'), 'utf8');
for (const size of [16, 32]) {
  const icon = fs.readFileSync(path.join(icons, `${size}x${size}`, 'apps', 'org.tarrow.BootScreenEditor.png'));
  page = page.replaceAll(`"icon-${size}.png"`, `"data:image/png;base64,${icon.toString('base64')}"`);
}
fs.writeFileSync(path.join(next, 'index.html'), page);
fs.copyFileSync(path.join(here, 'src', 'studio.css'), path.join(next, 'studio.css'));
// What installing the studio takes: the manifest and the icons it names.
fs.copyFileSync(path.join(here, 'src', 'manifest.webmanifest'), path.join(next, 'manifest.webmanifest'));
fs.cpSync(path.join(here, 'src', 'icons'), path.join(next, 'icons'), { recursive: true });
await build({
  ...forBrowsers,
  entryPoints: [path.join(here, 'src', 'offline-worker.js')],
  outfile: path.join(next, 'offline-worker.js'),
});
fs.rmSync(site, { recursive: true, force: true });
fs.renameSync(next, site);

if (process.argv.includes('--tests')) {
  const tests = path.join(here, 'tests', 'node');
  const outdir = path.join(out, 'node-tests');
  fs.rmSync(outdir, { recursive: true, force: true });
  await build({
    entryPoints: fs.readdirSync(tests).filter((f) => f.endsWith('.test.ts')).map((f) => path.join(tests, f)),
    outdir,
    outExtension: { '.js': '.mjs' },
    bundle: true,
    platform: 'node',
    format: 'esm',
    target: 'node20',
    packages: 'external',
    alias: { studiocore: path.join(wasm, 'studiocore.mjs') },
    define: {
      STUDIO_WASM_PATH: JSON.stringify(path.join(wasm, 'studiocore.wasm')),
      STUDIO_DATA_DIR: JSON.stringify(path.join(here, 'tests', 'data')),
    },
    logLevel: 'warning',
  });
}

const files = fs.readdirSync(site, { recursive: true }).map((file) => path.join(site, file))
  .filter((file) => fs.statSync(file).isFile());
const total = files.reduce((sum, file) => sum + fs.statSync(file).size, 0);
console.log(`build: ${site} (${files.length} files, ${(total / 1024).toFixed(0)} KiB)`);
