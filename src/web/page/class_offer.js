// A lesson with a class, as far as the first visit goes. Where the page's folder has a class
// server (class-server.json beside index.html, put there by the school's administrator or by
// plotnik-klasa) the class bar offers "Lekcja z klasą" to a teacher whose key this tab has, and a
// code field to pupils. The lesson itself (class.js: the message server's client, the teacher's
// and the pupil's parts, the answers) is loaded only when a class starts or is joined. Opened from
// its folder the page has no class, and asks nothing of any server.
//
// The class's keys ride in the address's fragment (readFrameLink reads them): #klasa=CODE joins a
// class; #nauczyciel=KEY gives the teacher's key, which the tab keeps (sessionStorage) and the
// address loses at once, so that it is never shown, linked or projected. A teacher's class (its
// key, code and question) is kept for the tab too, so a reload goes on with the same class.
import { showPaused } from './clock.js';
import { follow } from './links.js';
import { showMessage } from './message.js';
import { showParameters } from './parameters.js';
import { classServerAddress, withoutTeacherKey } from './addresses.js';
import { closeQr, showQr } from './qr.js';

const kClassFile = 'class-server.json';
const kClassScript = 'class.js';
const kKeyStore = 'plotnik-teacher-key';
const kClassStore = 'plotnik-class';

export function findClassElements(document) {
  const byId = (id) => document.getElementById(id);
  return {
    section: byId('class'),
    start: byId('class-start'),
    joinForm: byId('class-join-form'),
    code: byId('class-code'),
    join: byId('class-join'),
    teacher: byId('class-teacher'),
    showCode: byId('class-show-code'),
    answersToggle: byId('class-answers-toggle'),
    newQuestion: byId('class-new-question'),
    end: byId('class-end'),
    counts: byId('class-counts'),
    pupil: byId('class-pupil'),
    followTeacher: byId('follow-teacher'),
    explore: byId('explore'),
    signature: byId('class-signature'),
    sendAnswer: byId('send-answer'),
    leave: byId('class-leave'),
    status: byId('class-status'),
    answers: byId('class-answers'),
    hideNames: byId('class-hide-names'),
    answerList: byId('class-answer-list'),
    pointers: byId('class-pointers'),
  };
}

// The tab's own storage; a browser that keeps none (or refuses it) keeps nothing.
const stored = (name) => {
  try {
    return sessionStorage.getItem(name);
  } catch {
    return null;
  }
};
const store = (name, value) => {
  try {
    if (value === null) {
      sessionStorage.removeItem(name);
    } else {
      sessionStorage.setItem(name, value);
    }
  } catch {
    // nothing kept: a reload starts afresh
  }
};

function loadClassScript(state) {
  state.classScript ??= new Promise((loaded, failed) => {
    const script = document.createElement('script');
    script.src = kClassScript;
    script.onload = () => loaded(globalThis.plotnikClass);
    script.onerror = () => {
      state.classScript = null;
      failed(new Error(kClassScript));
    };
    document.body.appendChild(script);
  });
  return state.classScript;
}

// What the lesson's script is given of the page: its elements, and the page's own ways to show a
// picture, its clock and parameters, a message and a QR code.
function pageApi(page, state, ui) {
  return {
    ui,
    open: (link) => follow(page, state, link),
    showPaused: (held) => showPaused(page, state, held),
    showParameters: () => showParameters(state),
    showMessage: (text) => showMessage(page, text),
    showQr: (address, code) => showQr(page, address, code),
    closeQr: () => closeQr(page),
    storeClass: (lesson) => store(kClassStore, lesson === null ? null : JSON.stringify(lesson)),
    forgetKey: () => store(kKeyStore, null),
    ended: () => {
      state.classLesson = null;
      showClassBar(ui, state);
    },
  };
}

function showClassBar(ui, state) {
  const inLesson = state.classLesson !== null;
  ui.section.hidden = state.classServer === null;
  ui.start.hidden = inLesson || stored(kKeyStore) === null;
  ui.joinForm.hidden = inLesson;
  if (!inLesson) {
    ui.teacher.hidden = true;
    ui.pupil.hidden = true;
    ui.answers.hidden = true;
    ui.pointers.hidden = true;
  }
}

async function run(page, state, ui, how, options) {
  if (state.classLesson !== null || state.classServer === null) {
    return;
  }
  ui.status.textContent = 'Łączenie z\u00a0serwerem lekcji…';
  state.classLesson = 'starting';
  showClassBar(ui, state);
  try {
    const lesson = await loadClassScript(state);
    state.classLesson = await lesson[how](page, state, pageApi(page, state, ui), { server: state.classServer, ...options });
  } catch (failure) {
    state.classLesson = null;
    ui.status.textContent = `Nie udało się wczytać lekcji z\u00a0klasą (${failure.message}).`;
  }
  showClassBar(ui, state);
}

function startTeaching(page, state, ui) {
  const key = stored(kKeyStore);
  if (key !== null) {
    run(page, state, ui, 'teach', { key });
  }
}

function joinTyped(page, state, ui) {
  const code = state.program.ccall('plotnik_class_code', 'string', ['string'], [ui.code.value]);
  if (code === '') {
    ui.status.textContent = `„${ui.code.value.trim()}” to nie jest kod lekcji: kod ma 5 znaków, liter i\u00a0cyfr.`;
    ui.code.focus();
    return;
  }
  run(page, state, ui, 'join', { code });
}

// The class's keys in the address: the teacher's key kept for the tab and taken off the address at
// once (with or without a class server); a class's code is answered (joined) when there is one.
function classKeys(state) {
  const keys = JSON.parse(state.program.ccall('plotnik_class_keys', 'string', ['string'], [location.hash]));
  if (keys.teacher !== '') {
    store(kKeyStore, keys.teacher);
    history.replaceState(null, '', location.pathname + location.search + withoutTeacherKey(location.hash));
  }
  return keys;
}

function takeKeys(page, state, ui) {
  const keys = classKeys(state);
  showClassBar(ui, state);
  if (keys.code !== '') {
    run(page, state, ui, 'join', { code: keys.code });
  }
}

// Called once the program has loaded: reads the class file, if there is one, and offers the class.
export async function offerClass(page, state) {
  const ui = findClassElements(document);
  state.classServer = null;
  state.classLesson = null;
  classKeys(state);
  if (location.protocol !== 'http:' && location.protocol !== 'https:') {
    return;
  }
  try {
    const response = await fetch(kClassFile, { cache: 'no-store' });
    state.classServer = response.ok ? classServerAddress(location.href, await response.json()) : null;
  } catch {
    state.classServer = null;  // no file, or not one the page reads
  }
  if (state.classServer === null) {
    return;
  }
  ui.start.addEventListener('click', () => startTeaching(page, state, ui));
  ui.join.addEventListener('click', () => joinTyped(page, state, ui));
  ui.code.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      joinTyped(page, state, ui);
    }
  });
  window.addEventListener('hashchange', () => takeKeys(page, state, ui));
  takeKeys(page, state, ui);
  const lesson = stored(kClassStore);
  if (lesson !== null && state.classLesson === null) {
    try {
      const { key, code, question } = JSON.parse(lesson);
      run(page, state, ui, 'teach', { key, code, question });
    } catch {
      store(kClassStore, null);
    }
  }
}
