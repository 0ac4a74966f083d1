// The author's work kept in the browser's storage, so that it survives a reload: the
// scenario's name and number and both sources, as the editors hold them.
const kKey = 'scenario-builder.work';

export function keepWork(work) {
  try {
    window.localStorage.setItem(kKey, JSON.stringify(work));
  } catch {
    // Storage full or refused: the work stays in the editors only.
  }
}

// The kept work, or null when there is none (or it cannot be read).
export function keptWork() {
  try {
    const work = JSON.parse(window.localStorage.getItem(kKey));
    if (work && ['name', 'number', 'line', 'service'].every((k) => typeof work[k] === 'string')) return work;
  } catch {
    // Unreadable: as if nothing were kept.
  }
  return null;
}

export function forgetWork() {
  try {
    window.localStorage.removeItem(kKey);
  } catch {
    // Nothing to forget.
  }
}
