// The program's Module: what the page gives the program (the canvas to draw in) and the hooks the
// program calls: a frame drawn with its link, a GIF recorded, a console line, and the end of
// loading or a failure on the way.
import { addConsoleLine } from './console.js';
import { gifRecorded } from './gif.js';
import { showMenu } from './menu.js';
import { showMessage } from './message.js';
import { showParameters } from './parameters.js';

export function makeModule(page, state, start) {
  return {
    canvas: page.canvas,
    frameDrawn: (link) => {
      page.canvas.dataset.link = link;
      showParameters(state, true);
    },
    gifRecorded: (blob, name) => gifRecorded(page, state, blob, name),
    print: (line) => addConsoleLine(page, state, line),
    printErr: (line) => console.warn(line),
    onRuntimeInitialized: start,
    onAbort: (what) => {
      showMenu(page, state);
      page.loading.hidden = true;
      showMessage(page, 'Błąd programu: ' + what + '. Odśwież stronę.');
    },
  };
}
