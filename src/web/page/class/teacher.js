// The teacher's page in a lesson with a class. It connects with the teacher's account, draws the
// lesson's code (or goes on with the tab's), shows the pupils' address and code as a QR code, and
// publishes the class's state (the picture, its frame, speed and hold) on every change the page
// makes, at most 20 times a second and always the last; again every 10 s, and at once after a
// reconnect, so that nothing depends on one server. It answers each pupil's hello with the state
// (request and reply: the server keeps nothing), and collects the answers (answers.js).
import { connect, disconnect } from './connection.js';
import { encode, readAnswer, readHello } from './messages.js';
import { AnswerBook, makeThrottle } from './pace.js';
import { AnswerPanel } from './answers.js';

const kStateEveryMs = 50;
const kRepeatMs = 10000;
const kLost = 'Łączenie… Serwer lekcji nie odpowiada; lekcja trwa na tej stronie i wróci do uczniów po połączeniu.';

const ask = (program, name, ...args) =>
  program.ccall(name, 'string', args.map(() => 'string'), args);

export async function teach(page, state, api, { server, key, code, question = 1 }) {
  const { program } = state;
  const { ui } = api;
  const teacher = ask(program, 'plotnik_key_teacher', key ?? '');
  const resumed = typeof code === 'string' && code.startsWith(teacher) && ask(program, 'plotnik_class_code', code) === code;
  if (teacher === '') {
    api.forgetKey();
    api.storeClass(null);
    ui.status.textContent = 'Ta karta nie ma klucza nauczyciela.';
    return null;
  }
  const lesson = {
    code: resumed ? code : ask(program, 'plotnik_new_class_code', key),
    question: resumed && Number.isInteger(question) && question > 0 ? question : 1,
    ended: false,
    connection: null,
  };
  const subject = (what) => ask(program, 'plotnik_class_subject', lesson.code, what);
  const stateMessage = () => encode({
    code: lesson.code, ...JSON.parse(ask(program, 'plotnik_lesson_state')),
    sent: Date.now(), question: lesson.question, ended: lesson.ended,
  });
  const publish = () => {
    if (lesson.connection !== null && !lesson.connection.isClosed()) {
      lesson.connection.publish(subject('state'), stateMessage());
    }
  };
  const joinAddress = location.href.split('#')[0] + '#klasa=' + lesson.code;
  const greeting = `Lekcja ${lesson.code}: uczniowie dołączają kodem QR albo kodem lekcji.`;

  try {
    lesson.connection = await connect(server, { user: teacher, pass: key.slice(teacher.length + 1) }, (news) => {
      if (news === 'lost' && !lesson.ended) {
        ui.status.textContent = kLost;
      } else if (news === 'back') {
        ui.status.textContent = `Znów połączono z\u00a0serwerem lekcji. ${greeting}`;
        publish();
      }
    });
  } catch (failure) {
    if (/klucza/.test(failure.message)) {
      api.forgetKey();
      api.storeClass(null);
    }
    ui.status.textContent = failure.message;
    return null;
  }

  const panel = new AnswerPanel(page, state, api, new AnswerBook(), (link) => showToClass(link));
  lesson.connection.subscribe(subject('hello'), {
    callback: (error, message) => {
      const pupil = error ? null : readHello(message.data);
      if (pupil !== null) {
        panel.joined(pupil);
        message.respond(stateMessage());
      }
    },
  });
  lesson.connection.subscribe(subject('answer'), {
    callback: (error, message) => {
      const answer = error ? null : readAnswer(message.data, lesson.code);
      if (answer !== null && answer.question === lesson.question) {
        panel.add(answer);
      }
    },
  });

  const throttle = makeThrottle(publish, kStateEveryMs);
  program.lessonChanged = () => {
    throttle.request();
    panel.showPointers();
  };
  const repeat = setInterval(publish, kRepeatMs);
  api.storeClass({ key, code: lesson.code, question: lesson.question });

  // An answer clicked in the panel becomes the class's frame, held, shown to everyone.
  function showToClass(link) {
    const answer = ask(program, 'plotnik_frame_answer', link);
    if (answer === '') {
      return;
    }
    if (ask(program, 'plotnik_live_answer') !== answer) {
      api.open('#answer=' + answer);
    }
    const speed = Number(page.speed.value) || 1;
    if (program.ccall('plotnik_follow', 'number', ['string', 'number', 'number', 'number'], [link, 1, speed, 0]) === 1) {
      api.showPaused(true);
      api.showParameters();
      throttle.request();
      panel.showPointers();
    }
  }

  const listening = new AbortController();
  const on = (element, what, handler) => element.addEventListener(what, handler, { signal: listening.signal });
  on(ui.showCode, 'click', () => api.showQr(joinAddress, lesson.code));
  on(ui.answersToggle, 'click', () => panel.toggle());
  on(ui.hideNames, 'change', () => panel.hideNames(ui.hideNames.checked));
  on(ui.newQuestion, 'click', () => {
    lesson.question += 1;
    panel.clear();
    api.storeClass({ key, code: lesson.code, question: lesson.question });
    ui.status.textContent = `Pytanie ${lesson.question}: odpowiedzi poprzednich pytań znikają.`;
    publish();
  });
  on(ui.end, 'click', async () => {
    lesson.ended = true;
    publish();
    throttle.stop();
    clearInterval(repeat);
    listening.abort();
    program.lessonChanged = null;
    api.storeClass(null);
    panel.close();
    api.closeQr();
    await disconnect(lesson.connection);
    ui.status.textContent = `Lekcja ${lesson.code} zakończona; uczniowie mają ostatnią klatkę.`;
    api.ended();
  });

  ui.teacher.hidden = false;
  ui.status.textContent = greeting;
  publish();
  if (!resumed) {
    api.showQr(joinAddress, lesson.code);
  }
  return lesson;
}
