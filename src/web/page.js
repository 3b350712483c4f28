// The page around the program: the menu from the program's own table, the picture in the canvas,
// links in the address, the way back to the menu, full screen, the moving pictures' clock, the
// keys, the frame saved as a PNG and a clock picture recorded as a GIF, and the console lines.
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
  parametersToggle: document.getElementById('parameters-toggle'),
  parameters: document.getElementById('parameters'),
  description: document.getElementById('picture-description'),
  console: document.getElementById('console'),
  savePng: document.getElementById('save-png'),
  gifToggle: document.getElementById('gif-toggle'),
  gifPanel: document.getElementById('gif-panel'),
  gifSeconds: document.getElementById('gif-seconds'),
  gifFps: document.getElementById('gif-fps'),
  recordGif: document.getElementById('record-gif'),
  gifRecording: document.getElementById('gif-recording'),
  gifProgress: document.getElementById('gif-progress'),
  gifCancel: document.getElementById('gif-cancel'),
  gifStatus: document.getElementById('gif-status'),
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
  endRecording('');  // the program ends it as it closes the picture
  buildParameters(false);
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
  // A moving picture opens running at the page's pace, its pointer at the frame's centre until a
  // click, a finger or a key moves it.
  paused = false;
  page.pause.textContent = 'Pauza';
  page.speed.value = '1';
  page.pause.hidden = steering === program.steering.nothing;
  page.speed.parentElement.hidden = steering !== program.steering.clock;
  buildParameters(shown === program.shows.live);
  // Any picture shown can be saved; a clock picture, live or frozen, recorded.
  page.savePng.hidden = shown !== program.shows.live && shown !== program.shows.frozen;
  page.gifToggle.hidden = Module._plotnik_picture_steering() !== program.steering.clock;
  showGifPanel(false);
  page.gifStatus.textContent = '';
  if (shown === program.shows.live) {
    describePicture(true);
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

// A mouse picture follows a pointer pressed on it: a click puts its pointer there, a drag (or a
// finger) moves it. A pointer that only passes over the picture, or leaves it during a drag, on its
// way to a control, changes nothing. The frame pixel under the pointer is mapped back from wherever
// and however large the canvas is drawn.
let dragging = null;  // the pointer pressed on the picture, while it is held down

function framePixelUnder(event) {
  const box = page.canvas.getBoundingClientRect();
  const x = event.clientX - box.left;
  const y = event.clientY - box.top;
  if (box.width === 0 || x < 0 || y < 0 || x >= box.width || y >= box.height) {
    return null;
  }
  return { x: Math.floor((x * page.canvas.width) / box.width), y: Math.floor((y * page.canvas.height) / box.height) };
}

function steerFrom(event) {
  const pixel = framePixelUnder(event);
  if (pixel !== null) {
    Module._plotnik_point_at(pixel.x, pixel.y);
  }
}

function pressOnPicture(event) {
  // The program's mouse handling keeps a click from focusing the canvas; the page does it.
  page.canvas.focus({ preventScroll: true });
  if (event.button !== 0 || page.picture.hidden) {
    return;
  }
  dragging = event.pointerId;
  page.canvas.setPointerCapture?.(event.pointerId);
  steerFrom(event);
}

function dragOnPicture(event) {
  if (event.pointerId === dragging) {
    steerFrom(event);
  }
}

function releasePicture(event) {
  if (event.pointerId === dragging) {
    dragging = null;
  }
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
  if (target instanceof HTMLInputElement) {
    return false;  // a parameter field takes its own keys
  }
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

// The moving picture's parameters, as fields under the controls: updated as the picture moves,
// unless a field is being edited; a value typed (Enter, or leaving the field) holds the picture at
// the frame whose value is nearest; ↑ and ↓ move the value a step. On a narrow screen the fields
// fold behind "Parametry".
let parameterFields = [];

function buildParameters(live) {
  page.parameters.replaceChildren();
  parameterFields = [];
  const list = live ? JSON.parse(Module.ccall('plotnik_parameters', 'string', [], [])) : [];
  list.forEach((parameter, index) => {
    const item = document.createElement('span');
    item.className = 'parameter';
    const label = document.createElement('label');
    label.htmlFor = parameter.id;
    label.textContent = parameter.label;
    const field = document.createElement('input');
    field.id = parameter.id;
    field.type = 'text';
    field.inputMode = 'decimal';
    field.autocomplete = 'off';
    field.spellcheck = false;
    field.value = parameter.value;
    const note = document.createElement('span');
    note.id = parameter.id + '-note';
    note.className = 'parameter-note';
    note.setAttribute('role', 'status');
    field.setAttribute('aria-describedby', note.id);
    field.addEventListener('input', () => { field.dataset.editing = '1'; });
    field.addEventListener('keydown', (event) => parameterKey(event, index));
    field.addEventListener('change', () => typeParameter(index));
    field.addEventListener('blur', () => typeParameter(index));
    item.append(label, field, note);
    page.parameters.appendChild(item);
    parameterFields.push({ field, note });
  });
  page.parameters.hidden = list.length === 0;
  page.parametersToggle.hidden = list.length === 0;
}

// The values of the frame on the canvas, in every field but one being edited; a field with the
// focus keeps its text (and whatever of it is selected) until a value typed or stepped in it has
// reached the canvas.
function showParameters(frameDrawn = false) {
  if (parameterFields.length === 0) {
    return;
  }
  const list = JSON.parse(Module.ccall('plotnik_parameters', 'string', [], []));
  list.forEach((parameter, index) => {
    const { field } = parameterFields[index] ?? {};
    const focused = field === document.activeElement;
    if (!field || field.dataset.editing === '1' || (focused && field.dataset.refresh !== '1')) {
      return;
    }
    if (field.value !== parameter.value) {
      field.value = parameter.value;
    }
    if (frameDrawn) {
      delete field.dataset.refresh;
    }
  });
}

function typeParameter(index) {
  const { field, note } = parameterFields[index];
  if (field.dataset.editing !== '1') {
    return;
  }
  delete field.dataset.editing;
  field.dataset.refresh = '1';
  note.textContent = Module.ccall('plotnik_set_parameter', 'string', ['number', 'string'], [index, field.value]);
  showPaused(Module._plotnik_held() === 1);
  showParameters();
}

function parameterKey(event, index) {
  if (event.key === 'Enter') {
    typeParameter(index);
    event.preventDefault();
  } else if ((event.key === 'ArrowUp' || event.key === 'ArrowDown') && !event.altKey) {
    delete parameterFields[index].field.dataset.editing;
    parameterFields[index].field.dataset.refresh = '1';
    parameterFields[index].note.textContent = '';
    Module._plotnik_step_parameter(index, event.key === 'ArrowUp' ? 1 : -1);
    showPaused(Module._plotnik_held() === 1);
    showParameters();
    event.preventDefault();
  }
}

function toggleParameters() {
  const open = page.parametersToggle.getAttribute('aria-expanded') !== 'true';
  page.parametersToggle.setAttribute('aria-expanded', String(open));
  page.parameters.classList.toggle('open', open);
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

// A file the page made, handed to the user: on a phone (a coarse pointer) the system's share sheet
// when it takes files, else, and when sharing fails, a download. The download's address is kept a
// while for the browser to read it, then let go.
const kKeepDownloadMs = 30000;

function download(blob, name) {
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), kKeepDownloadMs);
}

function handOver(blob, name) {
  const file = new File([blob], name, { type: blob.type });
  if (matchMedia('(pointer: coarse)').matches && navigator.canShare?.({ files: [file] })) {
    navigator.share({ files: [file] }).catch((failure) => {
      if (failure.name !== 'AbortError') {
        download(blob, name);
      }
    });
    return;
  }
  download(blob, name);
}

// "Zapisz obraz": the frame on the canvas, which holds exactly the 1280 x 720 frame, as the
// browser's own lossless PNG, named by the program for that frame. The canvas is copied at once;
// only the encoding comes later.
function savePicture() {
  const name = Module.ccall('plotnik_frame_file_name', 'string', [], []);
  if (name === '') {
    return;  // no frame drawn yet
  }
  page.canvas.toBlob((blob) => {
    if (blob) {
      handOver(blob, name);
    } else {
      showMessage('Nie udało się zapisać obrazu.');
    }
  }, 'image/png');
}

// "Nagraj GIF": the program draws the clock picture's frames from the one on the canvas into its own
// memory, never onto the canvas, and encodes each as it is drawn. It runs in slices of a few
// frames, each its own task, so that the picture goes on moving and the controls answer; the
// picture's controls leave the recording as it was planned, and leaving the picture ends it.
const kSliceMs = 10;
const kDefaultGifSeconds = 2;
const kDefaultGifRate = 25;
const recordingTurns = new MessageChannel();
let recording = null;  // the GIF being recorded: its number and its frames
let recordings = 0;

function showGifPanel(open) {
  page.gifToggle.setAttribute('aria-expanded', String(open));
  page.gifPanel.hidden = !open;
}

function showRecording(frames) {
  const on = frames > 0;
  const focusBack = !on && page.gifRecording.contains(document.activeElement);
  page.recordGif.disabled = on;
  page.gifSeconds.disabled = on;
  page.gifFps.disabled = on;
  if (focusBack) {
    page.recordGif.focus();  // Przerwij goes away: the focus to where the recording began
  }
  page.gifRecording.hidden = !on;
  page.gifProgress.max = Math.max(frames, 1);
  page.gifProgress.value = 0;
}

function endRecording(status) {
  recording = null;
  showRecording(0);
  page.gifStatus.textContent = status;
}

function recordGif() {
  const why = Module.ccall('plotnik_record_begin', 'string', ['number', 'number'],
    [Number(page.gifSeconds.value), Number(page.gifFps.value)]);
  if (why !== '') {
    endRecording(why);
    return;
  }
  recording = { number: ++recordings, frames: Module._plotnik_record_frames() };
  showRecording(recording.frames);
  page.gifStatus.textContent = '';
  page.gifCancel.focus();
  recordingTurns.port2.postMessage(recording.number);
}

function recordSlice(event) {
  if (recording === null || event.data !== recording.number) {
    return;  // a slice of a recording ended since
  }
  const { frames } = recording;  // the last frame ends the recording (gifRecorded)
  const end = performance.now() + kSliceMs;
  let done;
  do {
    done = Module._plotnik_record_frame();
  } while (done > 0 && done < frames && performance.now() < end);
  if (done < 0) {
    endRecording('Nie udało się nagrać GIF-a. ' + Module.ccall('plotnik_record_problem', 'string', [], []));
  } else if (recording !== null) {
    page.gifProgress.value = done;
    recordingTurns.port2.postMessage(recording.number);
  }
}

const sizeFormat = new Intl.NumberFormat('pl-PL', { maximumFractionDigits: 1 });
const sizeText = (bytes) => (bytes < 1e6 ? `${sizeFormat.format(bytes / 1e3)}\u00a0kB` : `${sizeFormat.format(bytes / 1e6)}\u00a0MB`);

// The program's last frame of a GIF: the file is whole.
function gifRecorded(blob, name) {
  endRecording(`Gotowe: ${name} (${sizeText(blob.size)}).`);
  handOver(blob, name);
}

function cancelRecording() {
  Module._plotnik_record_cancel();
  endRecording('Nagrywanie przerwane.');
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
  // A browser that cannot show an element full screen (an iPhone's) offers no such button.
  const fullscreen = document.getElementById('fullscreen');
  fullscreen.hidden = !document.fullscreenEnabled || typeof page.stage.requestFullscreen !== 'function';
  fullscreen.addEventListener('click', () => {
    page.stage.requestFullscreen?.().catch(() => {});
  });
  page.pause.addEventListener('click', () => setPaused(!paused));
  page.speed.addEventListener('change', () => Module._plotnik_set_speed(Number(page.speed.value)));
  page.canvas.addEventListener('pointerdown', pressOnPicture);
  page.canvas.addEventListener('pointermove', dragOnPicture, { passive: true });
  page.canvas.addEventListener('pointerup', releasePicture);
  page.canvas.addEventListener('pointercancel', releasePicture);
  page.parametersToggle.addEventListener('click', toggleParameters);
  page.savePng.addEventListener('click', savePicture);
  for (const seconds of program.gif.seconds) {
    page.gifSeconds.add(new Option(`${seconds} s`, String(seconds), false, seconds === kDefaultGifSeconds));
  }
  for (const rate of program.gif.rates) {
    page.gifFps.add(new Option(String(rate), String(rate), false, rate === kDefaultGifRate));
  }
  page.gifToggle.addEventListener('click', () => showGifPanel(page.gifPanel.hidden));
  page.recordGif.addEventListener('click', recordGif);
  page.gifCancel.addEventListener('click', cancelRecording);
  recordingTurns.port1.onmessage = recordSlice;
  document.addEventListener('keydown', (event) => {
    if (page.picture.hidden || event.ctrlKey || event.altKey || event.metaKey) {
      return;
    }
    if (event.key === 'Escape' && !document.fullscreenElement) {
      backToMenu();
    }
    // L gives the link from the keyboard; a parameter field takes its letters itself.
    if ((event.key === 'l' || event.key === 'L') && !page.frameLink.hidden &&
        !(event.target instanceof HTMLInputElement)) {
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
  frameDrawn: (link) => {
    page.canvas.dataset.link = link;
    showParameters(true);
  },
  gifRecorded,
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
