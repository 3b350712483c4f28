// Shared by the browser tests and the browser benchmarks: Debian's Chromium or Firefox ESR driven
// headless, the page opened from its folder (file://) or served on 127.0.0.1, its canvas read back
// inside the page, and the exporter's picture for the same answer, clock and mouse.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import { after, before } from 'node:test';
import puppeteer from 'puppeteer-core';
import { launchWebKit, openWebKitTab } from './webkit.mjs';

export const kWidth = 1280;
export const kHeight = 720;
// How long a test waits for a state the page or the browser reaches later before it fails, saying
// what it waited for. Only a failing test waits this long; on a busy machine a state can take
// seconds.
export const kDeadlineMs = 60000;

// Where the built page is, and the exporter with the folder it runs in (Assets/Calibri.ttf).
export const site = resolve(process.env.PLOTNIK_SITE ?? 'build-web/site');
export const snapshot = process.env.PLOTNIK_SNAPSHOT ?? 'build/plotnik-snapshot';
const snapshotDir = process.env.PLOTNIK_SNAPSHOT_DIR ?? 'build';

// The browser the tests run in: PLOTNIK_BROWSER=chromium (the default, over the DevTools
// protocol), firefox (Firefox ESR, over WebDriver BiDi) or webkit (WebKitGTK, over WebDriver; see
// webkit.mjs).
export const browserName = process.env.PLOTNIK_BROWSER ?? 'chromium';
if (!['chromium', 'firefox', 'webkit'].includes(browserName)) {
  throw new Error(`PLOTNIK_BROWSER is chromium, firefox or webkit, not '${browserName}'`);
}

// The options of a case WebKit leaves to the other two browsers, saying why: WebKitGTK under
// WebDriver cannot do it, or it checks the program's own code, which runs alike in every engine,
// and WebKit's run is kept short.
export const notInWebKit = (why) => ({ skip: browserName === 'webkit' && `not in WebKit: ${why}` });

// The machine's network is closed: no background connections, no updates, no sync. Puppeteer's
// own Firefox profile already turns off Firefox's.
export const chromium = {
  path: process.env.PLOTNIK_CHROMIUM ?? '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-dev-shm-usage'],
};
// With a host name (hostAlias), the browser takes that name for 127.0.0.1, and only that one, as a
// phone takes the name of the school's server: a page opened under it is not a secure context.
const launchOptions = {
  chromium: (hostAlias) => ({
    executablePath: chromium.path,
    args: [...chromium.args, ...(hostAlias ? [`--host-resolver-rules=MAP ${hostAlias} 127.0.0.1`] : [])],
  }),
  firefox: (hostAlias) => ({
    browser: 'firefox',
    executablePath: process.env.PLOTNIK_FIREFOX ?? '/usr/bin/firefox-esr',
    ...(hostAlias && { extraPrefsFirefox: { 'network.dns.localDomains': hostAlias, 'network.dns.disableIPv6': true } }),
  }),
};

export async function launchBrowser(name = browserName, { hostAlias } = {}) {
  if (name === 'webkit') {
    return launchWebKit();
  }
  const profile = mkdtempSync(join(tmpdir(), `plotnik-${name}-`));
  const browser = await puppeteer.launch({ ...launchOptions[name](hostAlias), headless: true, userDataDir: profile });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A new tab at device scale factor 1 (with a touch screen when asked) that fails the test on any request leaving the page's folder
// or server, and on errors in the page.
export async function openTab(browser, { width = 1400, height = 1000, origin, touch = false } = {}) {
  const own = (url) => url.startsWith('file://') || url.startsWith('data:') || (origin && url.startsWith(origin));
  if (browserName === 'webkit') {
    return openWebKitTab(browser, { width, height, touch, own, deadline: kDeadlineMs });
  }
  const tab = await browser.newPage();
  tab.setDefaultTimeout(kDeadlineMs);
  await tab.setViewport({ width, height, deviceScaleFactor: 1, hasTouch: touch });
  tab.problems = [];
  tab.on('pageerror', (error) => tab.problems.push(`page error: ${error.message}`));
  tab.on('request', (request) => {
    const url = request.url();
    if (!own(url)) {
      tab.problems.push(`request outside the page: ${url}`);
    }
  });
  return tab;
}

export function fileUrl(fragment = '', query = '') {
  return pathToFileURL(join(site, 'index.html')).href + query + fragment;
}

const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json', '.wasm': 'application/wasm',
};
// What a server compresses when asked (PNG pictures are compressed already).
const kCompressed = new Set(['.html', '.js', '.css', '.webmanifest', '.wasm']);

