// How busy the page keeps the browser's main thread while a picture is shown and nobody touches
// it: the share of 3 s spent in tasks (Chromium's DevTools Performance metrics), after the
// picture's first second. Prints one line per picture.
//   node bench/web/busy_share.mjs
import { fileUrl, launchBrowser, openTab, waitForMenu } from '../../tests/e2e/web/harness.mjs';

const kSettleMs = 1500;
const kMeasureMs = 3000;
const pictures = ['', '3', '5', '9', '2', '4', '10', '1', '6', '7', '8'];  // '' is the menu

const browser = await launchBrowser();
try {
  const tab = await openTab(browser);
  const devtools = await tab.createCDPSession();
  await devtools.send('Performance.enable');
  const busySeconds = async () =>
    (await devtools.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  await tab.goto(fileUrl());
  await waitForMenu(tab);
  for (const answer of pictures) {
    await tab.evaluate((a) => { location.hash = a === '' ? '' : '#answer=' + a; }, answer);
    await new Promise((done) => setTimeout(done, kSettleMs));
    const busy = await busySeconds();
    const start = performance.now();
    await new Promise((done) => setTimeout(done, kMeasureMs));
    const share = ((await busySeconds()) - busy) / ((performance.now() - start) / 1000);
    console.log(`${answer === '' ? 'menu' : 'picture ' + answer}`.padEnd(12), `${(share * 100).toFixed(1)}% busy`);
  }
} finally {
  await browser.close();
}
