// Bad links give a message and the menu, never a blank or stuck page; the menu still works after.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { fileUrl, launchBrowser, openTab, waitForMenu } from './harness.mjs';

const bad = [
  ['#answer=4&mouse=99999,0', "a\u00a0nie „99999,0”"],
  ['#answer=4&ticks=-1', "a\u00a0nie „-1”"],
  ['#answer=4&ticks=99999999999999999999', 'ticks przyjmuje od 0 do 4\u00a0294\u00a0967\u00a0295'],
  ['#garbage', "„garbage” nie ma postaci nazwa=wartość"],
  ['#answer=4&colour=red', "nieznany parametr „colour”"],
  ['#answer=', 'brak numeru obrazu'],
  ['#answer=%3Cimg%20src=x%20onerror=alert(1)%3E&ticks=x', "a\u00a0nie „x”"],
];

let browser;
before(async () => { browser = await launchBrowser(); });
after(async () => { await browser?.close(); });

async function pageState(tab) {
  return tab.evaluate(() => ({
    message: document.getElementById('message').hidden ? null : document.getElementById('message').textContent,
    menu: !document.getElementById('menu').hidden && document.querySelectorAll('#menu-items a').length,
    picture: !document.getElementById('picture').hidden,
    drawn: document.getElementById('canvas').getAttribute('data-state'),
    images: document.querySelectorAll('#message *').length,
  }));
}

test('a bad link opened with the page, or followed from a picture, shows why, and the menu', async () => {
  const tab = await openTab(browser);
  for (const [n, [fragment, saying]] of bad.entries()) {
    await tab.goto(fileUrl(fragment, `?load=${n}`));
    await waitForMenu(tab);
    const state = await pageState(tab);
    assert.ok(state.message?.startsWith('Zły link: ') && state.message.includes(saying), `${fragment}: ${state.message}`);
    assert.deepEqual({ ...state, message: 0 }, { message: 0, menu: 10, picture: false, drawn: null, images: 0 }, fragment);
  }
  // From a live picture: the picture closes and the message and menu show.
  await tab.click('a[href="#answer=6"]');
  await tab.waitForSelector('#canvas[data-link^="answer=6&"]');
  await tab.evaluate(() => { location.hash = '#answer=6&ticks=12x'; });
  await tab.waitForSelector('#picture', { hidden: true });
  assert.match((await pageState(tab)).message, /a\u00a0nie „12x”/);
  // And the menu still opens pictures.
  await tab.click('a[href="#answer=3"]');
  await tab.waitForSelector('#canvas[data-link^="answer=3&"]');
  const state = await pageState(tab);
  assert.deepEqual([state.message, state.picture], [null, true]);
  assert.deepEqual(tab.problems, []);
});
