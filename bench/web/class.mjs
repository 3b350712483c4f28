// A lesson with a class of 40 on loopback, through plotnik-klasa (nats-server and nginx): the
// teacher's page and two pupils' pages (headless Chromium and Firefox ESR) and 38 pupils that are
// the same NATS client in node, each following the class's state and asking for it as it joins.
// It measures
//   - how long a teacher's change (a new pointer on picture 4) takes to be shown on the pupils'
//     pages: drawn, or passed by a later change drawn first (a page draws once a frame, the last
//     state it has); the median and the 99th percentile, over every change and both pages;
//   - how far each pupil's running clock (picture 7) is from the teacher's at the same instant;
//   - the teacher's frames a second on picture 7, alone and then while all 40 pupils answer once a
//     second, and its memory (the program's and the script's heap after a garbage collection)
//     after the first 10 s and at the end.
// All pages and clients run on this one machine, so their clocks are one.
//   node --experimental-websocket bench/web/class.mjs [SECONDS]   (after web/build.sh and the build)
import { launchBrowser, waitForLink } from '../../tests/e2e/web/harness.mjs';
import {
  classClient, classSubject, joinAsPupil, kPupilHost, noteDrawnFrames, startClass, startTeaching,
} from '../../tests/e2e/web/class_helpers.mjs';

const seconds = Number(process.argv[2] ?? 40);   // pupils answering
const kChanges = Math.max(20, Math.min(200, seconds * 5));
const kNodePupils = 38;
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
const percentile = (values, p) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor((p / 100) * sorted.length))];
};

const clockNow = (tab) => tab.evaluate(() => {
  const { link } = JSON.parse(Module.ccall('plotnik_lesson_state', 'string', [], []));
  return { ticks: Number(/ticks=(\d+)/.exec(link)[1]), at: Date.now() };
});

const server = await startClass();
const browsers = [];
const clients = [];
try {
  for (const name of ['chromium', 'chromium', 'firefox']) {
    browsers.push(await launchBrowser(name, { hostAlias: kPupilHost }));
  }
  const { tab: teacher, code, join } = await startTeaching(browsers[0], server, '#answer=4');
  await teacher.keyboard.press('Escape');
  const pages = [await joinAsPupil(browsers[1], server, join), await joinAsPupil(browsers[2], server, join)];
  const subject = (what) => classSubject(code, what);
  for (let i = 0; i < kNodePupils; ++i) {
    const client = await classClient(server);
    client.subscribe(subject('state'), { callback: () => {} });
    const pupil = `nodepupil${String(i).padStart(3, '0')}`;
    await client.request(subject('hello'), JSON.stringify({ v: 1, pupil }), { timeout: 10000 });
    clients.push({ client, pupil });
  }
  console.log(`${await browsers[0].version()} teacher and pupil, Firefox pupil, ${kNodePupils} pupils in node`);

  // A change every 100 ms (each state goes out at once: the teacher sends at most one each 50 ms).
  await Promise.all(pages.map(noteDrawnFrames));
  const changedAt = [];
  for (let i = 0; i < kChanges; ++i) {
    const x = 100 + i;
    changedAt.push([`${x},300`, await teacher.evaluate((px) => {
      const at = Date.now();
      Module._plotnik_point_at(px, 300);
      return at;
    }, x)]);
    await sleep(100);
  }
  await sleep(1000);
  const delays = [];
  let passed = 0;
  for (const tab of pages) {
    const drawnAt = await tab.evaluate(() => window.drawnAt);
    let shown = Infinity;  // the first drawing of this change or of any later one
    for (let i = changedAt.length - 1; i >= 0; --i) {
      const [mouse, at] = changedAt[i];
      passed += drawnAt[mouse] === undefined ? 1 : 0;
      shown = Math.min(shown, drawnAt[mouse] ?? Infinity);
      delays.push(shown - at);
    }
  }
  console.log(`teacher's change shown on a pupil's page: median ${percentile(delays, 50)} ms, 99th percentile ` +
    `${percentile(delays, 99)} ms, over ${delays.length} (${passed} passed by a later one)`);

  // Picture 7 running: each pupil's clock against the teacher's, taken with its own time.
  await teacher.evaluate(() => { location.hash = '#answer=7'; });
  await Promise.all(pages.map((tab) => waitForLink(tab, (f) => f.answer === '7')));
  await sleep(1000);
  const apart = [];
  for (let i = 0; i < 20; ++i) {
    const [t, ...p] = await Promise.all([teacher, ...pages].map(clockNow));
    apart.push(...p.map((c) => t.ticks - c.ticks - (t.at - c.at)));
    await sleep(200);
  }
  console.log(`pupils' clocks behind the teacher's: ${Math.min(...apart)} to ${Math.max(...apart)} ms ` +
    `(${apart.length} readings, the largest apart ${Math.max(...apart.map(Math.abs))} ms)`);

  // The teacher's frames alone, then with all 40 answering once a second, each a frame of picture
  // 7; the teacher's panel open.
  const sample = async () => {
    await devtools.send('HeapProfiler.collectGarbage');
    return teacher.evaluate(() => ({ at: performance.now(), frames: Module._plotnik_test_frames_drawn(),
      program: Module._plotnik_test_heap_size() >>> 0, script: performance.memory.usedJSHeapSize }));
  };
  const devtools = await teacher.createCDPSession();
  const alone = await sample();
  await sleep(5000);
  const aloneEnd = await sample();
  await teacher.click('#class-answers-toggle');
  let answering = true;
  const answers = (async () => {
    for (let second = 0; answering; ++second) {
      for (const { client, pupil } of clients) {
        client.publish(subject('answer'), JSON.stringify({ v: 1, code, pupil, name: pupil.slice(-3),
          link: `answer=7&mouse=640,360&ticks=${1000 * second + Math.floor(Math.random() * 6000)}`, question: 1 }));
      }
      await Promise.all(pages.map((tab) => tab.click('#send-answer')));
      await sleep(1000);
    }
  })();
  const samples = [];
  for (let s = 0; s <= seconds; ++s) {
    samples.push(await sample());
    await sleep(1000);
  }
  answering = false;
  await answers;
  const rate = (from, to) => (1000 * (to.frames - from.frames)) / (to.at - from.at);
  const perSecond = samples.slice(1).map((s, i) => rate(samples[i], s));
  const settled = samples[Math.min(10, samples.length - 1)];
  const last = samples.at(-1);
  const mb = (bytes) => (bytes / 1e6).toFixed(1);
  console.log(`teacher's picture 7 alone for 5 s: ${rate(alone, aloneEnd).toFixed(1)} frames a second`);
  console.log(`teacher's picture 7 with 40 pupils answering for ${seconds} s: ${rate(samples[0], last).toFixed(1)} ` +
    `frames a second (slowest second ${Math.min(...perSecond).toFixed(1)}); answers drawn ` +
    `${await teacher.$eval('#class-answer-list', (l) => l.dataset.draws ?? 0)}`);
  console.log(`teacher's memory at 10 s and at the end: program ${mb(settled.program)} and ${mb(last.program)} MB, ` +
    `script ${mb(settled.script)} and ${mb(last.script)} MB`);
  for (const tab of [teacher, ...pages]) {
    if (tab.problems.length > 0) {
      console.log(`problems: ${tab.problems.join('; ')}`);
    }
  }
} finally {
  await Promise.all(clients.map(({ client }) => client.close()));
  await Promise.all(browsers.map((b) => b.close()));
  await server.stop();
}
