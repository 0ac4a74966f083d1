// Runs the compiler and the readers off the page's thread: each message names a function of
// the module and its arguments, and the answer carries the time it took.
importScripts('scenario_web.js');

const ready = ScenarioModule();

self.onmessage = async (event) => {
  const { id, op, args } = event.data;
  const module = await ready;
  const started = performance.now();
  let result;
  try {
    result = module[op](...args);
  } catch (error) {
    result = { error: String(error) };
  }
  const ms = performance.now() - started;
  const transfer = [];
  for (const list of [result.files, result.sources]) {
    if (Array.isArray(list)) for (const file of list) transfer.push(file.bytes.buffer);
  }
  self.postMessage({ id, result, ms }, transfer);
};
