// The page around the program: the menu from the program's own table, the picture in the canvas,
// links in the address, the way back to the menu, full screen, the moving pictures' clock, the
// keys, and the console lines.
'use strict';

const kConsoleLines = 8;  // the console area keeps only the last lines

const page = {
  message: document.getElementById('message'),
  menu: document.getElementById('menu'),
  loading: document.getElementById('loading'),
  items: document.getElementById('menu-items'),
  picture: document.getElementById('picture'),
  stage: document.getElementById('stage'),
  canvas: document.getElementById('canvas'),
  frameLink: document.getElementById('frame-link'),
  pause: document.getElementById('pause'),
  speed: document.getElementById('speed'),
  description: document.getElementById('picture-description'),
  console: document.getElementById('console'),
};

// The program's constants, read from it once it has loaded: what plotnik_open_link answers
// (shows), what steers a picture (steering) and the lesson keys plotnik_key takes (keys).
let program = null;
let steering = null;  // what steers the live picture; null with none
let paused = false;

// The program's console lines, shown at most once per painted frame however many come.
const consoleLines = [];
let consoleRedraw = 0;

function addConsoleLine(line) {
  consoleLines.push(line);
  if (consoleLines.length > kConsoleLines) {
    consoleLines.splice(0, consoleLines.length - kConsoleLines);
  }
  if (consoleRedraw === 0) {
    consoleRedraw = requestAnimationFrame(() => {
      consoleRedraw = 0;
      page.console.textContent = consoleLines.join('\n');
      page.console.scrollTop = page.console.scrollHeight;  // a short console shows the newest
    });
  }
}

function showMessage(text) {
  page.message.textContent = text;
  page.message.hidden = text === '';
}

// The canvas tells what it shows: its name is the menu line, its description what the picture
// shows and what steers it; data-link is the link of the frame on it.
function describePicture(shown) {
  if (!shown) {
    page.canvas.removeAttribute('aria-label');
    page.canvas.removeAttribute('data-link');
    page.description.textContent = '';
    return;
  }
  page.canvas.setAttribute('aria-label', Module.ccall('plotnik_picture_line', 'string', [], []));
  page.description.textContent = Module.ccall('plotnik_picture_description', 'string', [], []);
}

function showMenu() {
  page.picture.hidden = true;
  page.menu.hidden = false;
  page.canvas.removeAttribute('data-state');
  steering = null;
  document.body.classList.remove('showing-picture');
  describePicture(false);
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
  }
}

// Shows what the address's link asks for: the menu, a live picture or a frozen frame.
function follow(link) {
  showMessage('');
  page.canvas.removeAttribute('data-state');
  page.canvas.removeAttribute('data-link');
  // The canvas has its size on the page before the program opens its window in it.
  page.picture.hidden = false;
  page.menu.hidden = true;
  document.body.classList.add('showing-picture');
  let shown;
  try {
    shown = Module.ccall('plotnik_open_link', 'number', ['string'], [link]);
  } catch (failure) {
    showMenu();
    showMessage('Błąd programu: ' + failure);
    return;
  }
  page.frameLink.hidden = shown !== program.shows.live;
  steering = Module._plotnik_live_steering();
  // A moving picture opens running at the page's pace; the keys start from the centre unless the
  // pointer is over the page.
  paused = false;
  page.pause.textContent = 'Pauza';
  page.speed.value = '1';
  page.pause.hidden = steering === program.steering.nothing;
  page.speed.parentElement.hidden = steering !== program.steering.clock;
  if (shown === program.shows.live) {
    describePicture(true);
    pointAt();
    return;
  }
  if (shown === program.shows.frozen) {
    describePicture(true);
    page.canvas.setAttribute('data-state', 'drawn');
    return;
  }
  showMenu();
  if (shown === program.shows.refused) {
    showMessage(Module.ccall('plotnik_message', 'string', [], []));
  }
}

// The pointer in frame pixels, mapped back from wherever and however large the canvas is drawn;
// outside the canvas it holds at the nearest edge, as a window's pointer does.
let pointer = null;

const clamp = (value, low, high) => Math.min(Math.max(value, low), high);

function pointAt() {
  const box = page.canvas.getBoundingClientRect();
  if (pointer === null || page.picture.hidden || box.width === 0) {
    return;
  }
  const frame = (offset, size, pixels) => clamp(Math.floor((offset * pixels) / size), 0, pixels - 1);
  Module._plotnik_point_at(frame(pointer.x - box.left, box.width, page.canvas.width),
    frame(pointer.y - box.top, box.height, page.canvas.height));
}

function showPaused(held) {
  paused = held;
  page.pause.textContent = paused ? 'Wznów' : 'Pauza';
}

function setPaused(pause) {
  showPaused(Module._plotnik_pause(pause ? 1 : 0) === 1);
}