// The page's folder (or a copy of it) served as any static web server would, on loopback only,
// with the time each file last changed (by which a browser keeps a file it has just fetched, and
// fetches it once when it asks for it twice at the same moment, as it does for an icon that is the
// tab's and the app's), the Content Security Policy and the types the administrators' server
// examples send; with gzip, compressed as those examples do for a browser that takes it. requests
// counts the requests for each path. stop() closes it and every open connection, as a server that
// is switched off; hang() leaves it taking connections and requests without ever answering, as a
// server that has hung; unanswered() lists the paths asked of it since.
export async function serveSite(root = site, { gzip = false } = {}) {
  let hanging = false;
  const unanswered = [];
  const requests = new Map();
  const compressed = new Map();
  const policy = readFileSync(join(root, 'index.html'), 'utf8')
    .match(/<meta http-equiv="Content-Security-Policy" content="([^"]*)">/)?.[1];
  const server = createServer((request, response) => {
    const path = new URL(request.url, 'http://127.0.0.1').pathname;
    if (hanging) {
      unanswered.push(path);
      return;
    }
    requests.set(path, (requests.get(path) ?? 0) + 1);
    const file = join(root, path === '/' ? 'index.html' : path);
    if (!file.startsWith(join(root, '/'))) {
      response.writeHead(403).end();
      return;
    }
    try {
      let body = readFileSync(file);
      const headers = { 'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream',
        'Last-Modified': statSync(file).mtime.toUTCString() };
      if (policy && extname(file) === '.html') {
        headers['Content-Security-Policy'] = policy;
      }
      if (gzip && kCompressed.has(extname(file)) && /\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
        if (!compressed.has(file)) {
          compressed.set(file, gzipSync(body, { level: 6 }));
        }
        body = compressed.get(file);
        headers['Content-Encoding'] = 'gzip';
        headers.Vary = 'Accept-Encoding';
      }
      headers['Content-Length'] = body.length;
      response.writeHead(200, headers);
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const stop = () => new Promise((done) => {
    server.close(done);
    server.closeAllConnections();
  });
  const hang = () => {
    hanging = true;
    server.closeIdleConnections();
  };
  return {
    server, stop, hang, requests, unanswered: () => [...unanswered],
    origin: `http://127.0.0.1:${server.address().port}`,
  };
}

// One browser and the page served on 127.0.0.1 for a whole test file: session.browser and
// session.served are there once the file's tests run.
export function browserAndSite() {
  const session = {};
  before(async () => {
    session.browser = await launchBrowser();
    session.served = await serveSite();
  });
  after(async () => {
    await session.browser?.close();
    session.served?.server.close();
  });
  return session;
}

// Waits until fn, run in the page with args, answers something true; that answer. Fails after
// kDeadlineMs, saying what it waited for.
export async function waitUntil(tab, what, fn, ...args) {
  try {
    const answer = await tab.waitForFunction(fn, { timeout: kDeadlineMs, polling: 20 }, ...args);
    return typeof answer?.jsonValue === 'function' ? answer.jsonValue() : answer;  // puppeteer's handle
  } catch (failure) {
    throw new Error(`waited ${kDeadlineMs} ms for ${what}: ${failure.message}`);
  }
}

// Waits until the program has loaded and the menu is built.
export async function waitForMenu(tab) {
  await waitUntil(tab, 'the menu', () => document.querySelector('#menu-items a') !== null);
}

// Waits until the live picture rests: its last frame is on the canvas and it draws no other until
// the page steers it (a held clock, a mouse picture, a still picture); the frame then.
export async function waitForRest(tab, what = 'the picture at rest') {
  await waitUntil(tab, what, () => Module._plotnik_test_resting() === 1);
  return frameOnCanvas(tab);
}

// The canvas as RGB bytes, read inside the page.
export async function canvasPixels(tab) {
  const base64 = await tab.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const rgb = new Uint8Array((rgba.length / 4) * 3);
    for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3) {
      rgb[j] = rgba[i];
      rgb[j + 1] = rgba[i + 1];
      rgb[j + 2] = rgba[i + 2];
    }
    let text = '';
    for (let i = 0; i < rgb.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, rgb.subarray(i, i + 0x8000));
    }
    return btoa(text);
  });
  return Buffer.from(base64, 'base64');
}

// A picture file as RGB bytes; throws unless it decodes to a whole 1280 x 720 frame, so a
// missing, empty or damaged file is never equal to anything.
export function framePixels(file) {
  const quiet = { stdio: ['ignore', 'pipe', 'pipe'], maxBuffer: 1 << 24 };
  const size = execFileSync('/usr/bin/identify', ['-format', '%wx%h\n', file], quiet).toString().split('\n')[0];
  if (size !== `${kWidth}x${kHeight}`) {
    throw new Error(`${file} is ${size}, not a ${kWidth} x ${kHeight} frame`);
  }
  const rgb = execFileSync('/usr/bin/convert', [file, '-depth', '8', 'rgb:-'], quiet);
  if (rgb.length !== kWidth * kHeight * 3) {
    throw new Error(`${file} decodes to ${rgb.length} bytes, not one ${kWidth} x ${kHeight} frame`);
  }
  return rgb;
}

