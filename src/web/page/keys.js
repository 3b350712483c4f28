// The keys on a picture: Escape back to the menu, L the link of the frame, and the picture's own
// keys, given to the program, which decides what each does: Space holds a moving picture, the
// arrows step a held clock or move a mouse picture's pointer, Shift makes the steps big. Keys that
// a focused control uses itself (Space on a button, arrows in the list of speeds) stay the
// control's, and a parameter field takes all its keys.
import { showPaused } from './clock.js';
import { linkThisFrame } from './frame_link.js';
import { backToMenu } from './links.js';

const kLessonKeys = new Map([[' ', 'hold'], ['ArrowLeft', 'left'], ['ArrowRight', 'right'], ['ArrowUp', 'up'],
  ['ArrowDown', 'down']]);

// What has the focus, as far as the keys are concerned.
export function focusKind(target) {
  if (target instanceof HTMLInputElement) {
    return 'field';
  }
  if (target instanceof HTMLSelectElement) {
    return 'list';
  }
  const control = target instanceof HTMLButtonElement || target instanceof HTMLAnchorElement;
  return control ? 'control' : 'other';
}

// The program's lesson key (keys: the program's numbers by name) for a key pressed with the focus
// on a kind of element; undefined when the key is not the picture's.
export function lessonKeyFor(key, focus, keys) {
  const name = kLessonKeys.get(key);
  if (name === undefined || focus === 'field' || focus === 'list' || (name === 'hold' && focus === 'control')) {
    return undefined;
  }
  return keys[name];
}

function pictureKey(page, state, event) {
  const { keys } = state.constants;
  const key = lessonKeyFor(event.key, focusKind(event.target), keys);
  if (key === undefined) {
    return false;
  }
  const used = state.program._plotnik_key(key, event.shiftKey ? 1 : 0) === 1;
  if (used && key === keys.hold) {
    showPaused(page, state, !state.paused);
  }
  return used;
}

export function pageKey(page, state, event) {
  // A QR code shown takes the keys: Escape closes it, and nothing else reaches the picture.
  if (page.picture.hidden || event.ctrlKey || event.altKey || event.metaKey || page.qrDialog?.open) {
    return;
  }
  if (event.key === 'Escape' && !document.fullscreenElement) {
    backToMenu(page, state);
  }
  // L gives the link from the keyboard; a parameter field takes its letters itself.
  if ((event.key === 'l' || event.key === 'L') && !page.frameLink.hidden &&
      !(event.target instanceof HTMLInputElement)) {
    linkThisFrame(page);
  }
  if (pictureKey(page, state, event)) {
    event.preventDefault();
  }
}
