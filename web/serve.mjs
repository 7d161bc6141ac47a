// Serves the deployable folder on 127.0.0.1 with the studio's Content Security Policy, for
// trying it out and for the browser tests. Any static host does the same job.
//   node serve.mjs [--port N] [--root FOLDER]
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const argument = (name, fallback) => {
  const at = process.argv.indexOf(name);
  return at >= 0 && process.argv[at + 1] ? process.argv[at + 1] : fallback;
};
const port = Number(argument('--port', '8123'));
const siteRoot = path.resolve(argument('--root', path.join(here, '..', 'build-web', 'site')));
if (!Number.isInteger(port) || port < 0 || port > 65535) {
  console.error(`serve: --port takes a port number, not '${argument('--port', '')}'`);
  process.exit(2);
}

// The same policy as the page's own meta element, plus what only a header can say.
export const ContentSecurityPolicy = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; " +
  "style-src 'self'; img-src 'self' blob: data:; object-src 'none'; base-uri 'none'; form-action 'none'; " +
  "frame-ancestors 'none'";
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.webmanifest': 'application/manifest+json', '.png': 'image/png',
};

const server = http.createServer((request, response) => {
  const url = new URL(request.url ?? '/', 'http://localhost');
  const name = url.pathname === '/' ? 'index.html' : decodeURIComponent(url.pathname.slice(1));
  const file = path.resolve(siteRoot, name);
  const stat = file.startsWith(siteRoot + path.sep) ? fs.statSync(file, { throwIfNoEntry: false }) : undefined;
  if (!stat?.isFile()) {
    response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
    return;
  }
  // A validator, so that a visit with the files unchanged gets 304s, and the browser keeps what
  // it compiled from them.
  const etag = `"${stat.size.toString(16)}-${Math.floor(stat.mtimeMs).toString(16)}"`;
  const headers = {
    'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
    'Content-Security-Policy': ContentSecurityPolicy,
    'X-Content-Type-Options': 'nosniff',
    ETag: etag,
    // Every file is checked again at each visit, but the service worker, which never changes
    // with a build, may be taken from the cache: the browser's checks for a new worker then make
    // no request while the page is open.
    'Cache-Control': name === 'offline-worker.js' ? 'max-age=86400' : 'no-cache',
  };
  if (request.headers['if-none-match'] === etag) {
    response.writeHead(304, headers).end();
    return;
  }
  response.writeHead(200, headers);
  fs.createReadStream(file).pipe(response);
});
server.listen(port, '127.0.0.1', () => {
  console.log(`Tarrow Boot Screen Studio: http://127.0.0.1:${server.address().port}/`);
});
