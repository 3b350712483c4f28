// How busy the page keeps the browser while a picture is shown and left untouched, in headless
// Chromium: for the menu and each live picture, the main thread's busy share over 3 s, and the
// frames drawn a second over 3 s with the CPU slowed down 6 times (DevTools throttling, as on a
// slow tablet). Frames are the page's own count where it keeps one (plotnik_test_frames_drawn), else
// the browser's animation frames. Each picture RUNS times (every picture once, then again), a fresh
// page each time; prints one line per picture with the medians and, in brackets, the range.
// PICTURES, a list such as 1,6,7,8, measures only those.
//   node bench/web/busy_throttled.mjs [SECONDS] [RUNS] [PICTURES]
import { fileUrl, launchBrowser, openTab, waitForMenu } from '../../tests/e2e/web/harness.mjs';
import { median } from './pictures.mjs';

const seconds = Number(process.argv[2] ?? 3);
const runs = Number(process.argv[3] ?? 3);
const kSlower = 6;
const chosen = process.argv[4]?.split(',');
const pictures = [['menu', ''], ...Array.from({ length: 10 }, (_, i) => [String(i + 1), `#answer=${i + 1}`])]
  .filter(([name]) => chosen === undefined || chosen.includes(name));

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
  console.log(`${await browser.version()}, ${seconds} s a picture, CPU ${kSlower}x slower for the frame rate, ` +
    `medians of ${runs} runs [range]`);
  console.log(`${'picture'.padEnd(8)} ${'busy'.padStart(14)} ${'frames/s slowed'.padStart(18)}`);
  const results = new Map(pictures.map(([name]) => [name, { busy: [], fps: [] }]));
  for (let run = 0; run < runs; ++run) {
    for (const [name, fragment] of pictures) {
      await tab.goto(fileUrl(fragment, `?busy=${name}&run=${run}`));
      await waitForMenu(tab);
      await sleep(1000);  // the first frame and the page settled
      const normal = await measure(tab, devtools);
      await devtools.send('Emulation.setCPUThrottlingRate', { rate: kSlower });
      await countFrames(tab, true);
      await sleep(500);
      const slowed = await measure(tab, devtools);
      await countFrames(tab, false);
      await devtools.send('Emulation.setCPUThrottlingRate', { rate: 1 });
      results.get(name).busy.push(100 * normal.busy);
      results.get(name).fps.push(slowed.fps);
    }
  }
  const summary = (values, unit) => `${median(values).toFixed(0)}${unit} [${Math.min(...values).toFixed(0)}-` +
    `${Math.max(...values).toFixed(0)}]`;
  for (const [name, { busy, fps }] of results) {
    console.log(`${name.padEnd(8)} ${summary(busy, '%').padStart(14)} ${summary(fps, '').padStart(18)}`);
  }
} finally {
  await browser.close();
}
