// Served on 127.0.0.1 as on a school's server, the page keeps itself for use with no network: its
// manifest names the app and its icons, its service worker holds this build's files, each fetched
// from the server once in the first visit; with the server gone the menu and the pictures still
// open, and a rebuilt page reaches the browser on its next visit, offline too. In WebKit, the worker
// keeps the page and it opens from it.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import {
  browserName, canvasPixels, catchDownloads, differences, exporterGif, exporterPixels, frameOnCanvas, imagePixels,
  launchBrowser, notInWebKit, openTab, serveSite, site, waitForDownloads, waitForLink, waitForMenu,
} from './harness.mjs';

const source = resolve(fileURLToPath(import.meta.url), '../../../../src/web');
const kWorker = 'service-worker.js';
// The program packed as a script, for the page opened from its folder: served, the page runs
// plotnik.wasm, and the worker does not keep the program twice.
const kFolderOnly = 'plotnik-program.js';

let browser;
const cleanup = [];
before(async () => { browser = await launchBrowser(); });
after(async () => {
  await browser?.close();
  for (const undo of cleanup.reverse()) {
    await undo();
  }
});

async function serve(root) {
  const served = await serveSite(root);
  cleanup.push(() => served.stop());
  return served;
}

function copyOfSite() {
  const copy = mkdtempSync(join(tmpdir(), 'plotnik-site-'));
  cpSync(site, copy, { recursive: true });
  cleanup.push(() => rmSync(copy, { recursive: true, force: true }));
  return copy;
}

// What the worker of the built page keeps: the folder's own address and every file but the worker,
// the program packed for the folder and the lesson with a class (which needs its server anyway),
// as paths.
const keptFiles = () => ['/', ...readdirSync(site).filter((name) => ![kWorker, kFolderOnly, 'class.js'].includes(name))
  .map((name) => '/' + name)].sort();

// What the page's worker keeps: the names of its caches, and the files in them, as paths.
const kept = (tab) => tab.evaluate(async () => {
  await navigator.serviceWorker.ready;
  const names = await caches.keys();
  const files = [];
  for (const name of names) {
    for (const request of await (await caches.open(name)).keys()) {
      files.push(new URL(request.url).pathname);
    }
  }
  return { names, files: files.sort() };
});

// Waits until the worker of the build now in `root` is the page's one active worker, with nothing
// newer on its way, and its cache is the only one left.
async function waitForBuild(tab, root) {
  const build = readFileSync(join(root, kWorker), 'utf8').match(/const kBuild = '([0-9a-f]+)';/)[1];
  await tab.waitForFunction(async (suffix) => {
    const registration = await navigator.serviceWorker.getRegistration();
    const names = await caches.keys();
    return registration?.active?.state === 'activated' && !registration.installing && !registration.waiting &&
      names.length === 1 && names[0].endsWith(' ' + suffix);
  }, { timeout: 60000, polling: 200 }, build);
  return build;
}

