// The README's pictures of the web page, taken in headless Chromium from the built page
// (bash web/build.sh; npm ci in tests/e2e/web first): the menu, picture 4 set by a click,
// picture 7 held at 2 s with its controls, the same frame being recorded as a GIF, and picture 2
// with k typed as 3,57. Run in the top folder:
//   node tools/web-screenshots.mjs
import { fileUrl, launchBrowser, openTab, pointAt, waitForMenu } from '../tests/e2e/web/harness.mjs';

const kSize = { width: 1280, height: 690 };  // a Chromebook's window
const out = (name) => `docs/web/${name}.png`;

const browser = await launchBrowser();
try {
  const tab = await openTab(browser, kSize);
  await tab.goto(fileUrl());
  await waitForMenu(tab);
  await tab.screenshot({ path: out('page-menu') });

  await tab.click('a[href="#answer=4"]');
  await pointAt(tab, 720, 240);
  await tab.waitForFunction(() => document.getElementById('canvas').dataset.link?.includes('mouse=720,240'));
  await tab.screenshot({ path: out('page-picture') });

  // Picture 7 held, wound back to 0 and stepped on to 2 s, as the gallery shows it.
  await tab.evaluate(() => { location.hash = '#answer=7'; });
  await tab.waitForFunction(() => document.getElementById('canvas').dataset.link?.startsWith('answer=7&'));
  await tab.focus('#canvas');
  await tab.keyboard.press(' ');
  await tab.keyboard.down('Shift');
  const ticks = () => tab.$eval('#canvas', (c) => Number(/ticks=(\d+)/.exec(c.dataset.link)[1]));
  while ((await ticks()) > 0) {
    await tab.keyboard.press('ArrowLeft');
    await new Promise((done) => setTimeout(done, 50));
  }
  await tab.keyboard.press('ArrowRight');
  await tab.keyboard.press('ArrowRight');
  await tab.keyboard.up('Shift');
  await tab.waitForFunction(() => document.getElementById('canvas').dataset.link.endsWith('ticks=2000'));
  await tab.evaluate(() => document.activeElement.blur());
  await tab.screenshot({ path: out('page-paused') });

  // The same frame being recorded as a GIF of 10 s at 25 frames a second, a third of the way.
  await tab.click('#gif-toggle');
  await tab.select('#gif-seconds', '10');
  await tab.click('#record-gif');
  await tab.waitForFunction(() => document.getElementById('gif-progress').value >= 80, { timeout: 60000, polling: 1 });
  await tab.evaluate(() => document.activeElement.blur());
  await tab.screenshot({ path: out('page-gif') });
  await tab.click('#gif-cancel');
  await tab.click('#gif-toggle');

  // Picture 2 at k = 3,57 and x0 = 0,2, typed into its fields.
  await tab.evaluate(() => { location.hash = '#answer=2'; });
  await tab.waitForFunction(() => document.getElementById('canvas').dataset.link?.startsWith('answer=2&'));
  for (const [field, value] of [['#param-k', '3,57'], ['#param-x0', '0,2']]) {
    await tab.click(field);
    await tab.keyboard.down('Control');
    await tab.keyboard.press('a');
    await tab.keyboard.up('Control');
    await tab.keyboard.type(value);
    await tab.keyboard.press('Enter');
  }
  await tab.waitForFunction(() => document.getElementById('canvas').dataset.link.includes('mouse=1142,576'));
  await tab.evaluate(() => document.activeElement.blur());
  await tab.screenshot({ path: out('page-parameters') });
} finally {
  await browser.close();
}
