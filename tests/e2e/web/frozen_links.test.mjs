// Frozen links draw exactly the exporter's picture for the same answer, clock and mouse: the
// gallery's inputs, each in a freshly opened page from the folder (the program unpacked from its
// script) and all in one page served (the program compiled as it streams in), and the extremes of
// clock and mouse, each followed within one page as a link changes. The exporter reads the whole
// font, the page a subset of it: every label drawn the same shows that the subset keeps them.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import {
  canvasPixels, differences, exporterPixels, fileUrl, launchBrowser, notInWebKit, openTab, serveSite, waitForMenu,
  waitUntil,
} from './harness.mjs';

// answer, ticks, mouse
const gallery = [
  ['1', 1000, [0, 0]], ['2', 0, [1270, 400]], ['3', 0, [0, 0]], ['4', 0, [720, 240]], ['5', 0, [0, 0]],
  ['6', 300, [0, 0]], ['7', 2000, [0, 0]], ['8', 2000, [0, 0]], ['9', 0, [0, 0]], ['10', 0, [700, 0]],
];
const extremes = [
  ['1', 3999, [0, 0]], ['1', 4294967295, [0, 0]], ['x', 20, [0, 0]],
  ['2', 0, [-32768, 32767]], ['2', 0, [1279, 719]], ['2', 0, [32767, -32768]],
  ['4', 0, [640, -32768]], ['4', 0, [32767, 32767]], ['4', 0, [-32768, -32768]], ['4', 0, [0, 360]],
  ['6', 2261, [0, 0]], ['6', 4294967295, [0, 0]], ['7', 6785, [0, 0]], ['7', 4294967295, [0, 0]],
  ['8', 6785, [0, 0]], ['10', 0, [32767, 0]], ['10', 0, [-32768, 0]], ['10', 0, [1279, 719]],
];

const link = ([answer, ticks, mouse]) => `#answer=${answer}&mouse=${mouse.join(',')}&ticks=${ticks}`;

let browser;
let served;
before(async () => {
  browser = await launchBrowser();
  served = await serveSite();
});
after(async () => {
  await browser?.close();
  await served?.stop();
});

async function expectDrawn(tab, input) {
  // The frame of this link, not the one before it, drawn and standing.
  await waitUntil(tab, `the frame of ${link(input)}`, (wanted) => {
    const canvas = document.getElementById('canvas');
    return canvas.dataset.state === 'drawn' && canvas.dataset.link === wanted;
  }, link(input).slice(1));
  assert.equal(differences(await canvasPixels(tab), exporterPixels(...input)), '', link(input));
}

test('the gallery, each link opened in a new page from the folder', async () => {
  const tab = await openTab(browser);
  for (const [n, input] of gallery.entries()) {
    await tab.goto(fileUrl(link(input), `?load=${n}`));
    await expectDrawn(tab, input);
  }
  assert.deepEqual(tab.problems, []);
});

test('the gallery served, the program compiled as it streams in, the links followed within one page', async () => {
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/');
  await waitForMenu(tab);
  for (const input of gallery) {
    await tab.evaluate((fragment) => { location.hash = fragment; }, link(input));
    await expectDrawn(tab, input);
  }
  // The page fetched its program once, and never the copy packed for the folder. (Its worker keeps
  // the site later, taking the program from the browser's cache where it can: the offline test.)
  const fetched = await tab.evaluate(() => performance.getEntriesByType('resource').map((entry) => new URL(entry.name).pathname));
  assert.deepEqual(fetched.filter((path) => path === '/plotnik.wasm'), ['/plotnik.wasm']);
  assert.equal(served.requests.get('/plotnik-program.js'), undefined, 'the program for the folder');
  assert.deepEqual(tab.problems, []);
});

test('extremes of clock and mouse, the link changed within one page',
  notInWebKit('the clamping is the program\'s own code; WebKit draws the gallery'), async () => {
  const tab = await openTab(browser);
  await tab.goto(fileUrl());
  await waitForMenu(tab);
  for (const input of extremes) {
    await tab.evaluate((fragment) => { location.hash = fragment; }, link(input));
    await expectDrawn(tab, input);
  }
  assert.deepEqual(tab.problems, []);
});
