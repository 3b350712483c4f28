// A pupil's page in a lesson with a class. It connects without credentials, listens to the class's
// state and asks the teacher's page for it at once (a hello, answered by the teacher: the server
// keeps nothing), and follows it: the teacher's picture, its frame, its clock running from the
// teacher's value at the moment it was sent (the two pages' clocks compared by the hello's round
// trip), its speed and hold. "Samodzielnie" (or any steering of the pupil's own) leaves the
// teacher's picture to explore; "Za nauczycielem" follows again. "Wyślij nauczycielowi" sends the
// frame on the canvas, with a signature or the pupil's random number; an answer the server has not
// taken is kept and sent again when the connection is back (on whichever server it comes back to).
import { NoRespondersError, connect, disconnect } from './connection.js';
import { cleanSignature, clockOffset, encode, newPupilNumber, readState, sinceSent } from './messages.js';

const kAskMs = 3000;          // how long the teacher's page has to answer a hello
const kAskTries = 3;          // hellos sent on joining while the teacher's page is slow to answer
const kSendMs = 5000;         // how long an answer may take to reach the server
const kTeacherSilentMs = 35000;  // no state for this long: the teacher is not there
const kPupilStore = 'plotnik-pupil';
const kLost = 'Łączenie… Serwer lekcji nie odpowiada; na ekranie zostaje ostatni obraz nauczyciela.';
const kWaiting = 'Łączenie… Odpowiedź zostanie wysłana, gdy serwer lekcji odpowie.';

const ask = (program, name, ...args) =>
  program.ccall(name, 'string', args.map(() => 'string'), args);

// The pupil's number and signature for the tab: kept, so that a reload is the same pupil.
function pupilOfTab() {
  try {
    const kept = JSON.parse(sessionStorage.getItem(kPupilStore));
    if (typeof kept?.number === 'string' && typeof kept?.name === 'string') {
      return kept;
    }
  } catch {
    // none kept
  }
  const [n] = crypto.getRandomValues(new Uint16Array(1));
  const pupil = { number: newPupilNumber(), name: `Uczeń ${100 + (n % 900)}` };
  try {
    sessionStorage.setItem(kPupilStore, JSON.stringify(pupil));
  } catch {
    // not kept
  }
  return pupil;
}

