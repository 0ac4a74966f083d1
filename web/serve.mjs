// A static server of the page's folder on 127.0.0.1 only, for trying the page and for its
// tests: node web/serve.mjs <site folder> [port]; port 0 takes a free one. It prints the
// address once it listens.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, isAbsolute, relative, resolve, sep } from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.md': 'text/plain; charset=utf-8',
  '.svg': 'image/svg+xml',
};

// The file under `root` that a request's address names, or null when it names none: an
// address that does not decode, or one that leads out of the folder. The folder holds the
// file when the path from one to the other climbs no step, compared step by step (a
// sibling folder whose name begins with the site's is outside it).
export function fileOf(root, address) {
  let path;
  try {
    path = decodeURIComponent(new URL(address, 'http://127.0.0.1').pathname);
  } catch {
    return null;
  }
  if (path.includes('\0')) return null;
  const file = resolve(root, '.' + (path === '/' ? '/index.html' : path));
  const within = relative(root, file);
  if (within === '' || within === '..' || within.startsWith('..' + sep) || isAbsolute(within)) return null;
  return file;
}

export function serve(site, port = 0) {
  const root = resolve(site);
  const server = createServer(async (request, response) => {
    // A request that names no file of the site is answered and forgotten: nothing a client
    // sends stops the server.
    const file = fileOf(root, request.url);
    if (file === null) {
      response.writeHead(400).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [site, port] = process.argv.slice(2);
  const server = await serve(site || 'build-web/site', Number(port || 8080));
  console.log(`the page: http://127.0.0.1:${server.address().port}/`);
}
