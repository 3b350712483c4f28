// A lesson with the page: a moving picture held, stepped and slowed down, drawing frames only
// while its clock moves; a mouse picture steered by the keys or a finger; every control reached
// with Tab and worked with Enter or Space.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import {
  browserAndSite, canvasPixels, differences, exporterPixels, frameOnCanvas, framesDrawn, notInWebKit, openTab,
  pointAt, waitForLink, waitForMenu, waitForRest, waitUntil,
} from './harness.mjs';

const session = browserAndSite();

async function openPicture(tab, answer, options = {}) {
  await tab.goto(session.served.origin + '/');
  await waitForMenu(tab);
  await (options.tap ? tab.tap(`a[href="#answer=${answer}"]`) : tab.click(`a[href="#answer=${answer}"]`));
  await waitForLink(tab, (f) => f.answer === answer);
}

const sameAsExporter = async (tab, frame) =>
  differences(await canvasPixels(tab), exporterPixels(frame.answer, frame.ticks, frame.mouse));

const pause = (ms) => new Promise((done) => setTimeout(done, ms));
const kClockGrainMs = 20;  // the page's clock and the test's are read to a few ms

test('picture 7 holds still, steps by 40 ms and a second, restarts, and runs at half speed', async (t) => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await openPicture(tab, '7');
  await waitForLink(tab, (f) => f.ticks > 1200, 'over a second in');
  const running = await framesDrawn(tab);  // the menu draws none
  await tab.focus('#canvas');
  await tab.keyboard.press(' ');
  assert.equal(await tab.$eval('#pause', (b) => b.textContent), 'Wznów');
  // The frame the pause stopped on: at most one more frame follows the key.
  const held = await waitForRest(tab, 'picture 7 held');
  const heldPixels = await canvasPixels(tab);
  const heldFrames = await framesDrawn(tab);
  await pause(600);
  assert.equal((await frameOnCanvas(tab)).link, held.link, 'the link stands still');
  assert.equal(differences(await canvasPixels(tab), heldPixels), '', 'the frame stands still');

  let stepped;
  for (let i = 1; i <= 3; ++i) {
    await tab.keyboard.press('ArrowRight');
    stepped = await waitForLink(tab, (f) => f.ticks === held.ticks + 40 * i, `step ${i}`);
  }
  await pause(300);
  const counts = [running, (await framesDrawn(tab)) - heldFrames];
  t.diagnostic(`picture 7: ${counts[0]} frames in its first 1.2 s, 3 steps after a 0.6 s hold: ${counts[1]}`);
  // Frame after frame while the clock runs; how many is the machine's pace.
  assert.ok(counts[0] > 2, `${counts[0]} frames while running`);
  assert.equal(counts[1], 3, 'one frame for each step, none while held');
  await tab.keyboard.down('Shift');
  await tab.keyboard.press('ArrowLeft');
  await tab.keyboard.up('Shift');
  const back = await waitForLink(tab, (f) => f.ticks === stepped.ticks - 1000, 'a second back');
  assert.equal(await sameAsExporter(tab, back), '', back.link);

  // Resumed, the clock goes on from the held frame: the first frame after the key is at most as
  // far on as the time from the key to its frame (a busy machine may take a second to draw it),
  // never by the time it stood held as well.
  const keyAt = performance.now();
  await tab.keyboard.press(' ');
  assert.equal(await tab.$eval('#pause', (b) => b.textContent), 'Pauza');
  const resumed = await waitForLink(tab, (f) => f.ticks > back.ticks, 'running again');
  const took = performance.now() - keyAt;
  assert.ok(resumed.ticks - back.ticks <= took + kClockGrainMs,
    `resumed at ${resumed.ticks} after ${back.ticks}, ${Math.round(took)} ms after the key: a jump`);

  // Half speed: the picture's clock against the page's clock at the turn each frame was drawn in,
  // over the frames of a second of the page's clock, however few a busy machine draws.
  await tab.evaluate(() => {
    window.drawnAt = [];
    const told = Module.frameDrawn;
    Module.frameDrawn = (link) => {
      window.drawnAt.push([Module._plotnik_test_turn_clock(), Number(/ticks=(\d+)/.exec(link)[1])]);
      told(link);
    };
  });
  await tab.select('#speed', '0.5');
  await tab.evaluate(() => { window.drawnAt = []; });  // frames from here on run at half speed
  const from = await waitUntil(tab, 'a frame at half speed', () => window.drawnAt.at(-1));
  const to = await waitUntil(tab, 'a frame a second later', (start) => {
    const last = window.drawnAt.at(-1);
    return last[0] >= start + 1000 && last;
  }, from[0]);
  const rate = (to[1] - from[1]) / (to[0] - from[0]);
  assert.ok(Math.abs(rate - 0.5) < 0.005, `the clock ran at ${rate.toFixed(4)} of the page's`);
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('picture 4: the arrows move the pointer by one pixel, with Shift by ten',
  notInWebKit('kept short: WebKit steps picture 7 with the arrows'), async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await openPicture(tab, '4');
  await pointAt(tab, 720, 240);
  await waitForLink(tab, (f) => f.mouse.join() === '720,240');
  await tab.focus('#canvas');
  for (let i = 0; i < 10; ++i) {
    await tab.keyboard.press('ArrowRight');
  }
  await tab.keyboard.down('Shift');
  for (let i = 0; i < 3; ++i) {
    await tab.keyboard.press('ArrowUp');
  }
  await tab.keyboard.up('Shift');
  const moved = await waitForLink(tab, (f) => f.mouse.join() === '730,210', 'ten right, thirty up');
  assert.equal(await sameAsExporter(tab, moved), '', moved.link);
  // The pointer never leaves the frame.
  await tab.keyboard.down('Shift');
  for (let i = 0; i < 30; ++i) {
    await tab.keyboard.press('ArrowUp');
  }
  await tab.keyboard.up('Shift');
  await waitForLink(tab, (f) => f.mouse.join() === '730,0', 'up to the top edge');
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('with the keyboard only: Tab reaches every control, Enter works them, the arrows start at the centre',
  notInWebKit('kept short'), async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await tab.goto(session.served.origin + '/');
  await waitForMenu(tab);
  // Each Tab's target, and whether it shows a ring of at least 2 px.
  const tabRound = async (presses) => {
    const seen = new Map();
    for (let i = 0; i < presses; ++i) {
      await tab.keyboard.press('Tab');
      const [id, ring] = await tab.evaluate(() => {
        const e = document.activeElement;
        const style = getComputedStyle(e);
        return [e.id || e.getAttribute('href'), style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2];
      });
      seen.set(id, ring);
      // The canvas is the last stop: past the page's end headless Firefox's focus leaves for the
      // browser and, coming back, shows no ring until the page is loaded again.
      if (id === 'canvas') {
        break;
      }
    }
    return seen;
  };
  assert.equal((await tabRound(4)).get('#answer=4'), true, 'the menu reached with Tab');
  await tab.keyboard.press('Enter');
  await waitForLink(tab, (f) => f.answer === '4');
  const onFour = await tabRound(13);
  // The pointer never came over the picture: the first arrow starts at the frame's centre (the
  // canvas has the focus: Tab stopped there).
  await tab.keyboard.press('ArrowRight');
  await waitForLink(tab, (f) => f.mouse.join() === '641,360', 'one right of the centre');
  // Picture 7 from its link, in a page of its own: after Escape headless Firefox shows no rings on
  // the next Tabs (Chromium does), so the count starts from a freshly loaded page.
  await tab.keyboard.press('Escape');
  await tab.goto(session.served.origin + '/#answer=7');
  await waitForLink(tab, (f) => f.answer === '7');
  const onSeven = await tabRound(13);
  const ringed = (seen) => ['back', 'fullscreen', 'frame-link', 'show-qr', 'pause', 'speed', 'param-a', 'param-b',
    'param-angle', 'canvas'].filter((id) => seen.get(id));
  assert.deepEqual([ringed(onFour), ringed(onSeven)], [
    ['back', 'fullscreen', 'frame-link', 'show-qr', 'pause', 'param-a', 'param-b', 'canvas'],
    ['back', 'fullscreen', 'frame-link', 'show-qr', 'pause', 'speed', 'param-angle', 'canvas']]);
  // The pause button works with Enter and with Space; Enter on Menu goes back.
  await tab.focus('#pause');
  await tab.keyboard.press('Enter');
  assert.equal(await tab.$eval('#pause', (b) => b.textContent), 'Wznów');
  await tab.keyboard.press(' ');
  assert.equal(await tab.$eval('#pause', (b) => b.textContent), 'Pauza');
  await tab.focus('#back');
  await tab.keyboard.press('Enter');
  assert.equal(await tab.$eval('#picture', (p) => p.hidden), true);
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('on a touch screen: a tap opens picture 4 and a finger steers it',
  notInWebKit('WebKitGTK on a desktop has no touch screen'), async () => {
  const tab = await openTab(session.browser, { width: 844, height: 390, origin: session.served.origin, touch: true });
  await openPicture(tab, '4', { tap: true });
  const box = await tab.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { left: r.left, top: r.top, scale: r.width / 1280 };
  });
  const at = (x, y) => [Math.ceil(box.left + x * box.scale), Math.ceil(box.top + y * box.scale)];
  await tab.touchscreen.touchStart(...at(300, 600));
  const first = await waitForLink(tab, (f) => Math.abs(f.mouse[0] - 300) < 3 && Math.abs(f.mouse[1] - 600) < 3, 'finger down');
  await tab.touchscreen.touchMove(...at(900, 100));
  const moved = await waitForLink(tab, (f) => Math.abs(f.mouse[0] - 900) < 3 && Math.abs(f.mouse[1] - 100) < 3, 'finger moved');
  await tab.touchscreen.touchEnd();
  assert.notEqual(first.link, moved.link);
  assert.equal(await sameAsExporter(tab, moved), '', moved.link);
  assert.equal(await tab.evaluate(() => scrollY), 0, 'the finger does not scroll the page');
  assert.deepEqual(tab.problems, []);
  await tab.close();
});
