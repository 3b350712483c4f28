// Frame times of every picture in the web page, measured inside headless Chromium: each picture
// at its heaviest input as a frozen frame, drawn again and again (clear, scene, copy to the
// canvas), and the copy to the canvas alone. Prints medians in milliseconds.
//   node bench/web/frame_times.mjs [REPETITIONS]
import { fileUrl, launchBrowser, openTab, waitForMenu } from '../../tests/e2e/web/harness.mjs';

const repetitions = Number(process.argv[2] ?? 60);

// picture, its heaviest input
const heaviest = [
  ['1 Trigonometric functions', 'answer=1&ticks=3999'],
  ['2 Logistic map', 'answer=2&mouse=1279,719'],
  ['3 Bifurcation diagram', 'answer=3&ticks=0'],
  ['4 Quadratic function', 'answer=4&mouse=1279,719'],
  ['5 Ulam spiral, first frame (finds the primes)', 'answer=5&ticks=0', true],
  ['5 Ulam spiral, later frames', 'answer=5&ticks=0'],
  ['6 Figure rotation', 'answer=6&ticks=2261'],
  ['7 Sine and cosine', 'answer=7&ticks=6785'],
  ['8 Phase shift', 'answer=8&ticks=6785'],
  ['9 Prime numbers graph', 'answer=9&ticks=0'],
  ['10 Computed sine', 'answer=10&mouse=1279,719'],
  ['10 Computed sine, 256 terms', 'answer=10&mouse=32767,0'],
];

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const browser = await launchBrowser();
try {
  const tab = await openTab(browser);
  await tab.goto(fileUrl());
  await waitForMenu(tab);

  // The page's very first picture: the window opened and the first frame drawn while the browser
  // still compiles the program's code on first use. Once per page, so measured once.
  const opening = await tab.evaluate(() => {
    const start = performance.now();
    Module.ccall('plotnik_open_link', 'number', ['string'], ['#answer=9&ticks=0']);
    return performance.now() - start;
  });
  console.log(`${'first picture of a page, opening included'.padEnd(46)} ${opening.toFixed(2).padStart(7)} ms`);
  console.log(`${'picture'.padEnd(46)} ${'frame'.padStart(7)}    ${'copy'.padStart(6)}`);

  for (const [name, link, forgetPrimes] of heaviest) {
    const times = await tab.evaluate((fragment, forget, n) => {
      Module.ccall('plotnik_open_link', 'number', ['string'], ['#' + fragment]);
      const frame = [];
      const copy = [];
      for (let i = 0; i < n; ++i) {
        let start = performance.now();
        Module._plotnik_redraw(forget);
        frame.push(performance.now() - start);
        start = performance.now();
        Module._plotnik_present();
        copy.push(performance.now() - start);
      }
      return { frame, copy };
    }, link, forgetPrimes ? 1 : 0, repetitions);
    console.log(`${name.padEnd(46)} ${median(times.frame).toFixed(2).padStart(7)} ms ${median(times.copy).toFixed(2).padStart(6)} ms`);
  }
} finally {
  await browser.close();
}
