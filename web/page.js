// The page: two editors served by the language server in the worker (diagnostics with their
// notes, hover, completion, quick fixes, outline), every edit compiled after a pause fitted
// to the compile's own time, the route picture and the summary of the last clean build, the
// files offered as the program writes them, the work kept across reloads, and files opened
// from disk read, compared and decompiled.
import { Compartment, EditorState } from '@codemirror/state';
import { EditorView, keymap, lineNumbers, highlightActiveLine } from '@codemirror/view';
import { defaultKeymap, history, historyKeymap } from '@codemirror/commands';
import { syntaxHighlighting, defaultHighlightStyle } from '@codemirror/language';
import { lintGutter, lintKeymap } from '@codemirror/lint';
import { scenarioSources } from './highlight.js';
import { ask, serverTransport } from './worker_channel.js';
import {
  client, completion, diagnosticsShown, goTo, notesOf, onDiagnostics, onExplanation, outlineOf, placeEditor,
  serverExtensions, severities,
} from './language_client.js';
import { forgetWork, keepWork, keptWork } from './kept_work.js';

// Work this quick (the server's check and the page's compile together) follows each edit at
// once; slower work waits for typing to pause, for twice its own time (at most
// kLongestPause_ms).
const kAtOnce_ms = 100;
const kLongestPause_ms = 1500;
const pageOpened = performance.now();
const $ = (id) => document.getElementById(id);

// --- The editors -----------------------------------------------------------------------------

const serverPart = { line: new Compartment(), service: new Compartment() };
// The text each editor held when the page last put text in it, to tell an author's edits.
const placed = { line: '', service: '' };

function makeEditor(which, parent) {
  return new EditorView({
    parent,
    state: EditorState.create({
      doc: '',
      extensions: [
        lineNumbers(),
        highlightActiveLine(),
        history(),
        keymap.of([...defaultKeymap, ...historyKeymap, ...lintKeymap]),
        scenarioSources,
        syntaxHighlighting(defaultHighlightStyle),
        lintGutter(),
        completion,
        serverPart[which].of([]),
        EditorView.updateListener.of((update) => {
          if (update.docChanged) edited();
        }),
      ],
    }),
  });
}
const editors = { line: makeEditor('line', $('line-editor')), service: makeEditor('service', $('service-editor')) };
const textOf = (which) => editors[which].state.doc.toString();

function setText(which, text) {
  const view = editors[which];
  view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
  placed[which] = text;
}

// The URIs the server knows the sources by: their file names, as the compile names them.
const sourceUris = { line: null, service: null };
function nameSources(lineName, serviceName) {
  const names = { line: lineName, service: serviceName };
  for (const which of ['line', 'service']) {
    const uri = `file:///page/${encodeURIComponent(names[which])}`;
    if (sourceUris[which] === uri) continue;
    sourceUris[which] = uri;
    placeEditor(which, editors[which], uri, names[which]);
    editors[which].dispatch({ effects: serverPart[which].reconfigure(serverExtensions(uri)) });
  }
}

// --- Compiling, paced by the compile's own time ------------------------------------------------

let timer = null;
let running = false;
let again = false;
let lastWork_ms = 0;
let compiles = 0;
let editAt = null;
// The first edit the picture does not show yet, for the time from a keystroke to its picture.
let undrawnEditAt = null;

function pause() {
  return lastWork_ms < kAtOnce_ms ? 0 : Math.min(kLongestPause_ms, 2 * lastWork_ms);
}

function edited() {
  // Putting back what the page replaced would now lose the author's edits: no longer offered.
  if (replaced && authorEdited()) withdrawUndo();
  editAt = editAt ?? performance.now();
  undrawnEditAt = undrawnEditAt ?? performance.now();
  scheduleCompile();
}

// While files opened from disk are being placed, their edits wait for one compile at the end.
let placing = false;
function scheduleCompile() {
  clearTimeout(timer);
  if (!placing) timer = setTimeout(compile, pause());
}

function identity() {
  return { name: $('scenario-name').value.trim(), number: $('scenario-number').value.trim() };
}

function setStatus(text, failed = false) {
  $('status').textContent = text;
  $('status').classList.toggle('failed', failed);
}

const counted = (n, what) => `${n} ${what}${n === 1 ? '' : 's'}`;

