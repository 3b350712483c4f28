// The picture taken away from the page: "Zapisz obraz" hands over the frame on the canvas as the
// exporter's PNG for the canvas's link, named for it; "Nagraj GIF" records a clock picture from the
// frame on the canvas as the exporter's GIF for the same clock, frames and step, byte for byte,
// without ever showing a recorded frame on the canvas; a recording can be stopped, and neither
// stopped nor finished recordings leave the page's memory growing. Downloads are caught inside
// the page (harness.mjs: catchDownloads), the same in every browser; in Chromium they are also
// downloaded for real.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import {
  accessibilityViolations, browserAndSite, browserName, canvasPixels, catchDownloads, differences, exporterGif,
  exporterPixels, fileUrl, frameOnCanvas, framesDrawn, gifFrames, imagePixels, openTab, pointAt, programMemory,
  takeDownloads, waitForDownloads, waitForLink, waitForMenu, waitForRest, waitUntil,
} from './harness.mjs';

const session = browserAndSite();
const pause = (ms) => new Promise((done) => setTimeout(done, ms));

async function open(tab, fragment) {
  await tab.goto(`${session.served.origin}/${fragment}`);
  await waitForMenu(tab);
  await waitForLink(tab, () => true, fragment);
  await catchDownloads(tab);
}

// Presses a button inside the page, in the same task as reading the canvas's link: the frame on the
// canvas when it was pressed, even while the picture moves.
const pressReadingLink = (tab, id) => tab.evaluate((button) => {
  const link = document.getElementById('canvas').dataset.link;
  document.getElementById(button).click();
  return link;
}, id);

const fields = (link) => Object.fromEntries(link.split('&').map((part) => part.split('=')));
const inputsOf = (link) => {
  const f = fields(link);
  return { answer: decodeURIComponent(f.answer), ticks: Number(f.ticks), mouse: f.mouse.split(',').map(Number) };
};

// From here on the tab's program records the first `frames` frames of each recording and then no
// more until the recording is stopped, as if the machine were too busy to go on: what a test does
// during a recording happens during it, however slowly the test itself goes (a recording of 10 s
// is otherwise over in seconds). Two of the program's functions are wrapped, nothing else changes;
// the wrapper is put back after each call, as the program's first call of a function puts the
// compiled one in its place.
const holdRecordings = (tab, frames) => tab.evaluate((most) => {
  let done = 0;
  const wrap = (name, around) => {
    window.programOwn ??= {};
    const own = (window.programOwn[name] ??= Module[name]);
    const wrapped = () => {
      const answer = around(own);
      Module[name] = wrapped;
      return answer;
    };
    Module[name] = wrapped;
  };
  wrap('_plotnik_record_frames', (own) => {  // asked once as each recording begins
    done = 0;
    return own();
  });
  wrap('_plotnik_record_frame', (own) => (done >= most ? done : (done = own())));
}, frames);
const kHeldFrames = 20;

async function recordGif(tab, seconds, fps, press = (id) => tab.click(`#${id}`)) {
  if (await tab.$eval('#gif-panel', (panel) => panel.hidden)) {
    await tab.click('#gif-toggle');
  }
  await tab.select('#gif-seconds', String(seconds));
  await tab.select('#gif-fps', String(fps));
  return press('record-gif');
}

