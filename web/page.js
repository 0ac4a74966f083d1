// The page: two editors, every edit compiled in the worker after a pause, the diagnostics
// listed and marked, the route picture and the summary redrawn, the files offered as the
// program writes them, and files opened from disk read, compared and decompiled.
import { EditorState } from '@codemirror/state';
import { EditorView, keymap, lineNumbers, highlightActiveLine } from '@codemirror/view';
import { defaultKeymap, history, historyKeymap } from '@codemirror/commands';
import { syntaxHighlighting, defaultHighlightStyle } from '@codemirror/language';
import { lintGutter, setDiagnostics } from '@codemirror/lint';
import { scenarioSources } from './highlight.js';

const kCompilePause_ms = 300;
const pageOpened = performance.now();
const $ = (id) => document.getElementById(id);

// --- The worker, asked by promise ------------------------------------------------------------

const worker = new Worker('worker.js');
const waiting = new Map();
let nextId = 1;
worker.onmessage = ({ data }) => {
  waiting.get(data.id)(data);
  waiting.delete(data.id);
};
function ask(op, ...args) {
  const id = nextId++;
  return new Promise((resolve) => {
    waiting.set(id, resolve);
    worker.postMessage({ id, op, args });
  });
}

// --- The editors -----------------------------------------------------------------------------

function makeEditor(parent) {
  return new EditorView({
    parent,
    state: EditorState.create({
      doc: '',
      extensions: [
        lineNumbers(),
        highlightActiveLine(),
        history(),
        keymap.of([...defaultKeymap, ...historyKeymap]),
        scenarioSources,
        syntaxHighlighting(defaultHighlightStyle),
        lintGutter(),
        EditorView.updateListener.of((update) => {
          if (update.docChanged) scheduleCompile();
        }),
      ],
    }),
  });
}
const editors = { line: makeEditor($('line-editor')), service: makeEditor($('service-editor')) };

function setText(view, text) {
  view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
}

// The editor's place of a diagnostic's line and column (both from 1), kept inside the text.
function offsetOf(view, line, column) {
  const doc = view.state.doc;
  const at = doc.line(Math.min(Math.max(line, 1), doc.lines));
  return Math.min(at.from + Math.max(column - 1, 0), at.to);
}

function goTo(view, line, column) {
  const at = offsetOf(view, line, column);
  view.dispatch({ selection: { anchor: at }, effects: EditorView.scrollIntoView(at, { y: 'center' }) });
  view.focus();
}

// --- Compiling -------------------------------------------------------------------------------

let timer = null;
let latest = 0;
function scheduleCompile() {
  clearTimeout(timer);
  timer = setTimeout(compile, kCompilePause_ms);
}

function identity() {
  return { name: $('scenario-name').value.trim(), number: $('scenario-number').value.trim() };
}

function setStatus(text, failed = false) {
  $('status').textContent = text;
  $('status').classList.toggle('failed', failed);
}

async function compile() {
  const request = ++latest;
  const { name, number } = identity();
  const { result, ms } = await ask('compileSources', editors.line.state.doc.toString(),
    editors.service.state.doc.toString(), name, number);
  if (request !== latest) return;  // a later edit has its own compile on the way
  window.lastCompile_ms = ms;
  $('line-title').textContent = result.lineName;
  $('service-title').textContent = result.serviceName;
  const diagnostics = (result.diagnostics || '').split('\n').filter((l) => l).map((l) => JSON.parse(l));
  showDiagnostics(diagnostics, result);
  showDownloads([...result.files, ...result.sources]);
  if (result.svg) {
    $('picture').innerHTML = result.svg;
    $('summary').textContent = result.summary;
    if (window.firstPicture_ms === undefined) window.firstPicture_ms = performance.now() - pageOpened;
  }
  const verdict = ['compiled clean', 'faults found: nothing to take away', 'nothing compiled'][result.status];
  setStatus(`${verdict} · ${ms.toFixed(1)} ms`, result.status !== 0);
  document.body.dataset.compiled = String(request);
}

