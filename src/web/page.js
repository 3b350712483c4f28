// The page around the program: the menu from the program's own table, the picture in the canvas,
// links in the address, the way back to the menu, full screen, and the console lines.
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
  console: document.getElementById('console'),
};

// What plotnik_open_link answers.
const kShown = { refused: -1, menu: 0, live: 1, frozen: 2 };

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
    });
  }
}

function showMessage(text) {
  page.message.textContent = text;
  page.message.hidden = text === '';
}

function showMenu() {
  page.picture.hidden = true;
  page.menu.hidden = false;
  page.canvas.removeAttribute('data-state');
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
  }
}

// Shows what the address's link asks for: the menu, a live picture or a frozen frame.
function follow(link) {
  showMessage('');
  page.canvas.removeAttribute('data-state');
  // The canvas has its size on the page before the program opens its window in it.
  page.picture.hidden = false;
  page.menu.hidden = true;
  let shown;
  try {
    shown = Module.ccall('plotnik_open_link', 'number', ['string'], [link]);
  } catch (failure) {
    showMenu();
    showMessage('Blad programu: ' + failure);
    return;
  }
  page.frameLink.hidden = shown !== kShown.live;
  if (shown === kShown.live) {
    pointAt();
    return;
  }
  if (shown === kShown.frozen) {
    page.canvas.setAttribute('data-state', 'drawn');
    return;
  }
  showMenu();
  if (shown === kShown.refused) {
    showMessage(Module.ccall('plotnik_message', 'string', [], []));
  }
}

// The pointer in frame pixels, mapped back from wherever and however large the canvas is drawn;
// outside the canvas it holds at the nearest edge, as a window's pointer does.
let pointer = null;

function pointAt() {
  const box = page.canvas.getBoundingClientRect();
  if (pointer === null || page.picture.hidden || box.width === 0) {
    return;
  }
  const frame = (offset, size, pixels) => Math.min(Math.max(Math.floor((offset * pixels) / size), 0), pixels - 1);
  Module._plotnik_point_at(frame(pointer.x - box.left, box.width, page.canvas.width),
    frame(pointer.y - box.top, box.height, page.canvas.height));
}

function followPointer(event) {
  pointer = { x: event.clientX, y: event.clientY };
  pointAt();
}

// A link to the frame a live picture shows now, for a worksheet or a slide: copied where the
// browser allows it, and shown to copy by hand.
function linkThisFrame() {
  const link = location.href.split('#')[0] + '#' + Module.ccall('plotnik_frame_link', 'string', [], []);
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
  buildMenu();
  window.addEventListener('hashchange', () => follow(location.hash));
  document.getElementById('back').addEventListener('click', backToMenu);
  page.frameLink.addEventListener('click', linkThisFrame);
  document.getElementById('fullscreen').addEventListener('click', () => {
    page.stage.requestFullscreen().catch(() => {});
  });
  window.addEventListener('pointermove', followPointer, { passive: true });
  window.addEventListener('pointerdown', followPointer, { passive: true });
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && !page.picture.hidden && !document.fullscreenElement) {
      backToMenu();
    }
    // L gives the link with the pointer still where it is; going to the button moves it.
    if ((event.key === 'l' || event.key === 'L') && !page.frameLink.hidden && !page.picture.hidden) {
      linkThisFrame();
    }
  });
  follow(location.hash);
}

var Module = {
  canvas: page.canvas,
  print: addConsoleLine,
  printErr: (line) => console.warn(line),
  onRuntimeInitialized: start,
  onAbort: (what) => {
    showMenu();
    page.loading.hidden = true;
    showMessage('Blad programu: ' + what + '. Odswiez strone.');
  },
};

// The program: its packed WebAssembly first, unpacked here, then the JavaScript that runs it.
// Whatever fails on the way, the page says so instead of loading for ever.
function cannotLoad(why) {
  page.loading.hidden = true;
  showMessage('Nie udalo sie wczytac programu: ' + why);
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
    throw new Error('ta przegladarka jest za stara (brak DecompressionStream)');
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