// The exporter's picture as RGB bytes, for answer, clock and mouse as a page link gives them.
const pictures = new Map();
export function exporterPixels(answer, ticks = 0, mouse = [0, 0]) {
  const key = `${answer}|${ticks}|${mouse}`;
  if (!pictures.has(key)) {
    const dir = mkdtempSync(join(tmpdir(), 'plotnik-web-test-'));
    const png = join(dir, 'frame.png');
    try {
      execFileSync(resolve(snapshot), [answer, '--ticks', String(ticks), '--mouse', mouse.join(','), '--out', png],
        { cwd: snapshotDir, stdio: ['ignore', 'ignore', 'inherit'] });
      pictures.set(key, framePixels(png));
    } finally {
      rmSync(dir, { recursive: true, force: true });
    }
  }
  return pictures.get(key);
}

// How many pixels differ, and where the first few are; "" when the two are equal.
export function differences(actual, expected) {
  if (actual.length !== expected.length) {
    return `${actual.length} bytes against ${expected.length}`;
  }
  if (expected.length !== kWidth * kHeight * 3) {
    return `${expected.length} bytes are not a ${kWidth} x ${kHeight} frame`;
  }
  let count = 0;
  const first = [];
  for (let p = 0; p < actual.length; p += 3) {
    if (actual[p] !== expected[p] || actual[p + 1] !== expected[p + 1] || actual[p + 2] !== expected[p + 2]) {
      ++count;
      if (first.length < 5) {
        const i = p / 3;
        first.push(`(${i % kWidth}, ${Math.floor(i / kWidth)}) page ${actual.subarray(p, p + 3).join(',')}` +
          ` exporter ${expected.subarray(p, p + 3).join(',')}`);
      }
    }
  }
  return count === 0 ? '' : `${count} pixels differ, first ${first.join('; ')}`;
}

// Polls until the canvas shows the expected picture; what is left when time runs out: the
// differences, or the error of the last reading (while the page loads, reading the canvas can
// fail, for instance with "source width is 0"; that is tried again like a wrong picture).
export async function waitForPicture(tab, expected, timeout = kDeadlineMs) {
  const end = Date.now() + timeout;
  let left;
  do {
    try {
      left = differences(await canvasPixels(tab), expected);
    } catch (error) {
      left = `the canvas could not be read: ${error.message}`;
    }
    if (left === '') {
      return '';
    }
    await new Promise((done) => setTimeout(done, 50));
  } while (Date.now() < end);
  return left;
}

// The link of the frame on the canvas (data-link), read as the exporter's inputs.
export async function frameOnCanvas(tab) {
  const link = await tab.$eval('#canvas', (canvas) => canvas.dataset.link ?? '');
  const fields = Object.fromEntries(link.split('&').map((part) => part.split('=')));
  return {
    link,
    answer: decodeURIComponent(fields.answer ?? ''),
    ticks: Number(fields.ticks),
    mouse: (fields.mouse ?? '').split(',').map(Number),
  };
}

// Waits until the frame on the canvas is one `wanted` accepts; the frame then. Fails, saying what
// was waited for, after kDeadlineMs.
export async function waitForLink(tab, wanted, what = 'the frame') {
  const end = Date.now() + kDeadlineMs;
  let frame;
  do {
    frame = await frameOnCanvas(tab);
    if (frame.link !== '' && wanted(frame)) {
      return frame;
    }
    await new Promise((done) => setTimeout(done, 20));
  } while (Date.now() < end);
  throw new Error(`${what}: still ${frame.link}`);
}

// How many frames the page has drawn into the canvas since it loaded.
export const framesDrawn = (tab) => tab.evaluate(() => Module._plotnik_test_frames_drawn());

// Where frame pixel (x, y) is on the page, wherever and however large the canvas is drawn: the first
// whole page pixel (the browser reports no finer) inside that frame pixel's area; and the scale.
export async function pagePixel(tab, x, y) {
  const box = await tab.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { left: r.left, top: r.top, scale: r.width / 1280 };
  });
  return { x: Math.ceil(box.left + x * box.scale), y: Math.ceil(box.top + y * box.scale), scale: box.scale };
}

// Moves the mouse as a hand does, in many small steps, to a page pixel or to the middle of the
// element a selector names.
export async function moveMouseTo(tab, where, steps = 15) {
  const to = typeof where === 'string'
    ? await tab.$eval(where, (e) => {
      const r = e.getBoundingClientRect();
      return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
    })
    : where;
  await tab.mouse.move(to.x, to.y, { steps });
}

