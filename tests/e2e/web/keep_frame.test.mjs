// A frame set by hand stays set: a mouse picture follows a pointer pressed on it, not one passing
// over it on the way to a control; every moving picture can be held; its parameters can be typed,
// and the frame then is the exporter's frame for the canvas's link.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import {
  browserAndSite, canvasPixels, differences, exporterPixels, frameOnCanvas, moveMouseTo, notInWebKit, openTab,
  pagePixel, pointAt, waitForLink, waitForMenu,
} from './harness.mjs';

const session = browserAndSite();

async function openLive(tab, answer) {
  await tab.goto(`${session.served.origin}/#answer=${answer}`);
  await waitForMenu(tab);
  await waitForLink(tab, (f) => f.answer === answer);
}

const pause = (ms) => new Promise((done) => setTimeout(done, ms));

// Types into a field as a teacher does: a click in it, all its text selected, the value, Enter.
async function typeInto(tab, selector, text) {
  await tab.click(selector);
  await tab.keyboard.down('Control');
  await tab.keyboard.press('a');
  await tab.keyboard.up('Control');
  await tab.keyboard.type(text);
  await tab.keyboard.press('Enter');
}
const snapshotOf = (frame) => exporterPixels(frame.answer, frame.ticks, frame.mouse);

// The frame a mouse picture shows after a click on frame pixel (560, 160), and the route to each
// control: each is reached in many small moves over the picture and the page, then used.
test('a frame set by a click survives the way to every control and the link copied is that frame', async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  for (const answer of ['2', '4', '10']) {
    await openLive(tab, answer);
    await pointAt(tab, 560, 160);
    const set = await waitForLink(tab, (f) => f.mouse.join() === '560,160', `picture ${answer}: the click`);
    const pixels = await canvasPixels(tab);
    assert.equal(differences(pixels, snapshotOf(set)), '', set.link);
    // Over the picture to its far corner and back out, as a hand passing by.
    await moveMouseTo(tab, await pagePixel(tab, 1270, 700), 20);
    for (const control of ['#frame-link', '#fullscreen', '#pause', '#pause', `#${answer === '2' ? 'param-k' : answer === '4' ? 'param-a' : 'param-terms'}`]) {
      await moveMouseTo(tab, control, 15);
      await tab.mouse.down();
      await tab.mouse.up();
      if (control === '#fullscreen') {
        await tab.waitForFunction(() => document.fullscreenElement !== null);
        await tab.evaluate(() => document.exitFullscreen());
        await tab.waitForFunction(() => document.fullscreenElement === null);
      }
      await pause(100);
      const now = await frameOnCanvas(tab);
      assert.equal(now.link, set.link, `picture ${answer}, after ${control}`);
      assert.equal(differences(await canvasPixels(tab), pixels), '', `picture ${answer}, after ${control}`);
      if (control === '#frame-link') {
        const message = await tab.$eval('#message', (e) => e.textContent);
        assert.ok(message.endsWith(`/#${set.link}`), `picture ${answer}: the link copied: ${message}`);
      }
    }
  }
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

test('a held mouse picture takes no drag, but the arrow keys still move it',
  notInWebKit('kept short: WebKit holds and steps picture 7'), async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await openLive(tab, '4');
  await pointAt(tab, 560, 160);
  await waitForLink(tab, (f) => f.mouse.join() === '560,160');
  await tab.focus('#canvas');
  await tab.keyboard.press(' ');
  assert.equal(await tab.$eval('#pause', (b) => b.textContent), 'Wznów');
  const held = await frameOnCanvas(tab);
  await moveMouseTo(tab, await pagePixel(tab, 100, 100));
  await tab.mouse.down();
  await moveMouseTo(tab, await pagePixel(tab, 1000, 600), 25);
  await tab.mouse.up();
  await pause(200);
  assert.equal((await frameOnCanvas(tab)).link, held.link, 'a drag moved a held picture');
  await tab.keyboard.press('ArrowRight');
  const stepped = await waitForLink(tab, (f) => f.mouse.join() === '561,160', 'one to the right');
  assert.equal(differences(await canvasPixels(tab), snapshotOf(stepped)), '', stepped.link);
  assert.deepEqual(tab.problems, []);
  await tab.close();
});

