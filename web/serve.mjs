// A static server of the page's folder on 127.0.0.1 only, for trying the page and for its
// tests: node web/serve.mjs <site folder> [port]; port 0 takes a free one. It prints the
// address once it listens.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.md': 'text/plain; charset=utf-8',
  '.svg': 'image/svg+xml',
};

export function serve(site, port = 0) {
  const root = resolve(site);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    const file = normalize(join(root, path === '/' ? 'index.html' : path));
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
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
