// Where the browser's frame time goes: each picture as a frozen frame at its heaviest input,
// drawn again and again under Chromium's sampling profiler, and the functions that took the time
// (their own time, not counting what they call), as a share of the frames' time. Function names
// need a page built with them kept (link with --profiling-funcs); otherwise they show as numbers.
//   node bench/web/profile.mjs [FRAMES] [TOP]
import { fileUrl, launchBrowser, openTab, waitForMenu } from '../../tests/e2e/web/harness.mjs';
import { heaviest } from './pictures.mjs';

const frames = Number(process.argv[2] ?? 200);
const top = Number(process.argv[3] ?? 8);

const browser = await launchBrowser('chromium');
try {
  const tab = await openTab(browser);
  await tab.goto(fileUrl());
  await waitForMenu(tab);
  const devtools = await tab.createCDPSession();
  await devtools.send('Profiler.enable');
  await devtools.send('Profiler.setSamplingInterval', { interval: 100 });

  for (const { name, link, forgetPrimes } of heaviest) {
    await tab.evaluate((fragment) => {
      Module.ccall('plotnik_open_link', 'number', ['string'], ['#' + fragment]);
      Module._plotnik_test_redraw(0);  // the code of this picture compiled before the profile starts
    }, link);
    await devtools.send('Profiler.start');
    await tab.evaluate((forget, n) => {
      for (let i = 0; i < n; ++i) {
        Module._plotnik_test_redraw(forget);
      }
    }, forgetPrimes ? 1 : 0, frames);
    const { profile } = await devtools.send('Profiler.stop');

    // Samples per node, summed by function; idle and the profiler's own nodes left out.
    const byId = new Map(profile.nodes.map((node) => [node.id, node]));
    const self = new Map();
    let total = 0;
    for (const id of profile.samples) {
      const fn = byId.get(id).callFrame.functionName || '(anonymous)';
      if (fn === '(idle)') {
        continue;
      }
      self.set(fn, (self.get(fn) ?? 0) + 1);
      ++total;
    }
    const ranked = [...self.entries()].sort((a, b) => b[1] - a[1]).slice(0, top);
    console.log(`\n${name}`);
    for (const [fn, count] of ranked) {
      console.log(`  ${((100 * count) / total).toFixed(1).padStart(5)}%  ${fn}`);
    }
  }
} finally {
  await browser.close();
}
