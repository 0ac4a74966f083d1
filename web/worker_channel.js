// The page's side of the worker: the module's functions asked by promise, and the language
// server's messages as a transport for the editors' language-server client.
const worker = new Worker('worker.js');
const waiting = new Map();
const serverListeners = new Set();
let nextId = 1;

worker.onmessage = ({ data }) => {
  if (data.server !== undefined) {
    for (const listener of serverListeners) listener(data.server);
    return;
  }
  waiting.get(data.id)(data);
  waiting.delete(data.id);
};

// Calls a function of the module in the worker: { result, ms }.
export function ask(op, ...args) {
  const id = nextId++;
  return new Promise((resolve) => {
    waiting.set(id, resolve);
    worker.postMessage({ id, op, args });
  });
}

// The language server in the worker, as @codemirror/lsp-client's transport. Its messages and
// the module's functions go through one queue, so an answer never overtakes an edit.
export const serverTransport = {
  send(message) {
    worker.postMessage({ client: message });
  },
  subscribe(listener) {
    serverListeners.add(listener);
  },
  unsubscribe(listener) {
    serverListeners.delete(listener);
  },
};
