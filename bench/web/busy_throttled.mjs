// How busy the page keeps the browser while a picture is shown and left untouched, in headless
// Chromium: for the menu and each live picture, the main thread's busy share over 3 s, and the
// frames drawn a second over 3 s with the CPU slowed down 6 times (DevTools throttling, as on a
// slow tablet). Frames are the page's own count where it keeps one (plotnik_test_frames_drawn), else
// the browser's animation frames. Prints one line per picture; run it several times on a shared
// machine.
//   node bench/web/busy_throttled.mjs [SECONDS]
import { fileUrl, launchBrowser, openTab, waitForMenu } from '../../tests/e2e/web/harness.mjs';

const seconds = Number(process.argv[2] ?? 3);
const kSlower = 6;
const pictures = [['menu', ''], ...Array.from({ length: 10 }, (_, i) => [String(i + 1), `#answer=${i + 1}`])];

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Main-thread busy time (s) and frames so far.
async function counters(tab, devtools) {
  const { metrics } = await devtools.send('Performance.getMetrics');
  const busy = metrics.find((m) => m.name === 'TaskDuration').value;
  const frames = await tab.evaluate(() => (typeof Module._plotnik_test_frames_drawn === 'function'
    ? Module._plotnik_test_frames_drawn() : window.animationFrames ?? 0));
  return { busy, frames, at: performance.now() };
}

// The browser's own frames, counted for a page that keeps no count of its own; only while the
// frame rate is measured, as the counting keeps the browser drawing.
const countFrames = (tab, on) => tab.evaluate((counting) => {
  if (typeof Module._plotnik_test_frames_drawn === 'function') {
    return;
  }
  cancelAnimationFrame(window.frameCounter);
  window.animationFrames = 0;
  const count = () => {
    ++window.animationFrames;
    window.frameCounter = requestAnimationFrame(count);
  };
  if (counting) {
    window.frameCounter = requestAnimationFrame(count);
  }
}, on);

async function measure(tab, devtools) {
  const start = await counters(tab, devtools);
  await sleep(seconds * 1000);
  const end = await counters(tab, devtools);
  const wall = (end.at - start.at) / 1000;
  return { busy: (end.busy - start.busy) / wall, fps: (end.frames - start.frames) / wall };
}

const browser = await launchBrowser('chromium');
try {
  const tab = await openTab(browser);
  const devtools = await tab.createCDPSession();
  await devtools.send('Performance.enable');
  console.log(`${await browser.version()}, ${seconds} s a picture, CPU ${kSlower}x slower for the frame rate`);
  console.log(`${'picture'.padEnd(8)} ${'busy'.padStart(6)} ${'frames/s slowed'.padStart(16)}`);
  for (const [name, fragment] of pictures) {
    await tab.goto(fileUrl(fragment, `?busy=${name}`));
    await waitForMenu(tab);
    await sleep(1000);  // the first frame and the page settled
    const normal = await measure(tab, devtools);
    await devtools.send('Emulation.setCPUThrottlingRate', { rate: kSlower });
    await countFrames(tab, true);
    await sleep(500);
    const slowed = await measure(tab, devtools);
    await countFrames(tab, false);
    await devtools.send('Emulation.setCPUThrottlingRate', { rate: 1 });
    console.log(`${name.padEnd(8)} ${(100 * normal.busy).toFixed(0).padStart(5)}% ${slowed.fps.toFixed(0).padStart(16)}`);
  }
} finally {
  await browser.close();
}
