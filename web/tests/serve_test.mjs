// The page's server: every file of the site, nothing outside it, and no request that stops it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, mkdirSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { request } from 'node:http';

import { serve } from '../serve.mjs';

// A raw request, sent as written (fetch would normalise the path first).
function get(port, path) {
  return new Promise((done, fail) => {
    const sent = request({ host: '127.0.0.1', port, path }, (response) => {
      let body = '';
      response.on('data', (chunk) => (body += chunk));
      response.on('end', () => done({ status: response.statusCode, body }));
    });
    sent.on('error', fail);
    sent.end();
  });
}

test('the server answers within the site and refuses the rest, and keeps serving', async () => {
  const parent = mkdtempSync(join(tmpdir(), 'serve-'));
  const site = join(parent, 'site');
  mkdirSync(site);
  mkdirSync(join(parent, 'site-secret'));
  writeFileSync(join(site, 'index.html'), 'the page');
  writeFileSync(join(parent, 'site-secret', 'key.txt'), 'secret');
  const server = await serve(site);
  const { port } = server.address();
  try {
    const cases = [
      ['/', 200, 'the page'],
      ['/index.html', 200, 'the page'],
      ['/%E0%A4%A', 400, ''],
      ['/%', 400, ''],
      ['/..%2fsite-secret/key.txt', 400, ''],
      ['/..%2f..%2fetc/passwd', 400, ''],
      ['/../site-secret/key.txt', 404, ''],
      ['/%00', 400, ''],
      ['/missing.js', 404, ''],
    ];
    for (const [path, status, body] of cases) {
      const answer = await get(port, path);
      assert.equal(answer.status, status, path);
      assert.equal(answer.body, body, path);
    }
  } finally {
    server.close();
  }
});
