// Where the browser's main thread goes while a moving picture runs with the CPU slowed down 6 times
// (DevTools throttling, as on a slow tablet): a trace of SECONDS of each picture, its main thread's
// time summed by kind of work (the page's own script, the program, style, layout, paint, the
// canvas...), as a share of the time, and the frames drawn a second. Names of the program's own
// functions need a page linked with --profiling-funcs.
//   node bench/web/live_profile.mjs [SECONDS] [PICTURES]   (PICTURES: a list such as 1,7)
import { fileUrl, launchBrowser, openTab, waitForMenu, waitForLink } from '../../tests/e2e/web/harness.mjs';

const seconds = Number(process.argv[2] ?? 3);
const pictures = (process.argv[3] ?? '1,6,7,8').split(',');
const kSlower = 6;
const kTop = 12;

// Main-thread trace events that are work of their own (their time less that of the events inside
// them), by name.
// The page's main thread is the renderers' main thread that worked most.
function selfTimes(events) {
  const mains = events.filter((e) => e.name === 'thread_name' && e.args?.name === 'CrRendererMain');
  const work = (main) => events.filter((e) => e.ph === 'X' && e.dur !== undefined && e.pid === main.pid &&
    e.tid === main.tid);
  const complete = mains.map(work).sort((a, b) => b.reduce((t, e) => t + e.dur, 0) - a.reduce((t, e) => t + e.dur, 0))[0]
    .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const self = new Map();
  const open = [];
  let busy = 0;
  for (const event of complete) {
    while (open.length > 0 && open.at(-1).ts + open.at(-1).dur <= event.ts) {
      open.pop();
    }
    const parent = open.at(-1);
    if (parent) {
      self.set(parent.name, (self.get(parent.name) ?? 0) - event.dur);
    } else {
      busy += event.dur;
    }
    self.set(event.name, (self.get(event.name) ?? 0) + event.dur);
    open.push(event);
  }
  return { self, busy };
}

const browser = await launchBrowser('chromium');
try {
  const tab = await openTab(browser);
  const devtools = await tab.createCDPSession();
  for (const answer of pictures) {
    await tab.goto(fileUrl(`#answer=${answer}`, `?profile=${answer}`));
    await waitForMenu(tab);
    await waitForLink(tab, (f) => f.answer === answer);
    await new Promise((done) => setTimeout(done, 1000));
    await devtools.send('Emulation.setCPUThrottlingRate', { rate: kSlower });
    const framesBefore = await tab.evaluate(() => Module._plotnik_test_frames_drawn());
    await tab.tracing.start({ categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline', 'v8.execute'] });
    const start = Date.now();
    await new Promise((done) => setTimeout(done, seconds * 1000));
    const trace = JSON.parse(Buffer.from(await tab.tracing.stop()).toString());
    const wall = (Date.now() - start) / 1000;
    const frames = (await tab.evaluate(() => Module._plotnik_test_frames_drawn())) - framesBefore;
    await devtools.send('Emulation.setCPUThrottlingRate', { rate: 1 });
    const { self, busy } = selfTimes(trace.traceEvents);
    console.log(`\npicture ${answer}: ${(frames / wall).toFixed(1)} frames a second, main thread busy ` +
      `${((100 * busy) / (wall * 1e6)).toFixed(0)}% (CPU ${kSlower}x slower)`);
    for (const [name, us] of [...self].sort((a, b) => b[1] - a[1]).slice(0, kTop)) {
      console.log(`  ${((100 * us) / busy).toFixed(1).padStart(5)}%  ${(us / 1000 / Math.max(frames, 1)).toFixed(2)} ms a frame  ${name}`);
    }
  }
} finally {
  await browser.close();
}
