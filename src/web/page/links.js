// The address's link decides what the page shows: the menu, a live picture or a frozen frame. The
// picture's controls are set for what it shows each time a link is followed.
import { showClock } from './clock.js';
import { endRecording, showGifPanel } from './gif.js';
import { describePicture, showMenu } from './menu.js';
import { showMessage } from './message.js';
import { buildParameters } from './parameters.js';

export function follow(page, state, link) {
  const { program, constants: { shows, steering } } = state;
  showMessage(page, '');
  endRecording(page, state, '');  // the program ends it as it closes the picture
  buildParameters(page, state, false);
  page.canvas.removeAttribute('data-state');
  page.canvas.removeAttribute('data-link');
  // The canvas has its size on the page before the program opens its window in it.
  page.picture.hidden = false;
  page.menu.hidden = true;
  document.body.classList.add('showing-picture');
  let shown;
  try {
    shown = program.ccall('plotnik_open_link', 'number', ['string'], [link]);
  } catch (failure) {
    showMenu(page, state);
    showMessage(page, 'Błąd programu: ' + failure);
    return;
  }
  page.frameLink.hidden = shown !== shows.live;
  state.steering = program._plotnik_live_steering();
  // A moving picture opens running at the page's pace, its pointer at the frame's centre until a
  // click, a finger or a key moves it.
  showClock(page, state);
  buildParameters(page, state, shown === shows.live);
  // Any picture shown can be saved; a clock picture, live or frozen, recorded.
  page.savePng.hidden = shown !== shows.live && shown !== shows.frozen;
  page.gifToggle.hidden = program._plotnik_picture_steering() !== steering.clock;
  showGifPanel(page, false);
  page.gifStatus.textContent = '';
  if (shown === shows.live) {
    describePicture(page, state, true);
    return;
  }
  if (shown === shows.frozen) {
    describePicture(page, state, true);
    page.canvas.setAttribute('data-state', 'drawn');
    return;
  }
  showMenu(page, state);
  if (shown === shows.refused) {
    showMessage(page, program.ccall('plotnik_message', 'string', [], []));
  }
}

// Back to the menu as closing the window does; the address loses its link.
export function backToMenu(page, state) {
  if (location.hash !== '') {
    history.pushState(null, '', location.pathname + location.search);
  }
  follow(page, state, '');
}