function showDiagnostics(diagnostics, result) {
  const list = $('diagnostics');
  list.replaceChildren();
  const marks = { line: [], service: [] };
  for (const d of diagnostics) {
    const which = d.file === result.lineName ? 'line' : d.file === result.serviceName ? 'service' : null;
    const item = document.createElement('li');
    item.className = d.severity;
    const id = d.fault !== null ? `fault ${d.fault}` : d.warning !== null ? d.warning : d.severity;
    const place = d.line !== null ? `${d.file}:${d.line}:${d.column}: ` : '';
    item.textContent = `${place}${d.severity} (${id}): ${d.message}`;
    if (which && d.line !== null) {
      item.dataset.line = d.line;
      item.dataset.source = which;
      item.addEventListener('click', () => goTo(editors[which], d.line, d.column));
      const view = editors[which];
      const from = offsetOf(view, d.line, d.column);
      const to = view.state.doc.lineAt(from).to;
      marks[which].push({ from, to: Math.max(to, from), severity: d.severity, message: `${id}: ${d.message}` });
    }
    list.append(item);
  }
  if (diagnostics.length === 0) {
    const item = document.createElement('li');
    item.className = 'clean';
    item.textContent = 'No faults, no warnings.';
    list.append(item);
  }
  for (const which of ['line', 'service']) editors[which].dispatch(setDiagnostics(editors[which].state, marks[which]));
}

// --- Files to take away ----------------------------------------------------------------------

let downloadUrls = [];
function showDownloads(files) {
  for (const url of downloadUrls) URL.revokeObjectURL(url);
  downloadUrls = [];
  const list = $('downloads');
  list.replaceChildren();
  for (const file of files) {
    const url = URL.createObjectURL(new Blob([file.bytes], { type: 'application/octet-stream' }));
    downloadUrls.push(url);
    const link = document.createElement('a');
    link.href = url;
    link.download = file.name;
    link.textContent = `${file.name} (${file.bytes.length} bytes)`;
    const item = document.createElement('li');
    item.append(link);
    list.append(item);
  }
}

// --- Files opened from disk ------------------------------------------------------------------

// Compiled files grouped into scenarios: <stem>.sim with <stem>.dat, and the plan of the
// longest <name>_linea.dat whose name begins the stem; without a plan the stem splits at its
// last "_".
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
  const files = [];
  for (const file of fileList) {
    const { result: kind } = await ask('openedFileKind', file.name);
    files.push({ name: file.name, kind, bytes: new Uint8Array(await file.arrayBuffer()) });
  }
  // Sources are read as the program reads them, and the pair takes the scenario's name and
  // number from its file names as the program does.
  const named = { line: null, service: null };
  for (const source of files.filter((f) => f.kind === 'source')) {
    const { result: text } = await ask('sourceText', source.bytes);
    const which = source.name.endsWith('-.txt') ? 'service' : 'line';
    named[which] = source.name;
    setText(editors[which], text);
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

async function decompileInto(scenario, box) {
  const { result } = await ask('decompileCompiled', scenario);
  if (result.error) {
    box.append(Object.assign(document.createElement('p'), { textContent: result.error }));
    return;
  }
  $('scenario-name').value = result.name;
  $('scenario-number').value = result.number;
  setText(editors.line, result.line);
  setText(editors.service, result.service);
  if (result.remarks.length > 0) {
    box.append(Object.assign(document.createElement('pre'),
      { textContent: `not written back:\n${result.remarks.join('\n')}` }));
  }
}

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

// --- The built-in scenario, first ------------------------------------------------------------

(async () => {
  const { result } = await ask('builtinSources');
  $('scenario-name').value = result.name;
  $('scenario-number').value = result.number;
  setText(editors.line, result.line);
  setText(editors.service, result.service);
  clearTimeout(timer);
  compile();
})();
