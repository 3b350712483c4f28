// The page draws a frame only when it can change, counted rather than timed: a still picture
// once, a mouse picture once and again for each move of its pointer to another frame pixel. The
// frame left standing is the exporter's. (Moving pictures: lesson_keys.test.mjs.)
import assert from 'node:assert/strict';
import { test } from 'node:test';
import {
  browserAndSite, canvasPixels, differences, exporterPixels, frameOnCanvas, framesDrawn, openTab, pointAt,
  waitForLink, waitForMenu,
} from './harness.mjs';

const session = browserAndSite();

const pause = (ms) => new Promise((done) => setTimeout(done, ms));

// Frames drawn while `during` runs and for half a second after it: a page that draws when it
// need not would draw some 30 frames in it.
async function framesOver(tab, during) {
  const before = await framesDrawn(tab);
  await during();
  await pause(500);
  return (await framesDrawn(tab)) - before;
}

// answer, pointer moves (frame pixels) after it opens, frames expected: opening, at rest, moves
const cases = [
  ['3', [[100, 100], [900, 500]], [1, 0, 0]],
  ['5', [[100, 100], [900, 500]], [1, 0, 0]],
  ['9', [[100, 100], [900, 500]], [1, 0, 0]],
  ['2', [[700, 100], [701, 100], [701, 100], [1000, 650]], [1, 0, 3]],
  ['4', [[700, 100], [701, 100], [701, 100], [1000, 650]], [1, 0, 3]],
  ['10', [[700, 100], [701, 100], [701, 100], [1000, 650]], [1, 0, 3]],
];

test('still and mouse pictures draw only when their frame can change', async (t) => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await tab.goto(session.served.origin + '/');
  await waitForMenu(tab);
  for (const [answer, moves, expected] of cases) {
    const steered = expected[2] > 0;
    const counted = [
      await framesOver(tab, async () => {
        await tab.evaluate((a) => { location.hash = '#answer=' + a; }, answer);
        await tab.waitForFunction((a) => document.getElementById('canvas').dataset.link?.startsWith(`answer=${a}&`),
          {}, answer);
      }),
      await framesOver(tab, async () => {}),
      await framesOver(tab, async () => {
        for (const [x, y] of moves) {
          await pointAt(tab, x, y);
          if (steered) {
            await waitForLink(tab, (f) => f.mouse.join() === `${x},${y}`, `picture ${answer}: the pointer at ${x}, ${y}`);
          }
        }
      }),
    ];
    t.diagnostic(`picture ${answer}: ${counted.join(', ')} frames (opening, at rest, ${moves.length} moves)`);
    assert.deepEqual(counted, expected, `picture ${answer}`);
    const frame = await frameOnCanvas(tab);
    assert.equal(differences(await canvasPixels(tab), exporterPixels(frame.answer, frame.ticks, frame.mouse)), '',
      frame.link);
  }
  assert.deepEqual(tab.problems, []);
});
