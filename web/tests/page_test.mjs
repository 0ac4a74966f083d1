// The page in headless chromium, served from 127.0.0.1: the built-in scenario compiled
// clean, a mistake typed and told at its line, the mistake undone, and every file the page
// offers equal to the one the program writes for the same sources.
//   SCENARIO_BUILDER, GENERATE_ROUTE: the programs; WEB_SITE: the page's folder;
//   SCREENSHOT: where the picture of the page is kept; CHROMIUM: the browser.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';

const program = process.env.SCENARIO_BUILDER || 'build/scenario-builder';
const generator = process.env.GENERATE_ROUTE || 'build/generate_route';
const site = process.env.WEB_SITE || 'build-web/site';
const screenshot = process.env.SCREENSHOT || 'build-web/page.png';

let server;
let browser;
let page;
let work;

before(async () => {
  work = mkdtempSync(join(tmpdir(), 'scenario-page-'));
  server = await serve(site);
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox'],
  });
  page = await browser.newPage({ acceptDownloads: true, viewport: { width: 1400, height: 1000 } });
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
});

after(async () => {
  await browser?.close();
  server?.close();
  rmSync(work, { recursive: true, force: true });
});

// Waits for the compile after the one the page had shown, and gives its status line.
async function nextCompile(before) {
  await page.waitForFunction((n) => Number(document.body.dataset.compiled || 0) > n, before);
  return page.textContent('#status');
}
const compiledSoFar = () => page.evaluate(() => Number(document.body.dataset.compiled || 0));

// Every file the page offers, saved into `folder`; their names.
async function downloadAll(folder) {
  const links = await page.$$('#downloads a');
  const names = [];
  for (const link of links) {
    const [download] = await Promise.all([page.waitForEvent('download'), link.click()]);
    names.push(download.suggestedFilename());
    await download.saveAs(join(folder, download.suggestedFilename()));
  }
  return names.sort();
}

function assertSameFiles(names, pageFolder, programFolder) {
  for (const name of names) {
    assert.ok(readFileSync(join(pageFolder, name)).equals(readFileSync(join(programFolder, name))),
      `${name} differs from the program's`);
  }
}

test('the built-in scenario compiles clean, drawn, and its files are the program\'s', async () => {
  assert.match(await nextCompile(0), /compiled clean/);
  const timings = await page.evaluate(() => ({ compile: window.lastCompile_ms, picture: window.firstPicture_ms }));
  // The first compile runs while the browser still compiles the WebAssembly in its quick tier;
  // the figure that counts is a compile once it has settled.
  for (let i = 0; i < 3; ++i) {
    const seen = await compiledSoFar();
    await page.dispatchEvent('#scenario-number', 'input');
    await nextCompile(seen);
  }
  const settled = await page.evaluate(() => window.lastCompile_ms);
  console.log(`benchmark: built-in scenario compiled in the page in ${settled.toFixed(1)} ms ` +
    `(${timings.compile.toFixed(1)} ms the first time); first picture ${timings.picture.toFixed(0)} ms after the page opened`);
  assert.equal(await page.locator('#diagnostics li.error').count(), 0);
  assert.ok(await page.locator('#picture svg').count() === 1, 'the route picture is drawn');
  assert.match(await page.textContent('#summary'), /Milano_Tortona/);
  assert.match(await page.textContent('header'), /nothing you write or open leaves it/);
  await page.screenshot({ path: screenshot, fullPage: true });

  const pageFolder = join(work, 'builtin-page');
  const programFolder = join(work, 'builtin-program');
  const names = await downloadAll(pageFolder);
  assert.deepEqual(names, ['Milano_Tortona_5-.txt', 'Milano_Tortona_5.dat', 'Milano_Tortona_5.sim',
    'Milano_Tortona_linea.dat', 'Milano_Tortona_linea.txt']);
  execFileSync(program, ['sources', '-o', programFolder]);
  execFileSync(program, ['compile', join(programFolder, 'Milano_Tortona_linea.txt'),
    join(programFolder, 'Milano_Tortona_5-.txt'), '-o', programFolder]);
  assertSameFiles(names, pageFolder, programFolder);
});