// The status line: a compile is "clean" only when nothing at all was told.
function verdictOf(result) {
  if (result.status === 0) return result.warnings > 0 ? `compiled, ${counted(result.warnings, 'warning')}` : 'compiled clean';
  if (result.status === 1)
    return `${result.faults > 0 ? counted(result.faults, 'fault') : 'errors'} found: nothing to take away`;
  return 'nothing compiled';
}

async function compile() {
  if (running) {
    again = true;
    return;
  }
  running = true;
  const started = performance.now();
  const editDrawn = undrawnEditAt;
  undrawnEditAt = null;
  client.sync();
  const { name, number } = identity();
  const line = textOf('line');
  const service = textOf('service');
  keepWork({ name, number, line, service });
  const { result, ms } = await ask('compileSources', line, service, name, number);
  nameSources(result.lineName, result.serviceName);
  lastWork_ms = performance.now() - started;
  window.lastCompile_ms = ms;
  $('line-title').textContent = result.lineName;
  $('service-title').textContent = result.serviceName;
  showDownloads(result.files);
  showBuild(result);
  if (editDrawn !== null && result.status === 0) window.lastKeystrokeToPicture_ms = performance.now() - editDrawn;
  setStatus(`${verdictOf(result)} · ${ms.toFixed(1)} ms`, result.status !== 0);
  document.body.dataset.compiled = String(++compiles);
  running = false;
  if (again) {
    again = false;
    scheduleCompile();
  }
}

// The picture and the summary are those of the last clean build; while faults stand they
// stay, and say so.
function showBuild(result) {
  const stale = result.status !== 0;
  if (!stale) {
    $('picture').innerHTML = result.svg;
    $('summary').textContent = result.summary;
    if (window.firstPicture_ms === undefined) window.firstPicture_ms = performance.now() - pageOpened;
  }
  const drawn = $('picture').childElementCount > 0;
  $('last-clean').hidden = !(stale && drawn);
  $('picture-pane').classList.toggle('stale', stale && drawn);
  $('full-size').hidden = !drawn;
}

$('full-size').addEventListener('click', () => {
  const svg = $('picture').innerHTML;
  const url = URL.createObjectURL(new Blob([svg], { type: 'image/svg+xml' }));
  window.open(url, '_blank');
  setTimeout(() => URL.revokeObjectURL(url), 60000);
});

// --- The server's diagnostics, listed with their notes -----------------------------------------

function showDiagnostics() {
  const list = $('diagnostics');
  list.replaceChildren();
  const shown = diagnosticsShown();
  for (const { which, name, line, column, diagnostic: d } of shown) {
    const item = document.createElement('li');
    const severity = severities[d.severity] || 'error';
    item.className = severity;
    item.dataset.line = line;
    item.dataset.source = which;
    const code = d.code !== undefined ? d.code : severity;
    const head = document.createElement('span');
    head.textContent = `${name}:${line}:${column}: ${severity} (`;
    const codeText = d.codeDescription
      ? Object.assign(document.createElement('a'), { href: d.codeDescription.href.replace(/^.*\/source-format\.md/, 'source-format.md'), target: '_blank', textContent: code })
      : document.createTextNode(code);
    item.append(head, codeText, document.createTextNode(`): ${d.message}`));
    const notes = notesOf(d);
    if (notes.length > 0) {
      const noteList = document.createElement('ul');
      noteList.className = 'notes';
      for (const [i, note] of notes.entries()) {
        const noteItem = document.createElement('li');
        noteItem.textContent = `note: ${note}`;
        const at = d.relatedInformation[i].location;
        noteItem.addEventListener('click', (event) => {
          event.stopPropagation();
          goTo(at.uri === sourceUris.line ? 'line' : 'service', at.range.start);
        });
        noteList.append(noteItem);
      }
      item.append(noteList);
    }
    item.addEventListener('click', () => goTo(which, d.range.start));
    list.append(item);
  }
  if (shown.length === 0) {
    const item = document.createElement('li');
    item.className = 'clean';
    item.textContent = 'No faults, no warnings.';
    list.append(item);
  }
}

let outlineTimer = null;
onDiagnostics((uri) => {
  showDiagnostics();
  if (editAt !== null) {
    window.lastKeystrokeToDiagnostics_ms = performance.now() - editAt;
    editAt = null;
  }
  document.body.dataset.published = String(Number(document.body.dataset.published || 0) + 1);
  clearTimeout(outlineTimer);
  outlineTimer = setTimeout(showOutline, 200);
});

onExplanation((message) => {
  $('explanation').hidden = false;
  $('explanation-text').textContent = message;
});
$('explanation-close').addEventListener('click', () => {
  $('explanation').hidden = true;
});

