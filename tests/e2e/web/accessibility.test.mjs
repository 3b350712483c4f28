// The page for everyone: axe-core finds nothing on the menu, live and held pictures, a frozen
// frame and a bad link's message; the canvas is an image named by its menu line and described in
// Polish by what steers it; the page's own texts have their Polish letters.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { accessibilityViolations, browserAndSite, openTab, site, waitForMenu } from './harness.mjs';

const session = browserAndSite();

// state, address, the canvas's name and what its description says, what to do first
const states = [
  ['the menu', '/', null, null],
  ['live picture 4', '/#answer=4', '4 - Funkcja kwadratowa', /Steruje mysz/],
  ['live picture 3', '/#answer=3', '3 - Diagram bifurkacyjny odwzorowania logistycznego', /obraz nieruchomy/],
  ['held picture 7', '/#answer=7', '7 - Graficzne przedstawienie sinusa i cosinusa', /Steruje zegar/,
    (tab) => tab.click('#pause')],
  ['a frozen frame', '/#answer=1&ticks=500', '1 - Funkcje trygonometryczne', /Steruje zegar/],
  ['a bad link', '/#answer=4&ticks=-1', null, null],
];

test('axe finds no violations, and the canvas tells what it shows', async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  for (const [name, path, canvasName, saying, first] of states) {
    await tab.goto(session.served.origin + path);
    await waitForMenu(tab);
    await first?.(tab);
    assert.deepEqual(await accessibilityViolations(tab), [], name);
    const canvas = await tab.evaluate(() => {
      const c = document.getElementById('canvas');
      return {
        role: c.getAttribute('role'), tabIndex: c.tabIndex, name: c.getAttribute('aria-label'),
        description: document.getElementById(c.getAttribute('aria-describedby')).textContent,
      };
    });
    assert.deepEqual({ ...canvas, description: undefined }, { role: 'img', tabIndex: 0, name: canvasName, description: undefined }, name);
    if (saying) {
      assert.match(canvas.description, saying, name);
      assert.match(canvas.description, /[ąćęłńóśźż]/, `${name}: in Polish`);
    }
  }
  assert.equal(await tab.$eval('#pause', (b) => b.textContent), 'Pauza', 'a bad link leaves no held clock behind');
  assert.deepEqual(tab.problems, []);
});

test("the page's own texts have their Polish letters", async () => {
  // Words that lost their letters; the menu lines and the console's lines are the program's own.
  const stripped = /Pelny|Ladowanie|Blad|Zly link|udalo|wczytac|Odswiez|przegladarka|Wznow/;
  for (const file of ['index.html', 'page.js']) {
    assert.equal(stripped.exec(readFileSync(join(site, file), 'utf8'))?.[0], undefined, file);
  }
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await tab.goto(session.served.origin + '/#answer=4&ticks=-1');
  await waitForMenu(tab);
  assert.match(await tab.$eval('#message', (m) => m.textContent), /^Zły link: .* Link ma postać/);
  await tab.click('a[href="#answer=7"]');
  const controls = await tab.$$eval('.controls button, .controls label', (all) => all.map((e) => e.firstChild.textContent.trim()));
  assert.deepEqual(controls, ['Menu', 'Pełny ekran', 'Link do tej klatki', 'Kod QR', 'Pauza', 'Tempo', 'Parametry', 'kąt (°)',
    'Zapisz obraz', 'Nagraj GIF…', 'Długość', 'Klatek na sekundę', 'Nagraj GIF', 'Nagrywanie', 'Przerwij']);
  // The speeds and the frame's size are the program's, written as the page writes them.
  const speeds = await tab.$$eval('#speed option', (all) => all.map((o) => `${o.textContent} ${o.value}${o.selected ? ' *' : ''}`));
  assert.deepEqual(speeds, ['0,25× 0.25', '0,5× 0.5', '1× 1 *', '2× 2']);
  assert.equal(await tab.$eval('#save-png', (b) => b.title), 'Klatka z obrazu jako plik PNG 1280\u00a0×\u00a0720');
});
