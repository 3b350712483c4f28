// The page around the program: the menu from the program's own table, the picture in the canvas,
// links in the address, the way back to the menu, full screen, the moving pictures' clock, the
// keys, the frame saved as a PNG and a clock picture recorded as a GIF, the console lines, a link as
// a QR code, and a lesson with a class.
// Each of those is a module of its own; this one makes the page's state, in one record handed to
// their functions with the page's elements, and joins them to the page's events. The build joins
// the modules into page.js, one classic script, which a page opened from its folder may run.
import { buildSpeeds, setPaused, setSpeed } from './clock.js';
import { offerClass } from './class_offer.js';
import { findElements } from './elements.js';
import { linkThisFrame } from './frame_link.js';
import { enterFullScreen, offerFullScreen } from './full_screen.js';
import { buildGifChoices, cancelRecording, recordGif, recordSlice, showGifPanel } from './gif.js';
import { pageKey } from './keys.js';
import { backToMenu, follow } from './links.js';
import { cannotLoad, loadProgram } from './loader.js';
import { buildMenu } from './menu.js';
import { keepForOffline } from './offline.js';
import { toggleParameters } from './parameters.js';
import { offerPng, savePicture } from './png.js';
import { dragOnPicture, pressOnPicture, releasePicture } from './pointer.js';
import { makeModule } from './program.js';
import { findQrElements, offerQr } from './qr.js';

const page = { ...findElements(document), ...findQrElements(document) };

const state = {
  program: null,        // the program's Module, whose functions the page calls
  constants: null,      // the program's constants (plotnik_page_constants), once it has loaded
  steering: null,       // what steers the live picture; null with none
  paused: false,        // whether the live picture is held
  consoleLines: [],     // the console's last lines
  consoleRedraw: 0,     // the animation frame that shows them, 0 with none asked for
  dragging: null,       // the pointer pressed on the picture, while it is held down
  parameterFields: [],  // the live picture's parameter fields, each with its note
  fieldsTurn: 0,        // the timer that shows the running picture's values in the fields, 0 with none
  firstPicture: null,   // what is done once the first frame is on the canvas
  recording: null,      // the GIF being recorded: its number and its frames
  recordings: 0,        // recordings begun, numbered so that a slice of an ended one does nothing
  recordingTurns: new MessageChannel(),  // a recording's slices, each a task of its own
  classServer: null,    // the class server's WebSocket address, where the page's folder has one
  classLesson: null,    // the lesson with a class this page teaches or follows, null with none
  classScript: null,    // class.js loading or loaded (its promise), null before it is needed
};

// The program has loaded: the page reads its constants, builds the menu and the choices, listens,
// and shows what the address asks for.
function start() {
  state.constants = JSON.parse(state.program.ccall('plotnik_page_constants', 'string', [], []));
  const { constants } = state;
  buildMenu(page, state);
  window.addEventListener('hashchange', () => follow(page, state, location.hash));
  page.back.addEventListener('click', () => backToMenu(page, state));
  page.frameLink.addEventListener('click', () => linkThisFrame(page));
  offerFullScreen(page);
  page.fullscreen.addEventListener('click', () => enterFullScreen(page));
  buildSpeeds(page, constants.speeds);
  page.pause.addEventListener('click', () => setPaused(page, state, !state.paused));
  page.speed.addEventListener('change', () => setSpeed(page, state));
  page.canvas.addEventListener('pointerdown', (event) => pressOnPicture(page, state, event));
  page.canvas.addEventListener('pointermove', (event) => dragOnPicture(page, state, event), { passive: true });
  page.canvas.addEventListener('pointerup', (event) => releasePicture(state, event));
  page.canvas.addEventListener('pointercancel', (event) => releasePicture(state, event));
  page.parametersToggle.addEventListener('click', () => toggleParameters(page));
  offerPng(page, constants.frame);
  page.savePng.addEventListener('click', () => savePicture(page, state));
  buildGifChoices(page, constants.gif);
  page.gifToggle.addEventListener('click', () => showGifPanel(page, page.gifPanel.hidden));
  page.recordGif.addEventListener('click', () => recordGif(page, state));
  page.gifCancel.addEventListener('click', () => cancelRecording(page, state));
  state.recordingTurns.port1.onmessage = (event) => recordSlice(page, state, event);
  document.addEventListener('keydown', (event) => pageKey(page, state, event));
  follow(page, state, location.hash);
  // The rest of the site is kept for use with no network only once what the link asks for is on
  // the page: the menu, a frozen frame, or a live picture's first frame (or the menu, if the
  // page goes back to it before that).
  if (page.picture.hidden || page.canvas.dataset.link !== undefined) {
    keepForOffline();
  } else {
    state.firstPicture = () => {
      state.firstPicture = null;
      keepForOffline();
    };
  }
  offerQr(page);
  offerClass(page, state);
}

// The program's script finds its Module by that global name, and so do the tests.
state.program = makeModule(page, state, start);
globalThis.Module = state.program;
loadProgram(page, state.program).catch((failure) => cannotLoad(page, failure.message));
