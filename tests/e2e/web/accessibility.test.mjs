// The page for everyone: axe-core finds nothing on the menu, a live picture, a held picture and a
// bad link's message; the canvas is an image named by its menu line and described in Polish; the
// page's own texts have their Polish letters.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { accessibilityViolations, launchBrowser, openTab, serveSite, site, waitForMenu } from './harness.mjs';

let browser;
let served;
before(async () => {
  browser = await launchBrowser();
  served = await serveSite();
});
after(async () => {
  await browser?.close();
  served?.server.close();
});

const canvasText = (tab) => tab.evaluate(() => {
  const canvas = document.getElementById('canvas');
  const described = document.getElementById(canvas.getAttribute('aria-describedby'));
  return {
    role: canvas.getAttribute('role'),
    name: canvas.getAttribute('aria-label'),
    description: described?.textContent,
    focusable: canvas.tabIndex === 0,
  };
});

test('axe finds no violations on the menu, live and held pictures, and a bad link', async () => {
  const tab = await openTab(browser, { origin: served.origin });
  const states = [
    ['the menu', '/'],
    ['live picture 4', '/#answer=4'],
    ['live picture 7', '/#answer=7'],
    ['held picture 7', '/#answer=7', async () => {
      await tab.click('#pause');
      assert.equal(await tab.$eval('#pause', (b) => b.textContent), 'Wznów');
    }],
    ['a frozen frame', '/#answer=2&mouse=700,300'],
    ['a bad link', '/#answer=4&ticks=-1', () => tab.waitForSelector('#message:not([hidden])')],
  ];
  for (const [name, path, then] of states) {
    await tab.goto(served.origin + path);
    await waitForMenu(tab);
    await then?.();
    assert.deepEqual(await accessibilityViolations(tab), [], name);
  }
  assert.deepEqual(tab.problems, []);
});

test('the canvas is named by the menu line and described by what steers it', async () => {
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/');
  await waitForMenu(tab);
  const steers = { 1: /Steruje zegar/, 2: /Steruje mysz/, 3: /obraz nieruchomy/, 7: /Steruje zegar/ };
  for (const [answer, saying] of Object.entries(steers)) {
    const line = await tab.$eval(`a[href="#answer=${answer}"]`, (a) => a.textContent);
    await tab.click(`a[href="#answer=${answer}"]`);
    const text = await canvasText(tab);
    assert.deepEqual({ ...text, description: undefined }, { role: 'img', name: line, description: undefined, focusable: true });
    assert.match(text.description, saying, `picture ${answer}: ${text.description}`);
    assert.match(text.description, /[ąćęłńóśźż]/, `picture ${answer} in Polish`);
    await tab.click('#back');
  }
  assert.equal((await canvasText(tab)).name, null, 'no name once the picture is closed');
});

test("the page's own texts have their Polish letters", async () => {
  // Words that lost their letters; the menu lines and the console's lines are the program's own.
  const stripped = /Pelny|Ladowanie|Blad|Zly link|udalo|wczytac|otworzyc|Odswiez|przegladarka|wartosc|kazde|Wznow/;
  for (const file of ['index.html', 'page.js']) {
    const text = readFileSync(join(site, file), 'utf8');
    assert.equal(stripped.exec(text)?.[0], undefined, file);
  }
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/#answer=4&ticks=-1');
  await waitForMenu(tab);
  const message = await tab.$eval('#message', (m) => m.textContent);
  assert.match(message, /^Zły link: .* Link ma postać/);
  await tab.click('a[href="#answer=7"]');
  const shown = await tab.evaluate(() => [...document.querySelectorAll('.controls button, .controls label')]
    .filter((e) => !e.hidden).map((e) => e.textContent.trim().split('\n')[0]));
  assert.deepEqual(shown, ['Menu', 'Pełny ekran', 'Link do tej klatki', 'Pauza', 'Tempo']);
});