// The value a frame's parameter has, computed here from the frame's link in single precision as the
// picture computes it, to compare with the field.
const kValues = {
  'param-f': (f) => Math.fround(Math.fround(Math.fround(Math.fround(f.ticks) / 20) % 200) * Math.fround(0.1)),
  'param-x0': (f) => Math.fround(1 - Math.fround(f.mouse[1] / 720)),
  'param-k': (f) => Math.fround(Math.fround(f.mouse[0] / 1280) * 4),
  'param-a': (f) => Math.fround((360 - f.mouse[1]) / 200),
  'param-b': (f) => Math.fround((f.mouse[0] - 640) / 40),
  'param-terms': (f) => Math.trunc((f.mouse[0] * 10) / 1280) + 1,
  'param-angle': (f, wrap) => {
    const phase = Math.fround(Math.fround(Math.fround(f.ticks) / 360) % wrap);
    return ((phase % (2 * Math.PI)) / Math.PI) * 180;
  },
};
const kSixPi = 18.84955592153876;

test('typed values hold the picture at the nearest frame, and the fields show the frame\'s values',
  notInWebKit('the nearest frame is the program\'s own arithmetic'), async (t) => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  //  picture, field, typed, what the frame must then satisfy
  const cases = [
    ['1', 'param-f', '7,5', (f) => f.ticks % 4000 === 1500],
    ['2', 'param-k', '3,57', (f) => f.mouse[0] === 1142],
    ['2', 'param-x0', '0.25', (f) => f.mouse[1] === 540],
    ['4', 'param-a', '2', (f) => f.mouse[1] === -40],
    ['4', 'param-b', '-3', (f) => f.mouse.join() === '520,-40'],
    ['6', 'param-angle', '90', (f) => Math.abs(kValues['param-angle'](f, 2 * Math.PI) - 90) < 0.1],
    ['7', 'param-angle', '45,5', (f) => Math.abs(kValues['param-angle'](f, kSixPi) - 45.5) < 0.1],
    ['8', 'param-angle', '300', (f) => Math.abs(kValues['param-angle'](f, kSixPi) - 300) < 0.1],
    ['10', 'param-terms', '4', (f) => f.mouse[0] === 384],
  ];
  let open = null;
  for (const [answer, id, typed, wanted] of cases) {
    if (open !== answer) {
      await openLive(tab, answer);
      open = answer;
    }
    await moveMouseTo(tab, `#${id}`);
    await typeInto(tab, `#${id}`, typed);
    const frame = await waitForLink(tab, wanted, `picture ${answer}, ${id} = ${typed}`);
    await pause(150);
    assert.equal((await frameOnCanvas(tab)).link, frame.link, `picture ${answer}: held after typing`);
    assert.equal(await tab.$eval('#pause', (b) => b.textContent), 'Wznów', `picture ${answer}: held`);
    assert.equal(differences(await canvasPixels(tab), snapshotOf(frame)), '', frame.link);
    const shown = await tab.$eval(`#${id}`, (e) => e.value);
    const value = kValues[id](frame, answer === '6' ? 2 * Math.PI : kSixPi);
    const decimals = (shown.split(',')[1] ?? '').length;
    assert.ok(Math.abs(Number(shown.replace(',', '.')) - value) <= 0.5 * 10 ** -decimals + 1e-9,
      `picture ${answer}: ${id} shows ${shown} for ${value}`);
    t.diagnostic(`picture ${answer}: ${id} = ${typed} gives ${frame.link}, shown ${shown}`);
  }
  // Rubbish and values out of reach leave the frame and say why beside the field.
  for (const [typed, saying] of [['abc', 'to nie liczba'], ['300', 'Poza zakresem']]) {
    const before = await frameOnCanvas(tab);
    await typeInto(tab, '#param-terms', typed);
    assert.match(await tab.$eval('#param-terms-note', (e) => e.textContent), new RegExp(saying));
    await pause(100);
    assert.equal((await frameOnCanvas(tab)).link, before.link, typed);
  }
  // Up and down in a field: one term more, then one less.
  const before = await frameOnCanvas(tab);
  await tab.keyboard.press('ArrowUp');
  await waitForLink(tab, (f) => f.mouse[0] === before.mouse[0] + 128, 'one term more');
  await tab.keyboard.press('ArrowDown');
  await waitForLink(tab, (f) => f.mouse[0] === before.mouse[0], 'one term less');
  assert.deepEqual(tab.problems, []);
  await tab.close();
});