test('the manifest describes an app to install, and its icons load at their sizes', async () => {
  const served = await serve(site);
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/');
  await waitForMenu(tab);
  const found = await tab.evaluate(async () => {
    const address = new URL(document.querySelector('link[rel="manifest"]').getAttribute('href'), document.baseURI);
    const response = await fetch(address);
    const manifest = await response.json();
    const icons = [];
    for (const icon of manifest.icons) {
      const image = await createImageBitmap(await (await fetch(new URL(icon.src, address))).blob());
      icons.push({ ...icon, drawn: `${image.width}x${image.height}` });
    }
    return {
      type: response.headers.get('content-type'),
      manifest,
      icons,
      start: new URL(manifest.start_url, address).href,
      scope: new URL(manifest.scope, address).href,
      theme: document.querySelector('meta[name="theme-color"]').content,
    };
  });
  const { manifest } = found;
  assert.equal(found.type, 'application/manifest+json');
  assert.equal(manifest.name, 'Plotnik');
  assert.ok(manifest.short_name.length > 0 && manifest.short_name.length <= 12, manifest.short_name);
  assert.equal(manifest.lang, 'pl');
  assert.ok(['standalone', 'fullscreen'].includes(manifest.display), manifest.display);
  assert.equal(found.start, served.origin + '/');
  assert.equal(found.scope, served.origin + '/');
  assert.match(manifest.theme_color, /^#[0-9a-f]{6}$/);
  assert.match(manifest.background_color, /^#[0-9a-f]{6}$/);
  assert.equal(found.theme, manifest.theme_color);
  assert.deepEqual(found.icons.map(({ sizes, type, drawn }) => [sizes, type, drawn]),
    [['192x192', 'image/png', '192x192'], ['512x512', 'image/png', '512x512']]);
  assert.deepEqual(tab.problems, []);
});

test('the worker keeps every file of the site, each fetched once; with the server stopped the menu and picture 7 still run',
  notInWebKit('its worker under WebDriver shares no cache with the page and fetches each file again; the next case opens the kept page there'), async () => {
  const served = await serve(site);
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/#answer=7&ticks=2000');
  await tab.waitForSelector('#canvas[data-state="drawn"]');
  await waitForBuild(tab, site);
  assert.deepEqual((await kept(tab)).files, keptFiles());
  // The worker took what the page had fetched from the browser's cache: the program came once, and
  // its copy for the folder never.
  const twice = [...served.requests].filter(([, count]) => count > 1).map(([path, count]) => `${path} ${count} times`);
  assert.deepEqual(twice, [], 'fetched more than once');
  assert.equal(served.requests.get('/plotnik.wasm'), 1);
  assert.equal(served.requests.get('/' + kFolderOnly), undefined);

  await served.stop();
  await tab.reload();
  await waitForMenu(tab);
  assert.equal(await tab.evaluate(() => navigator.serviceWorker.controller !== null), true);
  // A still frame of picture 7 exactly as the exporter draws it, then picture 7 live: it moves.
  await tab.evaluate(() => { location.hash = '#answer=7&ticks=2000'; });
  await tab.waitForSelector('#canvas[data-state="drawn"]');
  assert.equal(differences(await canvasPixels(tab), exporterPixels('7', 2000)), '');
  // Saved and recorded offline all the same.
  await catchDownloads(tab);
  await tab.click('#save-png');
  const [png] = await waitForDownloads(tab);
  assert.equal(png.name, 'plotnik-7-t2000.png');
  assert.equal(differences(imagePixels(png.bytes), exporterPixels('7', 2000)), '', 'the PNG saved offline');
  await tab.click('#gif-toggle');
  await tab.select('#gif-seconds', '1');
  await tab.select('#gif-fps', '10');
  await tab.click('#record-gif');
  const [gif] = await waitForDownloads(tab);
  assert.equal(gif.name, 'plotnik-7-t2000-1s-10fps.gif');
  assert.ok(gif.bytes.equals(exporterGif('7', 2000, 10, 100)), 'the GIF recorded offline');
  await tab.evaluate(() => { location.hash = '#answer=7'; });
  const live = await waitForLink(tab, (f) => f.answer === '7' && !f.link.includes('ticks=2000'), 'picture 7 live');
  const first = await canvasPixels(tab);
  await waitForLink(tab, (f) => f.ticks > live.ticks + 100, 'picture 7 a tenth of a second on');
  const later = await canvasPixels(tab);
  assert.ok(first.some((byte) => byte !== 0), 'picture 7 drew something');
  assert.notEqual(differences(later, first), '', 'picture 7 moves');
  // The picture's own files came from the cache; nothing reached for the network.
  assert.deepEqual(tab.problems, []);
});

test('in WebKit: the worker keeps every file of the site, and with the server stopped the page opens from it and draws picture 7',
  { skip: browserName !== 'webkit' && 'the case above does this and more' }, async () => {
  const served = await serve(site);
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/#answer=7&ticks=2000');
  await tab.waitForSelector('#canvas[data-state="drawn"]');
  await waitForBuild(tab, site);
  assert.deepEqual((await kept(tab)).files, keptFiles());

  await served.stop();
  await tab.evaluate(() => { window.earlierPage = true; });
  await tab.goto(served.origin + '/?offline#answer=7&ticks=2000');  // the query: a new page, not a new fragment
  await tab.waitForSelector('#canvas[data-state="drawn"]');
  assert.equal(await tab.evaluate(() => window.earlierPage === undefined && navigator.serviceWorker.controller !== null),
    true, 'a new page, which the worker answered');
  assert.equal(differences(await canvasPixels(tab), exporterPixels('7', 2000)), '');
  assert.deepEqual(tab.problems, []);
});

test('a rebuilt page reaches the browser on its next visit, and offline after that',
  notInWebKit('it reloads the page, which the WebKit tab (webkit.mjs) does not offer'), async () => {
  const copy = copyOfSite();
  const served = await serve(copy);
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/');
  await waitForMenu(tab);
  const before = await waitForBuild(tab, copy);

  // The rebuild: a changed page and a new file, and the build's last step, the worker, again.
  const index = join(copy, 'index.html');
  writeFileSync(index, readFileSync(index, 'utf8').replace('<h1>Plotnik</h1>', '<h1>Plotnik, nowe wydanie</h1>'));
  writeFileSync(join(copy, 'licencje.html'), '<!doctype html><title>Licencje</title>');
  execFileSync('node', [join(source, 'make_worker.mjs'), join(source, 'service_worker.js'), copy]);

  await tab.reload();
  await waitForMenu(tab);
  assert.equal(await tab.$eval('h1', (e) => e.textContent), 'Plotnik, nowe wydanie');
  const after = await waitForBuild(tab, copy);
  assert.notEqual(after, before);
  assert.ok((await kept(tab)).files.includes('/licencje.html'));

  await served.stop();
  await tab.reload();
  await waitForMenu(tab);
  assert.equal(await tab.$eval('h1', (e) => e.textContent), 'Plotnik, nowe wydanie');
  assert.deepEqual(tab.problems, []);
});

// From a reload to picture 7's second frame, in ms.
async function reloadAndRunPictureSeven(tab) {
  const start = Date.now();
  await tab.reload({ waitUntil: 'domcontentloaded' });
  await waitForMenu(tab);
  await tab.evaluate(() => { location.hash = '#answer=7'; });
  await tab.waitForFunction(() => /ticks=\d+/.test(document.getElementById('canvas').dataset.link ?? ''));
  const first = (await frameOnCanvas(tab)).ticks;
  await tab.waitForFunction((t) => Number(/ticks=(\d+)/.exec(document.getElementById('canvas').dataset.link)[1]) > t,
    {}, first);
  return Date.now() - start;
}

test('a server that takes the connection and never answers: the kept page runs, having waited for it once',
  notInWebKit('it reloads the page, which the WebKit tab (webkit.mjs) does not offer; the patience is the worker\'s own code'), async (t) => {
  const served = await serve(site);
  const tab = await openTab(browser, { origin: served.origin });
  await tab.goto(served.origin + '/');
  await waitForMenu(tab);
  await waitForBuild(tab, site);
  const answering = await reloadAndRunPictureSeven(tab);
  served.hang();
  const hanging = await reloadAndRunPictureSeven(tab);
  t.diagnostic(`picture 7 ran ${answering} ms after a reload from a server that answers, ${hanging} ms from one that hangs`);
  // The page's address waited for the server's patience; every file after it came from the kept
  // copy at once, never asked of the silent server (each would wait again). The browser checks
  // the worker's own script for an update itself, outside the worker, and the page asks whether a
  // class server is there of the server alone, without waiting for it.
  const outsideWorker = ['/service-worker.js', '/class-server.json'];
  assert.deepEqual(served.unanswered().filter((path) => !outsideWorker.includes(path)), ['/'],
    'what the page asked of the server that hangs');
  assert.deepEqual(tab.problems, []);
  await tab.close();
});