test('"Zapisz obraz" on a held, a live and a frozen picture gives the exporter\'s frame at the canvas\'s link', async (t) => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  //  what, the address, how the frame is set, the name wanted for the canvas's link
  const cases = [
    ['held picture 7', '#answer=7', async () => {
      await tab.click('#pause');
      await waitForRest(tab, 'picture 7 held');
    }, (f) => `plotnik-7-t${f.ticks}.png`],
    ['live picture 1, running', '#answer=1', null, (f) => `plotnik-1-t${f.ticks}.png`],
    ['live picture 4, set by a click', '#answer=4', async () => {
      await pointAt(tab, 720, 240);
      await waitForLink(tab, (f) => f.mouse.join() === '720,240');
    }, () => 'plotnik-4-x720-y240.png'],
    ['frozen picture 4 outside the window', '#answer=4&mouse=520,-40&ticks=9', null, () => 'plotnik-4-x520-y-40.png'],
    ['frozen picture 8', '#answer=8&ticks=6785', null, () => 'plotnik-8-t6785.png'],
    ['frozen still picture 9', '#answer=9&ticks=5', null, () => 'plotnik-9.png'],
    ['a link whose answer is no picture\'s', '#answer=..%2Fx&ticks=20', null, () => 'plotnik-1-t20.png'],
  ];
  for (const [what, fragment, setUp, name] of cases) {
    await open(tab, fragment);
    await setUp?.();
    const link = await pressReadingLink(tab, 'save-png');
    const [png] = await waitForDownloads(tab);
    const frame = inputsOf(link);
    assert.equal(png.name, name(frame), what);
    assert.equal(png.type, 'image/png', what);
    assert.equal(differences(imagePixels(png.bytes), exporterPixels(frame.answer, frame.ticks, frame.mouse)), '',
      `${what}: ${link}`);
    t.diagnostic(`${what}: ${png.name}, ${png.size} bytes`);
  }
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('on a phone the PNG goes to the share sheet where it takes files, else it is downloaded', async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  //  a coarse pointer, share's answer (null: no sharing of files), shared, downloaded
  const cases = [
    [true, 'shared', true, false],
    [true, 'AbortError', true, false],  // the pupil closed the sheet: nothing more
    [true, 'NotAllowedError', true, true],
    [true, null, false, true],
    [false, 'shared', false, true],  // a desktop browser that can share still downloads
  ];
  for (const [coarse, answer, shared, downloaded] of cases) {
    const what = `coarse pointer ${coarse}, sharing ${answer}`;
    await open(tab, '#answer=7&ticks=2345');
    await tab.evaluate((isCoarse, answers) => {
      window.shared = [];
      const media = window.matchMedia.bind(window);
      window.matchMedia = (query) => (query === '(pointer: coarse)' ? { matches: isCoarse } : media(query));
      navigator.canShare = (data) => answers !== null && data.files?.length === 1;
      navigator.share = async (data) => {
        window.shared.push({ name: data.files[0].name, size: data.files[0].size, type: data.files[0].type });
        if (answers !== 'shared') {
          throw new DOMException('refused', answers);
        }
      };
    }, coarse, answer);
    await tab.click('#save-png');
    // The PNG is made in the background; then it is shared, downloaded, or both.
    await tab.waitForFunction((s, d) => window.shared.length >= s && window.caughtDownloads.length >= d &&
      window.shared.length + window.caughtDownloads.length > 0, {}, shared ? 1 : 0, downloaded ? 1 : 0);
    await pause(300);
    const sharedFiles = await tab.evaluate(() => window.shared);
    const downloads = await takeDownloads(tab);
    assert.deepEqual(sharedFiles.map((f) => [f.name, f.type]), shared ? [['plotnik-7-t2345.png', 'image/png']] : [], what);
    assert.deepEqual(downloads.map((d) => d.name), downloaded ? ['plotnik-7-t2345.png'] : [], what);
  }
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('a 1 s GIF at 10 frames a second of picture 7 held at a chosen clock is the exporter\'s, byte for byte', async (t) => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await open(tab, '#answer=7');
  // Held at the frame whose angle is nearest 45.5°.
  await tab.click('#param-angle');
  await tab.keyboard.down('Control');
  await tab.keyboard.press('a');
  await tab.keyboard.up('Control');
  await tab.keyboard.type('45,5');
  await tab.keyboard.press('Enter');
  await tab.waitForFunction(() => document.getElementById('pause').textContent === 'Wznów');
  const held = await waitForRest(tab, 'picture 7 held at 45,5°');
  const drawnBefore = await framesDrawn(tab);
  await recordGif(tab, 1, 10);
  const [gif] = await waitForDownloads(tab);
  assert.equal(gif.name, `plotnik-7-t${held.ticks}-1s-10fps.gif`);
  assert.equal(gif.type, 'image/gif');
  const exported = exporterGif('7', held.ticks, 10, 100);
  const page = gifFrames(gif.bytes);
  const exporter = gifFrames(exported);
  assert.equal(page.frames.length, 10);
  assert.deepEqual(page.delays, exporter.delays);
  assert.deepEqual(page.delays, Array(10).fill(10));
  page.frames.forEach((frame, k) => assert.equal(differences(frame, exporter.frames[k]), '', `frame ${k}`));
  assert.equal(differences(page.frames[0], exporterPixels('7', held.ticks)), '', 'the first frame is the one held');
  assert.ok(gif.bytes.equals(exported), `${gif.size} bytes against the exporter's ${exported.length}`);
  // The recording drew nothing onto the canvas: the held frame is still there.
  assert.equal(await framesDrawn(tab), drawnBefore);
  assert.equal((await frameOnCanvas(tab)).link, held.link);
  assert.equal(differences(await canvasPixels(tab), exporterPixels('7', held.ticks)), '');
  assert.match(await tab.$eval('#gif-status', (e) => e.textContent), new RegExp(`Gotowe: ${gif.name} \\(\\d+(,\\d)?\u00a0kB\\)`));
  t.diagnostic(`${gif.name}: ${gif.size} bytes`);
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('a GIF starts at the frame on screen, running, frozen or held at another speed', async (t) => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  //  the address, speed, held, seconds, fps, the exporter's step, the page's delay (hundredths)
  const cases = [
    ['#answer=1', '1', false, 1, 25, 40, 4],
    ['#answer=8&ticks=6785', null, false, 1, 10, 100, 10],
    ['#answer=6', '0.5', true, 1, 25, 20, 4],  // the clock at half speed: the GIF plays as slowly
    ['#answer=7', '2', false, 1, 10, 200, 10],
  ];
  for (const [fragment, speed, hold, seconds, fps, every, delay] of cases) {
    const what = `${fragment} at speed ${speed ?? 1}`;
    await open(tab, fragment);
    if (speed !== null) {
      await tab.select('#speed', speed);
    }
    if (hold) {
      await tab.click('#pause');
      await waitForRest(tab, `${what}: held`);
    }
    const link = await recordGif(tab, seconds, fps, (id) => pressReadingLink(tab, id));
    const [gif] = await waitForDownloads(tab);
    const { answer, ticks } = inputsOf(link);
    assert.equal(gif.name, `plotnik-${answer}-t${ticks}-${seconds}s-${fps}fps.gif`, what);
    const page = gifFrames(gif.bytes);
    const exported = exporterGif(answer, ticks, seconds * fps, every);
    const exporter = gifFrames(exported);
    assert.equal(page.frames.length, exporter.frames.length, what);
    page.frames.forEach((frame, k) => assert.equal(differences(frame, exporter.frames[k]), '', `${what}: frame ${k}`));
    assert.deepEqual(page.delays, Array(page.frames.length).fill(delay), what);
    if (every === delay * 10) {
      assert.ok(gif.bytes.equals(exported), `${what}: the exporter's bytes`);
    }
    t.diagnostic(`${what}: ${gif.name}, ${gif.size} bytes`);
  }
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

// While the program records, the canvas keeps the page's own frame: a held picture's stays exactly
// as it was, nothing is drawn onto it, and the picture's controls still answer.
test('recording never shows a recorded frame, and can be stopped, leaving no download', async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await open(tab, '#answer=7');
  await tab.click('#pause');
  const held = await waitForRest(tab, 'picture 7 held');
  const heldPixels = exporterPixels('7', held.ticks);
  const drawnBefore = await framesDrawn(tab);
  await holdRecordings(tab, kHeldFrames);
  await recordGif(tab, 10, 25);
  assert.equal(await tab.evaluate(() => document.activeElement.id), 'gif-cancel', 'the focus on Przerwij');
  let samples = 0;
  for (; samples < 3; ++samples) {
    assert.equal(differences(await canvasPixels(tab), heldPixels), '', `sample ${samples}`);
    assert.equal(await framesDrawn(tab), drawnBefore, `sample ${samples}`);
  }
  const progress = await waitUntil(tab, 'the first frame recorded', () => {
    const bar = document.getElementById('gif-progress');
    return bar.value > 0 && [bar.value, bar.max];
  });
  assert.ok(progress[0] < progress[1], `progress ${progress}`);
  assert.equal(await tab.$eval('#record-gif', (b) => b.disabled), true, 'one recording at a time');
  // The picture's own controls still work during the recording.
  await tab.click('#pause');
  await waitForLink(tab, (f) => f.ticks !== held.ticks, 'running on while recording');
  await tab.click('#pause');
  await tab.click('#gif-cancel');
  assert.equal(await tab.$eval('#gif-status', (e) => e.textContent), 'Nagrywanie przerwane.');
  assert.equal(await tab.$eval('#gif-recording', (e) => e.hidden), true);
  assert.equal(await tab.evaluate(() => document.activeElement.id), 'record-gif', 'the focus back on Nagraj GIF');
  await pause(1000);
  assert.deepEqual(await takeDownloads(tab), [], 'a stopped recording hands nothing over');
  // Leaving the picture stops a recording as well.
  await recordGif(tab, 10, 25);
  await tab.click('#back');
  await pause(500);
  assert.deepEqual(await takeDownloads(tab), [], 'a recording stopped by the menu hands nothing over');
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('ten recordings, and stopped ones, leave the page\'s memory where the first left it', async (t) => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await open(tab, '#answer=7');
  await catchDownloads(tab, { keep: false });
  const cdp = browserName === 'chromium' ? await tab.createCDPSession() : null;
  // The program's memory, and in Chromium the script's heap after a collection, in bytes.
  const memory = async () => {
    await cdp?.send('HeapProfiler.collectGarbage');
    return { program: await programMemory(tab), script: cdp ? (await cdp.send('Runtime.getHeapUsage')).usedSize : 0 };
  };
  const sizes = [];
  const after = [];
  for (let n = 1; n <= 10; ++n) {
    await recordGif(tab, 1, 25);
    const [gif] = await waitForDownloads(tab);
    sizes.push(gif.size);
    after.push(await memory());
  }
  await holdRecordings(tab, kHeldFrames);
  for (let n = 0; n < 3; ++n) {
    await recordGif(tab, 10, 25);
    await waitUntil(tab, `${kHeldFrames} frames of stopped recording ${n + 1}`,
      (most) => document.getElementById('gif-progress').value >= most, kHeldFrames);
    await tab.click('#gif-cancel');
  }
  const stopped = await memory();
  const mb = (bytes) => (bytes / 2 ** 20).toFixed(1);
  t.diagnostic(`GIFs of 1 s at 25 frames a second: ${Math.min(...sizes)} to ${Math.max(...sizes)} bytes`);
  t.diagnostic(`program memory after recording 1: ${mb(after[0].program)} MB, after 10: ${mb(after[9].program)} MB, ` +
    `after 3 stopped: ${mb(stopped.program)} MB`);
  if (cdp) {
    t.diagnostic(`script heap after 1: ${mb(after[0].script)} MB, after 10: ${mb(after[9].script)} MB, ` +
      `after 3 stopped: ${mb(stopped.script)} MB`);
  }
  const kSlack = 4 * 2 ** 20;
  assert.ok(after[9].program - after[0].program <= kSlack, `program memory ${mb(after[0].program)} -> ${mb(after[9].program)} MB`);
  assert.ok(stopped.program - after[0].program <= kSlack, `program memory after stopping: ${mb(stopped.program)} MB`);
  if (cdp) {
    assert.ok(after[9].script - after[0].script <= kSlack, `script heap ${mb(after[0].script)} -> ${mb(after[9].script)} MB`);
    assert.ok(stopped.script - after[0].script <= kSlack, `script heap after stopping: ${mb(stopped.script)} MB`);
  }
  assert.deepEqual(await takeDownloads(tab), [], 'stopped recordings hand nothing over');
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('the buttons are reached with Tab, in order, and axe finds nothing with the recording shown', async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await open(tab, '#answer=7');
  await tab.click('#pause');
  const tabOrder = async (count) => {
    await tab.focus('#back');
    const ids = [];
    for (let i = 0; i < count; ++i) {
      await tab.keyboard.press('Tab');
      ids.push(await tab.evaluate(() => document.activeElement.id));
    }
    return ids;
  };
  assert.deepEqual(await tabOrder(9),
    ['fullscreen', 'frame-link', 'show-qr', 'pause', 'speed', 'param-angle', 'save-png', 'gif-toggle', 'canvas']);
  await tab.focus('#gif-toggle');
  await tab.keyboard.press('Enter');
  assert.equal(await tab.$eval('#gif-toggle', (b) => b.getAttribute('aria-expanded')), 'true');
  assert.deepEqual(await tabOrder(12), ['fullscreen', 'frame-link', 'show-qr', 'pause', 'speed', 'param-angle',
    'save-png', 'gif-toggle', 'gif-seconds', 'gif-fps', 'record-gif', 'canvas']);
  assert.deepEqual(await accessibilityViolations(tab), [], 'the panel open');
  // The keyboard alone: a recording started and stopped, then the frame as a PNG.
  await tab.select('#gif-seconds', '10');
  await holdRecordings(tab, kHeldFrames);
  await tab.focus('#record-gif');
  await tab.keyboard.press('Enter');
  assert.equal(await tab.evaluate(() => document.activeElement.id), 'gif-cancel');
  await tab.keyboard.press('Enter');
  assert.equal(await tab.$eval('#gif-status', (e) => e.textContent), 'Nagrywanie przerwane.');
  await tab.keyboard.press('Enter');  // the focus is back on Nagraj GIF
  assert.deepEqual(await accessibilityViolations(tab), [], 'recording');
  await tab.click('#gif-cancel');
  await takeDownloads(tab);
  await tab.focus('#save-png');
  await tab.keyboard.press(' ');
  const [png] = await waitForDownloads(tab);
  assert.match(png.name, /^plotnik-7-t\d+\.png$/);
  assert.deepEqual(await accessibilityViolations(tab), [], 'after both');
  // A mouse picture has no GIF; a still one neither, but both save their frame.
  for (const fragment of ['#answer=4', '#answer=9']) {
    await open(tab, fragment);
    assert.deepEqual(await tab.evaluate(() => ['save-png', 'gif-toggle', 'gif-panel'].map((id) => document.getElementById(id).hidden)),
      [false, true, true], fragment);
  }
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

// The browser's own download, not caught: Chromium is told where to put files (Firefox's download
// folder cannot be set from here). The files land under their names, with no Content Security
// Policy violation, from the server and from the folder.
test('in Chromium the files really download, under the page\'s policy', { skip: browserName !== 'chromium' }, async () => {
  for (const [where, address] of [['served', `${session.served.origin}/`], ['folder', fileUrl()]]) {
    const folder = mkdtempSync(join(tmpdir(), 'plotnik-downloads-'));
    const tab = await openTab(session.browser, { origin: session.served.origin });
    await (await tab.createCDPSession()).send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    await tab.evaluateOnNewDocument(() => {
      window.violations = [];
      document.addEventListener('securitypolicyviolation', (event) => window.violations.push(event.violatedDirective));
    });
    await tab.goto(`${address}#answer=7&ticks=2345`);
    await waitForMenu(tab);
    await tab.click('#save-png');
    await recordGif(tab, 1, 10);
    const wanted = ['plotnik-7-t2345-1s-10fps.gif', 'plotnik-7-t2345.png'];
    for (let waited = 0; readdirSync(folder).sort().join() !== wanted.join() && waited < 30000; waited += 100) {
      await pause(100);
    }
    assert.deepEqual(readdirSync(folder).sort(), wanted, where);
    assert.equal(differences(imagePixels(readFileSync(join(folder, wanted[1]))), exporterPixels('7', 2345)), '', where);
    assert.ok(readFileSync(join(folder, wanted[0])).equals(exporterGif('7', 2345, 10, 100)), where);
    assert.deepEqual(await tab.evaluate(() => window.violations), [], where);
    assert.deepEqual(tab.problems, []);
    await tab.close();
    rmSync(folder, { recursive: true, force: true });
  }
});
