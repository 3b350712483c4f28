// The page on the screens a classroom has: the whole picture in view under its controls, nothing
// to scroll, as large as the window allows, and the pointer still on the exact frame pixel.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import {
  browserAndSite, canvasPixels, differences, exporterPixels, frameOnCanvas, openTab, pointAt, waitForMenu,
} from './harness.mjs';

// width, height, the narrowest the picture may be
const sizes = [
  [1366, 657, 880], // a school laptop's 1366 x 768 less the browser's bars
  [1280, 690, 800], // a Chromebook
  [844, 390, 480],  // a phone held sideways
  [390, 844, 340],  // a phone upright
  [1920, 1080, 1281], // a projector: larger than the frame
];

const session = browserAndSite();

const layout = (tab) => tab.evaluate(() => {
  const r = document.getElementById('canvas').getBoundingClientRect();
  const controls = [...document.querySelectorAll('.controls > :not([hidden])')].map((e) => e.getBoundingClientRect());
  const page = document.scrollingElement;
  return {
    box: { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width, height: r.height },
    controlsInView: controls.every((c) => c.top >= 0 && c.bottom <= innerHeight && c.right <= innerWidth),
    scrolls: page.scrollHeight > innerHeight || page.scrollWidth > innerWidth,
    viewport: [innerWidth, innerHeight],
  };
});

test('at five screen sizes the picture fits whole, and the pointer stays exact', async (t) => {
  for (const [width, height, narrowest] of sizes) {
    const tab = await openTab(session.browser, { width, height, origin: session.served.origin });
    await tab.goto(session.served.origin + '/');
    await waitForMenu(tab);
    const seen = [];
    for (const answer of ['7', '4']) {
      await tab.evaluate((a) => { location.hash = '#answer=' + a; }, answer);
      await tab.waitForFunction((a) => document.getElementById('canvas').dataset.link?.startsWith(`answer=${a}&`), {}, answer);
      const { box, controlsInView, scrolls, viewport } = await layout(tab);
      const where = `${width} x ${height}, picture ${answer}`;
      assert.deepEqual(viewport, [width, height], where);
      assert.ok(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height,
        `${where}: canvas at ${JSON.stringify(box)}`);
      assert.equal(scrolls, false, `${where}: the page scrolls`);
      assert.ok(controlsInView, `${where}: a control is out of view`);
      assert.ok(box.width >= narrowest, `${where}: ${box.width} px wide`);
      assert.equal(Math.abs(box.width / box.height - 16 / 9) < 0.01, true, `${where}: ${box.width} x ${box.height}`);
      assert.equal(box.left, Math.round(box.left), `${where}: starts between pixels`);
      assert.equal(box.top, Math.round(box.top), `${where}: starts between pixels`);
      seen.push(box.width);
    }
    // Picture 7's GIF panel opened under the controls: everything still fits.
    await tab.evaluate(() => { location.hash = '#answer=7'; });
    await tab.waitForFunction(() => document.getElementById('canvas').dataset.link?.startsWith('answer=7&'));
    await tab.click('#gif-toggle');
    const recording = await layout(tab);
    assert.equal(recording.scrolls, false, `${width} x ${height}: the page scrolls with the GIF panel`);
    assert.ok(recording.controlsInView, `${width} x ${height}: a control is out of view with the GIF panel`);
    assert.ok(recording.box.top >= 0 && recording.box.bottom <= height && recording.box.right <= width,
      `${width} x ${height}: with the GIF panel the canvas is at ${JSON.stringify(recording.box)}`);
    t.diagnostic(`${width} x ${height}: with the GIF panel open, picture 7 is ${recording.box.width} px wide`);
    await tab.evaluate(() => { location.hash = '#answer=4'; });
    await tab.waitForFunction(() => document.getElementById('canvas').dataset.link?.startsWith('answer=4&'));
    // Picture 4's parameters: in the row of controls on a wide screen, behind "Parametry" on a
    // narrow one; opened, they and the whole picture still fit.
    if (await tab.$eval('#parameters-toggle', (b) => getComputedStyle(b).display !== 'none')) {
      await tab.click('#parameters-toggle');
    }
    const opened = await layout(tab);
    const fields = await tab.$$eval('#parameters input', (inputs) => inputs.map((e) => {
      const r = e.getBoundingClientRect();
      return r.width > 0 && r.top >= 0 && r.bottom <= innerHeight && r.right <= innerWidth;
    }));
    assert.deepEqual(fields, [true, true], `${width} x ${height}: the fields a and b in view`);
    assert.equal(opened.scrolls, false, `${width} x ${height}: the page scrolls with the fields`);
    assert.ok(opened.box.top >= 0 && opened.box.bottom <= height && opened.box.right <= width,
      `${width} x ${height}: with the fields the canvas is at ${JSON.stringify(opened.box)}`);
    t.diagnostic(`${width} x ${height}: with the fields shown, picture 4 is ${opened.box.width} px wide`);
    // Over frame pixel (720, 240), or the nearest one the screen has a pixel for.
    const scale = await pointAt(tab, 720, 240);
    await tab.waitForFunction(() => /mouse=7\d\d,2\d\d/.test(document.getElementById('canvas').dataset.link));
    const frame = await frameOnCanvas(tab);
    const slack = Math.ceil(1 / scale);
    assert.ok(Math.abs(frame.mouse[0] - 720) < slack && Math.abs(frame.mouse[1] - 240) < slack,
      `${width} x ${height}: pointer on ${frame.mouse}`);
    assert.equal(differences(await canvasPixels(tab), exporterPixels('4', frame.ticks, frame.mouse)), '',
      `${width} x ${height}: ${frame.link}`);
    t.diagnostic(`${width} x ${height}: picture ${seen[0]} px wide (7), ${seen[1]} px (4)`);
    assert.deepEqual(tab.problems, []);
    await tab.close();
  }
});
