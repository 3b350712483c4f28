// A teacher's session on the served page: picture 4 chosen from the menu follows the pointer at
// full size, at half size and in full screen, frame pixels as the exporter draws them; Escape
// brings the menu back; the spiral's primes are found once for the page's whole life.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { browserAndSite, exporterPixels, kWidth, openTab, pointAt, waitForMenu, waitForPicture } from './harness.mjs';

const session = browserAndSite();

const shown = (tab) => tab.evaluate(() => ({
  menu: !document.getElementById('menu').hidden,
  picture: !document.getElementById('picture').hidden,
}));

const primeCacheReady = (tab) => tab.evaluate(() => Module.ccall('plotnik_test_prime_cache_ready', 'number', [], []));

test('picture 4 follows the pointer at every size, and Escape goes back to the menu', async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await tab.goto(session.served.origin + '/');
  await waitForMenu(tab);
  await tab.click('a[href="#answer=4"]');
  await tab.waitForSelector('#canvas[data-link^="answer=4&"]');
  const target = exporterPixels('4', 0, [720, 240]);
  const elsewhere = exporterPixels('4', 0, [100, 600]);

  const sizes = [];
  sizes.push(await pointAt(tab, 720, 240));
  assert.equal(await waitForPicture(tab, target), '', 'full size');
  // A link to this frame, asked for with L so the pointer stays where it is.
  await tab.keyboard.press('l');
  const message = await tab.$eval('#message', (e) => e.textContent);
  assert.match(message, new RegExp(`${session.served.origin}/#answer=4&mouse=720,240&ticks=\\d+$`));

  await tab.evaluate(() => { document.getElementById('canvas').style.width = '640px'; });
  sizes.push(await pointAt(tab, 100, 600));
  assert.equal(await waitForPicture(tab, elsewhere), '', 'half size, away');
  sizes.push(await pointAt(tab, 720, 240));
  assert.equal(await waitForPicture(tab, target), '', 'half size');
  await tab.evaluate(() => { document.getElementById('canvas').style.width = ''; });

  await tab.click('#fullscreen');
  await tab.waitForFunction(() => document.fullscreenElement !== null);
  // Full screen is the window in one browser, the whole (headless) screen in another: the
  // picture fills its width or its height.
  const screen = await tab.evaluate(() => Math.round(Math.min(innerWidth, (innerHeight * 16) / 9)));
  sizes.push(await pointAt(tab, 100, 600));
  assert.equal(await waitForPicture(tab, elsewhere), '', 'full screen, away');
  sizes.push(await pointAt(tab, 720, 240));
  assert.equal(await waitForPicture(tab, target), '', 'full screen');
  // In a 1400 x 1000 window the picture fills the width but for the margins, past its 1280 pixels.
  assert.deepEqual(sizes.map((s) => Math.round(s * kWidth)), [1360, 640, 640, screen, screen]);
  assert.ok(screen > 1280, `full screen is ${screen} pixels wide`);
  await tab.evaluate(() => document.exitFullscreen());
  await tab.waitForFunction(() => document.fullscreenElement === null);

  await tab.keyboard.press('Escape');
  assert.deepEqual(await shown(tab), { menu: true, picture: false });
  assert.equal(new URL(tab.url()).hash, '');
  const console = await tab.$eval('#console', (e) => e.textContent);
  assert.match(console, /Subsystems initialised!\nWindow created!\nRenderer created!/);
  assert.deepEqual(tab.problems, []);
});

test('the spiral twice: its primes are found once, the console stays short', async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await tab.goto(session.served.origin + '/');
  await waitForMenu(tab);
  assert.equal(await primeCacheReady(tab), 0);
  const spiral = exporterPixels('5');
  for (let visit = 0; visit < 2; ++visit) {
    await tab.click('a[href="#answer=5"]');
    assert.equal(await waitForPicture(tab, spiral), '', `visit ${visit + 1}`);
    assert.equal(await primeCacheReady(tab), 1);
    await tab.waitForFunction(() => document.getElementById('console').textContent.includes('Prosze czekac...'));
    await tab.click('#back');
    assert.deepEqual(await shown(tab), { menu: true, picture: false });
    assert.equal(await primeCacheReady(tab), 1, 'kept after the picture is closed');
  }
  const lines = await tab.$eval('#console', (e) => e.textContent.split('\n').length);
  assert.ok(lines <= 8, `${lines} console lines`);
  assert.deepEqual(tab.problems, []);
});
