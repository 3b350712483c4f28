// Frame times of every picture, the web page beside the desktop program, on the same machine in
// one run: each picture at its heaviest input as a still frame, drawn again and again. The page's
// frame (cleared and drawn, inside headless Chromium) and its copy to the canvas are measured
// apart (each a median of batches, the browser's clock being coarse); the desktop frame (cleared, drawn and presented into a 1280 x 720 dummy-driver window)
// comes from build/bench/plotnik-frame-times. Prints medians in milliseconds and the ratio.
//   node bench/web/frame_times.mjs [REPETITIONS]
import { execFileSync } from 'node:child_process';
import { resolve } from 'node:path';
import { fileUrl, launchBrowser, openTab, waitForMenu } from '../../tests/e2e/web/harness.mjs';
import { heaviest, median } from './pictures.mjs';

const repetitions = Number(process.argv[2] ?? 60);
const frameTimes = resolve(process.env.PLOTNIK_FRAME_TIMES ?? 'build/bench/plotnik-frame-times');
const snapshotDir = process.env.PLOTNIK_SNAPSHOT_DIR ?? 'build';  // where Assets/Calibri.ttf is

// The desktop program's medians, by link.
function desktopFrames() {
  const links = heaviest.map(({ link, forgetPrimes }) => (forgetPrimes ? 'forget:' : '') + link);
  const output = execFileSync(frameTimes, [String(repetitions), ...links], { cwd: snapshotDir, encoding: 'utf8' });
  const times = new Map();
  for (const [, link, ms] of output.matchAll(/^median (\S+) ([0-9.]+)$/gm)) {
    times.set(link, Number(ms));
  }
  return links.map((link) => times.get(link));
}

async function pageFrames() {
  const browser = await launchBrowser('chromium');
  try {
    const tab = await openTab(browser);
    await tab.goto(fileUrl());
    await waitForMenu(tab);
    // The page's very first picture: the window opened and the first frame drawn while the
    // browser still compiles the program's code on first use. Once per page, so measured once.
    const opening = await tab.evaluate(() => {
      const start = performance.now();
      Module.ccall('plotnik_open_link', 'number', ['string'], ['#answer=9&ticks=0']);
      return performance.now() - start;
    });
    // The browser first runs new WebAssembly code unoptimised and optimises what runs often in
    // the background: every picture is drawn for half a second before any is measured.
    for (const { link } of heaviest) {
      await tab.evaluate((fragment) => {
        Module.ccall('plotnik_open_link', 'number', ['string'], ['#' + fragment]);
        for (const end = performance.now() + 500; performance.now() < end;) {
          Module._plotnik_test_redraw(0);
          Module._plotnik_test_present();
        }
      }, link);
    }
    const pictures = [];
    for (const { link, forgetPrimes } of heaviest) {
      pictures.push(await tab.evaluate((fragment, forget, n) => {
        Module.ccall('plotnik_open_link', 'number', ['string'], ['#' + fragment]);
        // The browser's clock counts in steps of 0.1 ms: each time taken is of a batch of frames
        // lasting 2 ms or more, divided by its length.
        const times = (work) => {
          let batch = 1;
          for (;;) {
            const start = performance.now();
            for (let k = 0; k < batch; ++k) {
              work();
            }
            if (performance.now() - start >= 2 || batch >= 1024) {
              break;
            }
            batch *= 2;
          }
          const each = [];
          for (let i = 0; i < n; ++i) {
            const start = performance.now();
            for (let k = 0; k < batch; ++k) {
              work();
            }
            each.push((performance.now() - start) / batch);
          }
          return each;
        };
        return { frame: times(() => Module._plotnik_test_redraw(forget)), copy: times(() => Module._plotnik_test_present()) };
      }, link, forgetPrimes ? 1 : 0, repetitions));
    }
    const version = await browser.version();
    return { opening, pictures, version };
  } finally {
    await browser.close();
  }
}

const desktop = desktopFrames();
const page = await pageFrames();
console.log(`${page.version}, ${repetitions} frames a picture; first picture of a page, opening included: ${page.opening.toFixed(1)} ms`);
console.log(`${'picture'.padEnd(46)} ${'desktop'.padStart(8)} ${'page'.padStart(8)} ${'ratio'.padStart(6)} ${'copy'.padStart(7)}`);
for (const [i, { name }] of heaviest.entries()) {
  const frame = median(page.pictures[i].frame);
  const copy = median(page.pictures[i].copy);
  console.log(`${name.padEnd(46)} ${desktop[i].toFixed(3).padStart(8)} ${frame.toFixed(3).padStart(8)} ` +
    `${(frame / desktop[i]).toFixed(2).padStart(6)} ${copy.toFixed(3).padStart(7)}`);
}