// The picture's own keys, given to the program, which decides what each does: Space holds a moving
// picture, the arrows step a held clock or move a mouse picture's pointer, Shift makes the steps
// big. Keys that a focused control uses itself (Space on a button, arrows in the list of speeds)
// stay the control's.
function pictureKey(event) {
  const target = event.target;
  const onControl = target instanceof HTMLButtonElement || target instanceof HTMLSelectElement ||
    target instanceof HTMLAnchorElement;
  const keys = { ' ': program.keys.hold, ArrowLeft: program.keys.left, ArrowRight: program.keys.right,
    ArrowUp: program.keys.up, ArrowDown: program.keys.down };
  const key = keys[event.key];
  if (key === undefined || target instanceof HTMLSelectElement || (key === program.keys.hold && onControl)) {
    return false;
  }
  const used = Module._plotnik_key(key, event.shiftKey ? 1 : 0) === 1;
  if (used && key === program.keys.hold) {
    showPaused(!paused);
  }
  return used;
}

function followPointer(event) {
  pointer = { x: event.clientX, y: event.clientY };
  pointAt();
}

// A link to the frame a live picture shows now, for a worksheet or a slide: copied where the
// browser allows it, and shown to copy by hand.
function linkThisFrame() {
  if (page.canvas.dataset.link === undefined) {
    return;  // no frame drawn yet
  }
  const link = location.href.split('#')[0] + '#' + page.canvas.dataset.link;
  showMessage('Link do tej klatki: ' + link);
  navigator.clipboard?.writeText(link).then(() => showMessage('Skopiowano link do tej klatki: ' + link), () => {});
}

// Back to the menu as closing the window does; the address loses its link.
function backToMenu() {
  if (location.hash !== '') {
    history.pushState(null, '', location.pathname + location.search);
  }
  follow('');
}

function buildMenu() {
  const count = Module.ccall('plotnik_menu_count', 'number', [], []);
  for (let i = 0; i < count; ++i) {
    const answer = Module.ccall('plotnik_menu_answer', 'string', ['number'], [i]);
    const link = document.createElement('a');
    link.href = '#answer=' + encodeURIComponent(answer);
    link.textContent = Module.ccall('plotnik_menu_line', 'string', ['number'], [i]);
    const item = document.createElement('li');
    item.appendChild(link);
    page.items.appendChild(item);
  }
  page.loading.hidden = true;
}

function start() {
  program = JSON.parse(Module.ccall('plotnik_page_constants', 'string', [], []));
  buildMenu();
  window.addEventListener('hashchange', () => follow(location.hash));
  document.getElementById('back').addEventListener('click', backToMenu);
  page.frameLink.addEventListener('click', linkThisFrame);
  document.getElementById('fullscreen').addEventListener('click', () => {
    page.stage.requestFullscreen().catch(() => {});
  });
  page.pause.addEventListener('click', () => setPaused(!paused));
  page.speed.addEventListener('change', () => Module._plotnik_set_speed(Number(page.speed.value)));
  window.addEventListener('pointermove', followPointer, { passive: true });
  window.addEventListener('pointerdown', followPointer, { passive: true });
  // The program's mouse handling keeps a click from focusing the canvas; the page does it.
  page.canvas.addEventListener('pointerdown', () => page.canvas.focus({ preventScroll: true }));
  document.addEventListener('keydown', (event) => {
    if (page.picture.hidden || event.ctrlKey || event.altKey || event.metaKey) {
      return;
    }
    if (event.key === 'Escape' && !document.fullscreenElement) {
      backToMenu();
    }
    // L gives the link with the pointer still where it is; going to the button moves it.
    if ((event.key === 'l' || event.key === 'L') && !page.frameLink.hidden) {
      linkThisFrame();
    }
    if (pictureKey(event)) {
      event.preventDefault();
    }
  });
  follow(location.hash);
}

var Module = {
  canvas: page.canvas,
  frameDrawn: (link) => { page.canvas.dataset.link = link; },
  print: addConsoleLine,
  printErr: (line) => console.warn(line),
  onRuntimeInitialized: start,
  onAbort: (what) => {
    showMenu();
    page.loading.hidden = true;
    showMessage('Błąd programu: ' + what + '. Odśwież stronę.');
  },
};

// The program: its packed WebAssembly first, unpacked here, then the JavaScript that runs it.
// Whatever fails on the way, the page says so instead of loading for ever.
function cannotLoad(why) {
  page.loading.hidden = true;
  showMessage('Nie udało się wczytać programu: ' + why);
}

function loadScript(source) {
  return new Promise((loaded, failed) => {
    const script = document.createElement('script');
    script.src = source;
    script.onload = loaded;
    script.onerror = () => failed(new Error(source));
    document.body.appendChild(script);
  });
}

async function loadProgram() {
  if (typeof DecompressionStream === 'undefined') {
    throw new Error('ta przeglądarka jest za stara (brak DecompressionStream)');
  }
  await loadScript('plotnik-program.js');
  const packed = Uint8Array.from(atob(plotnikProgram), (c) => c.charCodeAt(0));
  const unpacked = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
  Module.wasmBinary = new Uint8Array(await new Response(unpacked).arrayBuffer());
  await loadScript('plotnik.js');
}

// Served over http(s), a service worker keeps the page's files, so the page opens (and installs as
// an app) with no network. Opened from its folder the page needs none.
function keepForOffline() {
  if ('serviceWorker' in navigator && (location.protocol === 'https:' || location.protocol === 'http:')) {
    navigator.serviceWorker.register('service-worker.js').catch((failure) => console.warn('service worker:', failure));
  }
}

loadProgram().then(keepForOffline, (failure) => cannotLoad(failure.message));