// Clicks the picture on frame pixel (x, y), the mouse brought there in small steps, so that a mouse
// picture's pointer stands there; answers the scale the canvas is drawn at.
export async function pointAt(tab, x, y) {
  const at = await pagePixel(tab, x, y);
  await moveMouseTo(tab, at, 5);
  await tab.mouse.down();
  await tab.mouse.up();
  return at.scale;
}

// axe-core's findings on the page as it is now: [] when it finds no violation.
const axeSource = readFileSync(new URL('./node_modules/axe-core/axe.min.js', import.meta.url), 'utf8');
export async function accessibilityViolations(tab) {
  if (!(await tab.evaluate(() => typeof window.axe === 'object'))) {
    await tab.evaluate(axeSource);
  }
  return tab.evaluate(async () => {
    const result = await window.axe.run(document);
    return result.violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  });
}

// The files the page hands over for download, caught in the page before the browser gets them:
// URL.createObjectURL remembers each Blob, and a click on a link with `download` is kept (its name
// and its Blob, or with keep false only the size) instead of followed. The same in every browser,
// whatever its download folder. takeDownloads answers those caught since the last call.
export async function catchDownloads(tab, { keep = true } = {}) {
  await tab.evaluate((keepBytes) => {
    window.caughtDownloads = [];
    if (window.catchingDownloads) {
      window.catchingDownloads.keep = keepBytes;
      return;
    }
    window.catchingDownloads = { keep: keepBytes };
    const blobs = new Map();
    const create = URL.createObjectURL;
    URL.createObjectURL = (object) => {
      const url = create.call(URL, object);
      blobs.set(url, object);
      return url;
    };
    const click = HTMLAnchorElement.prototype.click;
    HTMLAnchorElement.prototype.click = function caught() {
      if (!this.download) {
        click.call(this);
        return;
      }
      const blob = blobs.get(this.href);
      blobs.delete(this.href);
      window.caughtDownloads.push({
        name: this.download, size: blob?.size, type: blob?.type, blob: window.catchingDownloads.keep ? blob : null,
      });
    };
  }, keep);
}

export async function takeDownloads(tab) {
  const caught = await tab.evaluate(async () => {
    const all = window.caughtDownloads.splice(0);
    return Promise.all(all.map(async ({ name, size, type, blob }) => {
      let base64 = null;
      if (blob) {
        const bytes = new Uint8Array(await blob.arrayBuffer());
        let text = '';
        for (let i = 0; i < bytes.length; i += 0x8000) {
          text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        }
        base64 = btoa(text);
      }
      return { name, size, type, base64 };
    }));
  });
  return caught.map(({ base64, ...file }) => ({ ...file, bytes: base64 === null ? null : Buffer.from(base64, 'base64') }));
}

// Waits until the page has handed over n files; those files.
export async function waitForDownloads(tab, n = 1) {
  await waitUntil(tab, `${n} files handed over`, (count) => window.caughtDownloads.length >= count, n);
  return takeDownloads(tab);
}

// A PNG's or a GIF's pixels as RGB bytes, decoded by ImageMagick; a GIF's frames each whole (as
// shown, each drawn over the one before), with their delays in hundredths of a second.
export function imagePixels(bytes) {
  return execFileSync('/usr/bin/convert', ['-', '-depth', '8', 'rgb:-'], { input: bytes, maxBuffer: 1 << 26 });
}

export function gifFrames(bytes) {
  const all = execFileSync('/usr/bin/convert', ['gif:-', '-coalesce', '-depth', '8', 'rgb:-'],
    { input: bytes, maxBuffer: 1 << 30 });
  const size = kWidth * kHeight * 3;
  const frames = [];
  for (let at = 0; at < all.length; at += size) {
    frames.push(all.subarray(at, at + size));
  }
  const delays = execFileSync('/usr/bin/identify', ['-format', '%T ', 'gif:-'], { input: bytes, encoding: 'utf8' })
    .trim().split(' ').map(Number);
  return { frames, delays };
}

// The exporter's animated GIF for answer, from the clock at ticks, frames frames every `every` ms.
export function exporterGif(answer, ticks, frames, every) {
  const dir = mkdtempSync(join(tmpdir(), 'plotnik-web-test-'));
  const gif = join(dir, 'frames.gif');
  execFileSync(resolve(snapshot), [answer, '--ticks', String(ticks), '--frames', String(frames), '--every',
    String(every), '--out', gif], { cwd: snapshotDir, stdio: ['ignore', 'ignore', 'pipe'] });
  const bytes = readFileSync(gif);
  rmSync(dir, { recursive: true, force: true });
  return bytes;
}

// The size of the program's memory in bytes (it grows as needed and never shrinks).
export const programMemory = (tab) => tab.evaluate(() => Module._plotnik_test_heap_size() >>> 0);
