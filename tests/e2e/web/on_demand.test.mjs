// The page draws a frame only when it can change, counted rather than timed: a still picture
// once, a resting mouse picture once and again for each move of its pointer, a moving picture
// while its clock runs and not while it is held. The frame left standing is the exporter's.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import {
  canvasPixels, differences, exporterPixels, frameOnCanvas, framesDrawn, launchBrowser, openTab, pointAt,
  serveSite, waitForMenu,
} from './harness.mjs';

let browser;
let served;
before(async () => {
  browser = await launchBrowser();
  served = await serveSite();
});
after(async () => {
  await browser?.close();
  served?.server.close();
});

const pause = (ms) => new Promise((done) => setTimeout(done, ms));
const counts = [];  // what the frame counter said, for the report

async function open(tab, answer) {
  await tab.evaluate((a) => { location.hash = '#answer=' + a; }, answer);
  await tab.waitForFunction((a) => document.getElementById('canvas').dataset.link?.startsWith(`answer=${a}&`),
    { timeout: 30000 }, answer);
}

// Frames drawn while `during` runs and a second after it.
async function framesOver(tab, during = async () => {}) {
  const before = await framesDrawn(tab);
  await during();
  await pause(1000);
  return (await framesDrawn(tab)) - before;
}

const sameAsExporter = async (tab) => {
  const f = await frameOnCanvas(tab);
  return differences(await canvasPixels(tab), exporterPixels(f.answer, f.ticks, f.mouse));
};

test('still and mouse pictures draw only when their frame can change', async (t) => {
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/');
  await waitForMenu(tab);
  for (const answer of ['3', '5', '9']) {
    const opened = await framesOver(tab, () => open(tab, answer));
    const moved = await framesOver(tab, async () => {
      await pointAt(tab, 100, 100);
      await pointAt(tab, 900, 500);
    });
    counts.push(`picture ${answer}: ${opened} frame(s) in its first second, ${moved} after two pointer moves`);
    assert.deepEqual([opened, moved], [1, 0], `still picture ${answer}`);
    assert.equal(await sameAsExporter(tab), '', `picture ${answer}`);
  }
  for (const answer of ['2', '4', '10']) {
    await pointAt(tab, 200, 300);
    await pause(200);  // the picture before draws for it now, not on closing
    const opened = await framesOver(tab, () => open(tab, answer));
    const resting = await framesOver(tab);
    const moves = [[700, 100], [701, 100], [1000, 650]];
    const moved = await framesOver(tab, async () => {
      for (const [x, y] of moves) {
        const before = await framesDrawn(tab);
        await pointAt(tab, x, y);
        await tab.waitForFunction((n) => Module._plotnik_frames_drawn() > n, {}, before);
      }
    });
    const sameSpot = await framesOver(tab, () => pointAt(tab, 1000, 650));
    counts.push(`picture ${answer}: ${opened} on opening, ${resting} at rest, ${moved} for ${moves.length} moves, ` +
      `${sameSpot} for a move to the same pixel`);
    assert.deepEqual([opened, resting, moved, sameSpot], [1, 0, moves.length, 0], `mouse picture ${answer}`);
    assert.equal((await frameOnCanvas(tab)).mouse.join(), '1000,650');
    assert.equal(await sameAsExporter(tab), '', `picture ${answer} after a rest`);
  }
  t.diagnostic(counts.join('; '));
  assert.deepEqual(tab.problems, []);
});

test('a moving picture draws while its clock runs, not while held, once for each step', async (t) => {
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/');
  await waitForMenu(tab);
  const running = await framesOver(tab, () => open(tab, '7'));
  await tab.focus('#canvas');
  await tab.keyboard.press(' ');
  await pause(100);  // the frame the clock stopped on
  const held = await framesOver(tab);
  const stepped = await framesOver(tab, async () => {
    for (let i = 0; i < 3; ++i) {
      const before = await framesDrawn(tab);
      await tab.keyboard.press('ArrowRight');
      await tab.waitForFunction((n) => Module._plotnik_frames_drawn() > n, {}, before);
    }
  });
  t.diagnostic(`picture 7: ${running} frames in its first second, ${held} held, ${stepped} for 3 steps`);
  assert.ok(running > 10, `${running} frames in a running second`);
  assert.deepEqual([held, stepped], [0, 3]);
  assert.equal(await sameAsExporter(tab), '');
  assert.deepEqual(tab.problems, []);
});
