// The pictures of a lesson with a class in the docs, taken in headless Chromium from the built page
// and the build's plotnik-klasa on 127.0.0.1 (bash web/build.sh, the build, npm ci in tests/e2e/web
// first): the join code on a 1920 x 1080 projector, a pupil's phone following picture 7, and the
// answers panel on picture 4. Every page is opened under a host name mapped to 127.0.0.1, as the
// classroom's network names the laptop, so no warning shows beside the code. Run in the top folder:
//   node --experimental-websocket tools/class-screenshots.mjs
import { launchBrowser, openTab, pointAt, waitForLink, waitUntil } from '../tests/e2e/web/harness.mjs';
import { classClient, decodeQr, kPupilHost, startClass } from '../tests/e2e/web/class_helpers.mjs';

const out = (name) => `docs/class/${name}.png`;
const kProjector = { width: 1920, height: 1080 };
const kPhone = { width: 390, height: 844, touch: true };

const server = await startClass();
const browsers = [];
const browser = async () => {
  const launched = await launchBrowser('chromium', { hostAlias: kPupilHost });
  browsers.push(launched);
  return launched;
};
try {
  const teacher = await openTab(await browser(), { ...kProjector, origin: server.pupilOrigin });
  await teacher.goto(server.teacher.replace(server.origin, server.pupilOrigin));
  await teacher.waitForSelector('#class-start:not([hidden])');
  await teacher.evaluate(() => { location.hash = '#answer=7'; });
  await waitForLink(teacher, (f) => f.answer === '7');
  await teacher.click('#class-start');
  await teacher.waitForSelector('#qr-dialog[open]');
  const join = await decodeQr(teacher);
  await teacher.screenshot({ path: out('join-qr') });
  await teacher.keyboard.press('Escape');

  // Picture 7 held on the teacher's page, and so on the pupil's phone.
  await teacher.click('#pause');
  await waitUntil(teacher, 'picture 7 held', () => Module._plotnik_test_resting() === 1);
  const held = (await waitForLink(teacher, () => true)).link;
  const phone = await openTab(await browser(), { ...kPhone, origin: server.pupilOrigin });
  await phone.goto(join);
  await waitForLink(phone, (f) => f.link.endsWith(held.slice(held.indexOf('&ticks'))), 'the phone following');
  await phone.screenshot({ path: out('pupil-phone') });

  // Picture 4: answers from the phone and from pupils in node, the panel open.
  await teacher.evaluate(() => { location.hash = '#answer=4'; });
  await waitForLink(teacher, (f) => f.answer === '4');
  await pointAt(teacher, 720, 240);
  await teacher.click('#class-answers-toggle');
  const code = join.split('#klasa=')[1];
  const subject = `plotnik.${code.slice(0, 2)}.${code.slice(2)}.answer`;
  const pupils = [['Ala', 760, 200], ['Bartek', 700, 250], ['Uczeń 417', 860, 40], ['Zosia', 720, 240],
    ['Kuba', 520, 560]];
  const client = await classClient(server);
  for (const [i, [name, x, y]] of pupils.entries()) {
    client.publish(subject, JSON.stringify({ v: 1, code, pupil: `screenshot${i}`, name,
      link: `answer=4&mouse=${x},${y}&ticks=0`, question: 1 }));
  }
  await client.flush();
  await waitUntil(teacher, 'every answer drawn', (n) => Number(document.getElementById('class-answer-list').dataset.draws) >= n,
    pupils.length);
  await teacher.evaluate(() => document.activeElement.blur());
  await teacher.screenshot({ path: out('answers-4') });
  await client.close();
} finally {
  await Promise.all(browsers.map((b) => b.close()));
  await server.stop();
}