async function showOutline() {
  const list = $('outline');
  const items = [];
  for (const which of ['line', 'service']) {
    if (!sourceUris[which]) continue;
    const walk = (symbols, depth) => {
      for (const symbol of symbols || []) {
        const item = document.createElement('li');
        item.textContent = `${'  '.repeat(depth)}${symbol.name}${symbol.detail ? ` — ${symbol.detail}` : ''}`;
        item.style.paddingLeft = `${depth * 1.2}em`;
        item.addEventListener('click', () => goTo(which, (symbol.selectionRange || symbol.range).start));
        items.push(item);
        walk(symbol.children, depth + 1);
      }
    };
    walk(await outlineOf(sourceUris[which]), 0);
  }
  list.replaceChildren(...items);
}

// --- Files to take away, made when they are asked for -----------------------------------------

function showDownloads(names) {
  const list = $('downloads');
  list.replaceChildren();
  for (const name of names) {
    const link = document.createElement('a');
    link.href = '#';
    link.download = name;
    link.textContent = name;
    link.addEventListener('click', async (event) => {
      if (link.dataset.ready) return;
      event.preventDefault();
      const { result } = await ask('offeredFile', name);
      if (!result.file) {
        setStatus(result.error || `${name} is no longer offered`, true);
        return;
      }
      link.href = URL.createObjectURL(new Blob([result.file.bytes], { type: 'application/octet-stream' }));
      link.dataset.ready = 'yes';
      link.click();
      setTimeout(() => {
        URL.revokeObjectURL(link.href);
        link.href = '#';
        delete link.dataset.ready;
      }, 10000);
    });
    const item = document.createElement('li');
    item.append(link);
    list.append(item);
  }
}

// --- Files opened from disk ------------------------------------------------------------------

// The compiled scenarios among files opened together, found by the program's own rule.
async function groupCompiled(files) {
  const byName = new Map(files.map((f) => [f.name, f]));
  const { result: found } = await ask('compiledScenariosAmong', files.map((f) => f.name));
  return found.map((s) => ({
    name: s.name, number: s.number,
    trackCells: byName.get(`${s.stem}.dat`).bytes, records: byName.get(`${s.stem}.sim`).bytes,
    linePlan: s.hasPlan ? byName.get(`${s.name}_linea.dat`).bytes : null,
  }));
}

async function openFiles(fileList) {
  placing = true;
  let placedSources = false;
  try {
    placedSources = await placeOpenedFiles(fileList);
  } finally {
    placing = false;
    if (placedSources) scheduleCompile();
  }
}

let sourceLimit = null;
async function placeOpenedFiles(fileList) {
  sourceLimit = sourceLimit ?? (await ask('sourceByteLimit')).result;
  const files = [];
  const refused = [];
  for (const file of fileList) {
    const { result: kind } = await ask('openedFileKind', file.name);
    if (kind !== 'source') {
      files.push({ name: file.name, kind, bytes: new Uint8Array(await file.arrayBuffer()) });
      continue;
    }
    // Sources are read as the program reads them; one larger than it reads is not read at all.
    const bytes = file.size > sourceLimit ? new Uint8Array() : new Uint8Array(await file.arrayBuffer());
    const { result } = await ask('openedSource', file.name, file.size, bytes);
    if (result.error) refused.push(result.error);
    else files.push({ name: file.name, kind, text: result.text });
  }
  $('refused').hidden = refused.length === 0;
  $('refused').textContent = refused.join('\n');
  // The pair takes the scenario's name and number from its file names as the program does.
  const named = { line: null, service: null };
  for (const source of files.filter((f) => f.kind === 'source')) {
    const which = source.name.endsWith('-.txt') ? 'service' : 'line';
    named[which] = source.name;
    setText(which, source.text);
  }
  if (named.line && named.service) {
    const { result: identity } = await ask('sourceIdentity', named.line, named.service);
    if (!identity.error) {
      $('scenario-name').value = identity.name;
      $('scenario-number').value = identity.number;
    }
  }
  const scenarios = await groupCompiled(files);
  if (scenarios.length > 0) await showOpened(scenarios);
  return Boolean(named.line || named.service);
}