test('a mistake typed is told at its line, marked there, and goes when undone', async () => {
  const editor = page.locator('#line-editor .cm-content');
  await editor.click();
  await page.keyboard.press('Control+Home');
  for (let i = 1; i < 13; ++i) await page.keyboard.press('ArrowDown');  // curvad2,  4500,  400
  await page.keyboard.press('End');
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowLeft');
  let seen = await compiledSoFar();
  await page.keyboard.type('x');
  assert.match(await nextCompile(seen), /faults found/);
  const fault = page.locator('#diagnostics li.error').first();
  assert.match(await fault.textContent(), /Milano_Tortona_linea\.txt:13:\d+: error \(fault 25\)/);
  assert.equal(await fault.getAttribute('data-line'), '13');
  assert.ok(await page.locator('#line-editor .cm-lint-marker-error').count() > 0, 'a marker in the gutter');
  assert.equal(await page.locator('#downloads a[download$=".sim"]').count(), 0, 'nothing compiled to take away');

  await fault.click();  // goes to the line
  const cursorLine = await page.locator('#line-editor .cm-activeLine').textContent();
  assert.match(cursorLine, /4x00/);

  seen = await compiledSoFar();
  await page.keyboard.press('Control+z');
  assert.match(await nextCompile(seen), /compiled clean/);
  assert.equal(await page.locator('#diagnostics li.error').count(), 0);
});

// Generated routes of a few lengths, opened from disk as an author would open them.
for (const length of [20000, 150000]) {
  test(`a generated route of ${length} m opened from disk gives the program's files`, async () => {
    const sources = join(work, `generated-${length}`);
    const pageFolder = join(work, `generated-${length}-page`);
    const programFolder = join(work, `generated-${length}-program`);
    execFileSync('mkdir', ['-p', sources, programFolder]);
    execFileSync(generator, [String(length), sources]);
    const seen = await compiledSoFar();
    await page.setInputFiles('#open-files', readdirSync(sources).map((name) => join(sources, name)));
    assert.match(await nextCompile(seen), /compiled clean/);
    assert.equal(await page.inputValue('#scenario-name'), 'Generated');
    execFileSync(program, ['compile', join(sources, 'Generated_linea.txt'), join(sources, 'Generated_1-.txt'),
      '-o', programFolder]);
    const names = await downloadAll(pageFolder);
    assert.equal(names.length, 5);
    assertSameFiles(names.filter((n) => !n.endsWith('.txt')), pageFolder, programFolder);
    assertSameFiles(names.filter((n) => n.endsWith('.txt')), pageFolder, sources);
  });
}

test('compiled files opened from disk are read, compared and decompiled', async () => {
  const programFolder = join(work, 'builtin-program');
  const other = join(work, 'generated-20000-program');
  const files = [...readdirSync(programFolder).filter((n) => !n.endsWith('.txt')).map((n) => join(programFolder, n)),
    ...readdirSync(other).map((n) => join(other, n))];
  await page.setInputFiles('#open-files', files);
  await page.waitForSelector('#opened .opened-scenario >> nth=1');
  assert.equal(await page.locator('#opened .opened-scenario svg').count(), 2);
  await page.waitForFunction(() => !document.getElementById('comparison').hidden &&
    document.getElementById('comparison').textContent.length > 0);
  assert.match(await page.textContent('#comparison'), /Generated 1 → Milano_Tortona 5|Milano_Tortona 5 → Generated 1/);

  const seen = await compiledSoFar();
  await page.locator('.opened-scenario', { hasText: 'Milano_Tortona 5' }).getByRole('button').click();
  assert.match(await nextCompile(seen), /compiled clean/);
  assert.equal(await page.inputValue('#scenario-name'), 'Milano_Tortona');
});
