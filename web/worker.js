// Runs the compiler, the readers and the language server off the page's thread. A message
// either names a function of the module and its arguments, and the answer carries the time it
// took; or carries a message of the editors' language-server client, and every message the
// server sends in return goes back as it is.
importScripts('scenario_web.js');

const ready = ScenarioModule();

self.onmessage = async (event) => {
  const module = await ready;
  if (event.data.client !== undefined) {
    for (const message of module.languageMessage(event.data.client)) self.postMessage({ server: message });
    return;
  }
  const { id, op, args } = event.data;
  const started = performance.now();
  let result;
  try {
    result = module[op](...args);
  } catch (error) {
    result = { error: String(error) };
  }
  const ms = performance.now() - started;
  const transfer = [];
  if (result && result.file) transfer.push(result.file.bytes.buffer);
  self.postMessage({ id, result, ms }, transfer);
};