async function showOpened(scenarios) {
  $('opened').hidden = false;
  const list = $('opened-list');
  list.replaceChildren();
  for (const scenario of scenarios) {
    const box = document.createElement('div');
    box.className = 'opened-scenario';
    const title = document.createElement('h2');
    title.textContent = `${scenario.name} ${scenario.number}${scenario.linePlan ? '' : ' (no plan file)'}`;
    const decompileButton = document.createElement('button');
    decompileButton.textContent = 'Decompile into the editors';
    decompileButton.addEventListener('click', () => decompileInto(scenario, box));
    box.append(title, decompileButton);
    const { result } = await ask('readCompiled', scenario);
    if (result.error) {
      box.append(Object.assign(document.createElement('p'), { textContent: result.error, className: 'failed' }));
    } else {
      const picture = document.createElement('div');
      picture.innerHTML = result.svg;
      box.append(picture, Object.assign(document.createElement('pre'), { textContent: result.summary }));
    }
    list.append(box);
  }
  const comparison = $('comparison');
  comparison.hidden = scenarios.length !== 2;
  if (scenarios.length === 2) {
    const { result } = await ask('compareCompiled', scenarios[0], scenarios[1]);
    comparison.textContent = result.error ||
      `${scenarios[0].name} ${scenarios[0].number} → ${scenarios[1].name} ${scenarios[1].number}:\n` +
      (result.text || 'no differences\n');
  }
}

// Whether the author has changed the editors since the page last filled them.
const authorEdited = () => textOf('line') !== placed.line || textOf('service') !== placed.service;

// What the editors held before the page last replaced it, to be put back.
// Offered only while the editors hold what the page put in them, and only when the
// replacement changed something.
let replaced = null;
function replaceWork(work) {
  const before = { ...identity(), line: textOf('line'), service: textOf('service') };
  withdrawUndo();
  placeWork(work);
  // Compared as the editors hold the texts (their line ends made one).
  const after = { ...identity(), line: textOf('line'), service: textOf('service') };
  if (['name', 'number', 'line', 'service'].every((k) => before[k] === after[k])) return;
  replaced = before;
  $('undo-replace').hidden = false;
}

function withdrawUndo() {
  replaced = null;
  $('undo-replace').hidden = true;
}

// Fills the editors; what was said of files opened before no longer stands beside them.
function placeWork(work) {
  $('refused').hidden = true;
  $('scenario-name').value = work.name;
  $('scenario-number').value = work.number;
  setText('line', work.line);
  setText('service', work.service);
}

$('undo-replace').addEventListener('click', () => {
  if (!replaced) return;
  const work = replaced;
  withdrawUndo();
  placeWork(work);
});

async function decompileInto(scenario, box) {
  const { result } = await ask('decompileCompiled', scenario);
  if (result.error) {
    box.append(Object.assign(document.createElement('p'), { textContent: result.error }));
    return;
  }
  if (authorEdited() && !window.confirm('Replace the edited sources in the editors with the decompiled ones? ' +
      '"Undo the replacement" brings them back.')) return;
  replaceWork(result);
  if (result.remarks.length > 0) {
    box.append(Object.assign(document.createElement('pre'),
      { textContent: `not written back:\n${result.remarks.join('\n')}` }));
  }
}

// Edits made since the last compile are kept too when the page goes.
window.addEventListener('pagehide', () => keepWork({ ...identity(), line: textOf('line'), service: textOf('service') }));

$('open-files').addEventListener('change', (event) => openFiles(event.target.files));
document.addEventListener('dragover', (event) => {
  event.preventDefault();
  document.body.classList.add('dropping');
});
document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
document.addEventListener('drop', (event) => {
  event.preventDefault();
  document.body.classList.remove('dropping');
  openFiles(event.dataTransfer.files);
});
for (const field of ['scenario-name', 'scenario-number']) $(field).addEventListener('input', scheduleCompile);

// --- The kept work, else the built-in scenario, first -----------------------------------------

async function builtinWork() {
  const { result } = await ask('builtinSources');
  return result;
}

$('builtin').addEventListener('click', async () => {
  const builtin = await builtinWork();
  if (authorEdited() && !window.confirm('Replace the edited sources with the built-in scenario? ' +
      '"Undo the replacement" brings them back.')) return;
  forgetWork();
  replaceWork(builtin);
});

(async () => {
  await ask('startLanguageServer', new URL('source-format.md', window.location.href).href);
  client.connect(serverTransport);
  const kept = keptWork();
  placeWork(kept || (await builtinWork()));
  if (kept) $('kept-note').hidden = false;
  clearTimeout(timer);
  compile();
})();
