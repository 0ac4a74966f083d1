// The editors' language-server client: CodeMirror's own client over the worker, with hover
// and completion as it gives them, and what the page shows beside them: the diagnostics of
// both sources listed with their notes, marked in the editors with the server's quick fixes
// and explanations, and each source's outline.
import { LSPClient, LSPPlugin, hoverTooltips, serverCompletion } from '@codemirror/lsp-client';
import { setDiagnostics } from '@codemirror/lint';
import { EditorView } from '@codemirror/view';
import { serverTransport } from './worker_channel.js';

const severities = { 1: 'error', 2: 'warning', 3: 'info', 4: 'hint' };

// The editors by the URI their source has at the server: { uri: { which, view, name } }.
const editorsByUri = new Map();
// The server's last diagnostics of each URI.
const published = new Map();
const listeners = { diagnostics: () => {}, explanation: () => {} };

export const client = new LSPClient({
  timeout: 10000,
  notificationHandlers: {
    'textDocument/publishDiagnostics': (_, params) => {
      published.set(params.uri, params.diagnostics);
      markEditor(params.uri);
      listeners.diagnostics(params.uri);
      return true;
    },
    'window/showMessage': (_, params) => {
      listeners.explanation(params.message);
      return true;
    },
  },
});

export function onDiagnostics(listener) {
  listeners.diagnostics = listener;
}
export function onExplanation(listener) {
  listeners.explanation = listener;
}

// The client's extensions for an editor whose source the server knows by `uri`.
export function serverExtensions(uri) {
  return [client.plugin(uri, 'scenario-sources'), hoverTooltips()];
}
export const completion = serverCompletion({ override: true });

// Tells the client which editor holds the source named `name` at `uri` now.
export function placeEditor(which, view, uri, name) {
  for (const [known, editor] of editorsByUri) if (editor.which === which) editorsByUri.delete(known);
  editorsByUri.set(uri, { which, view, name });
}

// The editor offset of a server position, mapped over the edits made since the server saw it.
function offsetOf(view, position) {
  const plugin = LSPPlugin.get(view);
  if (!plugin) return 0;
  const doc = plugin.syncedDoc;
  const line = doc.line(Math.min(Math.max(position.line + 1, 1), doc.lines));
  const at = Math.min(line.from + Math.max(position.character, 0), line.to);
  return plugin.unsyncedChanges.mapPos(at);
}

// Applies the edit of a code action to the editors it concerns.
function applyEdit(edit) {
  for (const [uri, changes] of Object.entries(edit.changes || {})) {
    const editor = editorsByUri.get(uri);
    if (!editor) continue;
    editor.view.dispatch({
      changes: changes.map((change) => ({
        from: offsetOf(editor.view, change.range.start),
        to: offsetOf(editor.view, change.range.end),
        insert: change.newText,
      })),
      userEvent: 'input.fix',
    });
  }
}

// The server's code actions for one of its diagnostics.
async function actionsFor(uri, diagnostic) {
  client.sync();
  return client.request('textDocument/codeAction', {
    textDocument: { uri },
    range: diagnostic.range,
    context: { diagnostics: [diagnostic] },
  });
}

// Runs the server's action of a diagnostic: its fix (an edit) or its explanation (a command).
export async function runAction(uri, diagnostic, wanted) {
  const actions = await actionsFor(uri, diagnostic);
  const action = actions.find((a) => (wanted === 'fix' ? a.edit : a.command));
  if (!action) return;
  if (action.edit) applyEdit(action.edit);
  if (action.command) await client.request('workspace/executeCommand', action.command);
}

function notesOf(diagnostic) {
  return (diagnostic.relatedInformation || []).map((note) => note.message);
}

function markEditor(uri) {
  const editor = editorsByUri.get(uri);
  if (!editor) return;
  const view = editor.view;
  const marks = (published.get(uri) || []).map((d) => {
    const from = offsetOf(view, d.range.start);
    const to = Math.max(offsetOf(view, d.range.end), from);
    const actions = [];
    if (d.data && d.data.fix) actions.push({ name: 'Fix', apply: () => runAction(uri, d, 'fix') });
    if (d.code !== undefined) actions.push({ name: 'Explain', apply: () => runAction(uri, d, 'explain') });
    const notes = notesOf(d);
    return {
      from,
      to,
      severity: severities[d.severity] === 'hint' ? 'hint' : severities[d.severity] || 'error',
      source: d.code !== undefined ? String(d.code) : undefined,
      message: [d.message, ...notes.map((n) => `note: ${n}`)].join('\n'),
      actions,
    };
  });
  view.dispatch(setDiagnostics(view.state, marks));
}

// Every diagnostic the server published for the editors' sources, in editor order, with
// where it stands: { which, name, uri, line, column, diagnostic }.
export function diagnosticsShown() {
  const shown = [];
  for (const which of ['line', 'service']) {
    for (const [uri, editor] of editorsByUri) {
      if (editor.which !== which) continue;
      for (const d of published.get(uri) || [])
        shown.push({ which, name: editor.name, uri, line: d.range.start.line + 1, column: d.range.start.character + 1,
          diagnostic: d });
    }
  }
  return shown;
}

// Moves the cursor of an editor to a server position.
export function goTo(which, position) {
  for (const editor of editorsByUri.values()) {
    if (editor.which !== which) continue;
    const at = offsetOf(editor.view, position);
    editor.view.dispatch({ selection: { anchor: at }, effects: EditorView.scrollIntoView(at, { y: 'center' }) });
    editor.view.focus();
  }
}

// The outline of the source at `uri`: the server's document symbols.
export async function outlineOf(uri) {
  client.sync();
  try {
    return await client.request('textDocument/documentSymbol', { textDocument: { uri } });
  } catch {
    return [];
  }
}

export { severities, notesOf };
