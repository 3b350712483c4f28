// The time to record a GIF of 2 s at 25 frames a second (50 frames) of each clock picture, the
// page against plotnik-snapshot, on the same machine in one run; and one of 10 s for picture 7.
// The page's time is a pupil's wait, from "Nagraj GIF" pressed on a held picture to the file handed
// over, recorded in slices between the page's own turns; beside it the frames alone, drawn, read
// back and encoded one after another with nothing else in between. The exporter's is its whole run
// (starting, the font, the frames, the file). Also the GIF's size and the program's memory before
// and after. Prints medians of RUNS runs in milliseconds.
//   node bench/web/gif_record.mjs [RUNS]   (PLOTNIK_BROWSER=firefox for Firefox ESR)
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import {
  catchDownloads, fileUrl, launchBrowser, openTab, programMemory, snapshot, waitForMenu,
} from '../../tests/e2e/web/harness.mjs';
import { median } from './pictures.mjs';

const runs = Number(process.argv[2] ?? 3);
const snapshotDir = process.env.PLOTNIK_SNAPSHOT_DIR ?? 'build';
const kTicks = 2345;
// answer, seconds, frames a second
const recordings = [['1', 2, 25], ['6', 2, 25], ['7', 2, 25], ['8', 2, 25], ['7', 10, 25]];

function exporterMs(answer, seconds, fps) {
  const dir = mkdtempSync(join(tmpdir(), 'plotnik-bench-'));
  const out = join(dir, 'x.gif');
  const start = process.hrtime.bigint();
  execFileSync(resolve(snapshot), [answer, '--ticks', String(kTicks), '--frames', String(seconds * fps),
    '--every', String(1000 / fps), '--out', out], { cwd: snapshotDir, stdio: 'ignore' });
  const ms = Number(process.hrtime.bigint() - start) / 1e6;
  const size = statSync(out).size;
  rmSync(dir, { recursive: true, force: true });
  return { ms, size };
}

const browser = await launchBrowser();
const results = [];
try {
  const tab = await openTab(browser);
  await tab.goto(fileUrl());
  await waitForMenu(tab);
  const memoryAtStart = await programMemory(tab);
  for (const [answer, seconds, fps] of recordings) {
    // The picture held at the same clock as the exporter's, its GIF panel set.
    await tab.evaluate((fragment) => { location.hash = fragment; }, `#answer=${answer}&ticks=${kTicks}`);
    await tab.waitForSelector('#canvas[data-state="drawn"]');
    await catchDownloads(tab, { keep: false });
    await tab.evaluate((s, f) => {
      document.getElementById('gif-seconds').value = String(s);
      document.getElementById('gif-fps').value = String(f);
    }, seconds, fps);
    const page = [];
    const frames = [];
    const exporter = [];
    let size = 0;
    let exporterSize = 0;
    for (let run = 0; run < runs; ++run) {
      page.push(await tab.evaluate(() => new Promise((done) => {
        const start = performance.now();
        document.getElementById('record-gif').click();
        const check = () => (window.caughtDownloads.length > 0 ? done(performance.now() - start) : setTimeout(check, 2));
        check();
      })));
      size = (await tab.evaluate(() => window.caughtDownloads.splice(0)))[0].size;
      frames.push(await tab.evaluate((s, f) => {
        const start = performance.now();
        Module.ccall('plotnik_record_begin', 'string', ['number', 'number'], [s, f]);
        const count = Module._plotnik_record_frames();
        while (Module._plotnik_record_frame() < count) {
          // every frame, one after another
        }
        return performance.now() - start;
      }, seconds, fps));
      await tab.evaluate(() => window.caughtDownloads.splice(0));
      const e = exporterMs(answer, seconds, fps);
      exporter.push(e.ms);
      exporterSize = e.size;
    }
    results.push({ answer, seconds, fps, page: median(page), frames: median(frames), exporter: median(exporter), size,
      exporterSize, memory: await programMemory(tab) });
  }
  console.log(`${await browser.version()}, ${runs} runs each, medians; the program's memory at the start ` +
    `${(memoryAtStart / 2 ** 20).toFixed(1)} MB`);
} finally {
  await browser.close();
}
console.log(`${'recording'.padEnd(26)} ${'page'.padStart(8)} ${'frames'.padStart(8)} ${'exporter'.padStart(9)} ` +
  `${'page/exp'.padStart(8)} ${'GIF bytes'.padStart(10)} ${'memory MB'.padStart(10)}`);
for (const r of results) {
  const same = r.size === r.exporterSize ? '' : ` (exporter's ${r.exporterSize})`;
  console.log(`${`picture ${r.answer}, ${r.seconds} s at ${r.fps}/s`.padEnd(26)} ${r.page.toFixed(0).padStart(8)} ` +
    `${r.frames.toFixed(0).padStart(8)} ${r.exporter.toFixed(0).padStart(9)} ${(r.page / r.exporter).toFixed(2).padStart(8)} ` +
    `${String(r.size).padStart(10)}${same} ${(r.memory / 2 ** 20).toFixed(1).padStart(10)}`);
}
