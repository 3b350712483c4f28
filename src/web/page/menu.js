// The menu, built from the program's own table of pictures: each line a link to its picture.
import { leaveFullScreen } from './full_screen.js';

export function buildMenu(page, state) {
  const { program } = state;
  const count = program.ccall('plotnik_menu_count', 'number', [], []);
  for (let i = 0; i < count; ++i) {
    const answer = program.ccall('plotnik_menu_answer', 'string', ['number'], [i]);
    const link = document.createElement('a');
    link.href = '#answer=' + encodeURIComponent(answer);
    link.textContent = program.ccall('plotnik_menu_line', 'string', ['number'], [i]);
    const item = document.createElement('li');
    item.appendChild(link);
    page.items.appendChild(item);
  }
  page.loading.hidden = true;
}

// The canvas tells what it shows: its name is the menu line, its description what the picture
// shows and what steers it; data-link is the link of the frame on it.
export function describePicture(page, state, shown) {
  if (!shown) {
    page.canvas.removeAttribute('aria-label');
    page.canvas.removeAttribute('data-link');
    page.description.textContent = '';
    return;
  }
  page.canvas.setAttribute('aria-label', state.program.ccall('plotnik_picture_line', 'string', [], []));
  page.description.textContent = state.program.ccall('plotnik_picture_description', 'string', [], []);
}

export function showMenu(page, state) {
  page.picture.hidden = true;
  page.menu.hidden = false;
  page.canvas.removeAttribute('data-state');
  state.steering = null;
  document.body.classList.remove('showing-picture');
  describePicture(page, state, false);
  leaveFullScreen();
}