export async function join(page, state, api, { server, code }) {
  const { program } = state;
  const { ui } = api;
  const pupil = pupilOfTab();
  const subject = (what) => ask(program, 'plotnik_class_subject', code, what);
  const lesson = {
    code, connection: null, following: true, applying: false, offset: 0, question: 0, last: null,
    heard: performance.now(), ended: false, online: true, unsent: null, retry: 0,
  };
  const say = (text) => { ui.status.textContent = text; };
  const absent = `Nie ma lekcji „${code}” albo jej nauczyciel nie jest teraz połączony. Strona działa dalej sama.`;

  // The teacher's state on this page: the picture opened when another is shown, then its frame,
  // clock, speed and hold; the page's own controls show them.
  function apply(received) {
    lesson.applying = true;
    try {
      if (received.link === '') {
        api.open('');
        return;
      }
      const answer = ask(program, 'plotnik_frame_answer', received.link);
      if (answer === '') {
        return;
      }
      if (ask(program, 'plotnik_live_answer') !== answer) {
        api.open('#answer=' + answer);
      }
      const since = sinceSent(received.sent, Date.now(), lesson.offset);
      const followed = program.ccall('plotnik_follow', 'number', ['string', 'number', 'number', 'number'],
        [received.link, received.held ? 1 : 0, received.speed, since]);
      if (followed === 1) {
        api.showPaused(received.held);
        if ([...page.speed.options].some((o) => o.value === String(received.speed))) {
          page.speed.value = String(received.speed);
        }
        api.showParameters();
      }
    } finally {
      lesson.applying = false;
    }
  }

  function received(message) {
    if (message === null || lesson.ended) {
      return;
    }
    lesson.heard = performance.now();
    lesson.last = message;
    if (message.question !== lesson.question) {
      lesson.question = message.question;
      if (lesson.question > 1) {
        say(`Nowe pytanie nauczyciela (${lesson.question}).`);
      }
    }
    if (message.ended) {
      finish(`Nauczyciel zakończył lekcję ${code}. Ostatnia klatka zostaje na ekranie.`);
      return;
    }
    if (lesson.following) {
      apply(message);
    }
  }

  // Asks the teacher's page for the class's state: 'answered', 'absent' (no teacher's page
  // listens: the server says so at once) or 'silent' (no answer in time, or not one to read).
  async function askTeacher() {
    const t0 = Date.now();
    try {
      const reply = await lesson.connection.request(subject('hello'), encode({ pupil: pupil.number }), { timeout: kAskMs });
      const message = readState(reply.data, code);
      if (message !== null) {
        lesson.offset = clockOffset(t0, message.sent, Date.now());
        received(message);
      }
      return message !== null ? 'answered' : 'silent';
    } catch (failure) {
      if (failure instanceof NoRespondersError || failure?.cause instanceof NoRespondersError) {
        return 'absent';
      }
      console.warn('hello:', failure?.message);
      return 'silent';
    }
  }

  function setFollowing(following, askNow = true) {
    lesson.following = following;
    ui.followTeacher.setAttribute('aria-pressed', String(following));
    ui.explore.setAttribute('aria-pressed', String(!following));
    say(following ? `Lekcja ${code}: obraz nauczyciela.` :
      'Samodzielnie: „Za nauczycielem” wraca do obrazu nauczyciela.');
    if (following && askNow) {
      askTeacher().then((asked) => {
        if (asked !== 'answered' && lesson.last !== null) {
          apply(lesson.last);  // the last state heard; the teacher answers again later
        }
      });
    }
  }

  function send() {
    const link = page.canvas.dataset.link;
    if (page.picture.hidden || link === undefined) {
      say('Najpierw wybierz obraz.');
      return;
    }
    const name = cleanSignature(ui.signature.value) || pupil.name;
    lesson.unsent = encode({ code, pupil: pupil.number, name, link, question: lesson.question });
    deliver();
  }

  // Sends the answer that waits, and keeps it until the server has taken it: while the connection
  // is away it waits for its return; a server too slow to take it is asked again a while later.
  // The teacher's page keeps one answer a pupil, so one sent twice counts once.
  async function deliver() {
    const answer = lesson.unsent;
    clearTimeout(lesson.retry);
    if (answer === null || lesson.ended) {
      return;
    }
    if (!lesson.online) {
      say(kWaiting);
      return;
    }
    ui.sendAnswer.disabled = true;
    say('Wysyłanie…');
    try {
      lesson.connection.publish(subject('answer'), answer);
      let timer;
      const late = new Promise((_, fail) => { timer = setTimeout(() => fail(new Error('late')), kSendMs); });
      await Promise.race([lesson.connection.flush(), late]).finally(() => clearTimeout(timer));
      if (lesson.unsent === answer) {
        lesson.unsent = null;
        say('Wysłano.');
      }
    } catch {
      if (lesson.unsent === answer && !lesson.ended) {
        say(kWaiting);
        lesson.retry = setTimeout(deliver, kSendMs);
      }
    } finally {
      ui.sendAnswer.disabled = false;
    }
  }

  const listening = new AbortController();
  let watch = 0;
  async function finish(why) {
    lesson.ended = true;
    clearInterval(watch);
    clearTimeout(lesson.retry);
    listening.abort();
    program.lessonChanged = null;
    await disconnect(lesson.connection);
    say(why);
    api.ended();
  }

  try {
    lesson.connection = await connect(server, {}, (news) => {
      if (news === 'lost' && !lesson.ended) {
        lesson.online = false;
        say(lesson.unsent === null ? kLost : kWaiting);
      } else if (news === 'back' && !lesson.ended) {
        lesson.online = true;
        say(`Znów połączono z\u00a0serwerem lekcji ${code}.`);
        askTeacher().then(deliver);
      }
    });
  } catch (failure) {
    say(failure.message);
    return null;
  }
  lesson.connection.subscribe(subject('state'), {
    callback: (error, message) => received(error ? null : readState(message.data, code)),
  });
  let asked = await askTeacher();
  for (let tries = 1; asked === 'silent' && tries < kAskTries; ++tries) {
    asked = await askTeacher();
  }
  if (asked !== 'answered') {
    lesson.ended = true;
    await disconnect(lesson.connection);
    say(absent);
    return null;
  }

  // The pupil's own steering leaves the teacher's picture.
  program.lessonChanged = () => {
    if (!lesson.applying && lesson.following) {
      setFollowing(false);
    }
  };
  const on = (element, what, handler) => element.addEventListener(what, handler, { signal: listening.signal });
  on(ui.followTeacher, 'click', () => setFollowing(true));
  on(ui.explore, 'click', () => setFollowing(false));
  on(ui.sendAnswer, 'click', send);
  on(ui.leave, 'click', () => finish(`Opuszczono lekcję ${code}.`));
  ui.signature.placeholder = pupil.name;
  watch = setInterval(() => {
    if (performance.now() - lesson.heard > kTeacherSilentMs && !lesson.ended) {
      say(`Nauczyciel lekcji ${code} nie jest teraz połączony; strona czeka na niego.`);
    }
  }, kTeacherSilentMs / 5);
  ui.pupil.hidden = false;
  setFollowing(true, false);  // the state is already shown
  return lesson;
}
