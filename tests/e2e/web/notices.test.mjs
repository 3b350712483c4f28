// The page's footer leads to its licences, which load from the folder and give, for Plotnik, the
// font, each library compiled into the page and each npm package its script bundles, the
// licence's own words.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { fileUrl, launchBrowser, openTab, waitUntil } from './harness.mjs';

// section id, heading, words its licence text must hold
const sections = [
  ['plotnik', 'Plotnik', 'Copyright (c) 2026 The Plotnik authors'],
  ['carlito', 'Czcionka Carlito', 'SIL OPEN FONT LICENSE Version 1.1'],
  ['libsdl2', 'SDL2', "This software is provided 'as-is'"],
  ['libsdl2-ttf', 'SDL2_ttf', "This software is provided 'as-is'"],
  ['freetype', 'FreeType', 'The FreeType Project LICENSE'],
  ['harfbuzz', 'HarfBuzz', 'Upstream-Name: HarfBuzz'],
  ['giflib', 'giflib', 'Upstream-Name: giflib'],
  ['emscripten', 'Emscripten', 'Upstream-Name: emscripten'],
  ['lean-qr', 'lean-qr', 'Copyright (c) 2021-2025 David Evans'],
  ['nats-io-nats-core', '@nats-io/nats-core', 'Apache License'],
  ['nats-io-nkeys', '@nats-io/nkeys', 'Apache License'],
  ['nats-io-nuid', '@nats-io/nuid', 'Apache License'],
  ['tweetnacl', 'tweetnacl', 'released into the public domain'],
];

let browser;
before(async () => { browser = await launchBrowser(); });
after(async () => { await browser?.close(); });

test('the footer links to the licences page, which names the font and every library with its licence', async () => {
  const tab = await openTab(browser);
  await tab.goto(fileUrl());
  await tab.click('footer a[href="licencje.html"]');
  // The new page, whole: its last section there (waiting for the navigation's events instead was
  // lost now and then in Firefox on a busy machine).
  await waitUntil(tab, 'the licences page', () => location.pathname.endsWith('/licencje.html') &&
    document.readyState === 'complete' && document.querySelector('#emscripten pre') !== null);
  const page = await tab.evaluate(() => ({
    url: location.href,
    lang: document.documentElement.lang,
    title: document.title,
    sections: [...document.querySelectorAll('main section')].map((s) => ({
      id: s.id,
      heading: s.querySelector('h2')?.textContent,
      text: s.querySelector('pre')?.textContent ?? '',
      listed: document.querySelector(`main li a[href="#${s.id}"]`) !== null,
    })),
    credit: document.querySelector('#freetype p[lang="en"]')?.textContent ?? '',
  }));
  assert.match(page.url, /\/licencje\.html$/);
  assert.equal(page.lang, 'pl');
  assert.equal(page.title, 'Licencje – Plotnik');
  assert.deepEqual(page.sections.map((s) => [s.id, s.heading, s.listed]),
    sections.map(([id, heading]) => [id, heading, true]));
  for (const [id, , words] of sections) {
    const text = page.sections.find((s) => s.id === id)?.text ?? '';
    assert.ok(text.includes(words), `${id}: no '${words}' in ${text.length} characters`);
  }
  // The FreeType licence asks for this credit in the documentation.
  assert.match(page.credit, /^Portions of this software are copyright © \d{4} The FreeType Project/);
  // And back to the program.
  await tab.click('header a[href="index.html"]');
  await waitUntil(tab, 'the menu again', () => location.pathname.endsWith('/index.html') &&
    document.querySelector('#menu-items a') !== null);
  assert.deepEqual(tab.problems, []);
});
