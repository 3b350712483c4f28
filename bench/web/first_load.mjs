// A pupil's first visit: the page served with gzip from a server on this machine, a frozen link
// opened in a fresh Chromium profile (empty cache, no service worker) over an emulated link, and
// measured: when the first picture is drawn (from the start of the navigation), the bytes over the
// network until then, and the bytes of the whole visit, once the service worker has kept the page.
// Every target of the browser gets the link's conditions (Network.emulateNetworkConditions), the
// service worker too, before it runs: Chromium is driven over its own pipe, as puppeteer would
// let the worker run before its conditions are set. Bytes are what came over the network (headers
// and compressed bodies) from the page's server, each request once: not the page's requests the
// worker answered, nor what came from the browser's cache. Prints the medians of RUNS visits per link.
//   node bench/web/first_load.mjs [RUNS]
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium, serveSite } from '../../tests/e2e/web/harness.mjs';
import { median } from './pictures.mjs';

const runs = Number(process.argv[2] ?? 5);
const kLink = '#answer=7&ticks=2000';
const kDeadlineMs = 120000;
// Throughputs in bytes a second; latency in ms.
const links = [
  { name: 'slow link: 1.6 Mbit/s down, 150 ms', latency: 150, down: 1.6e6 / 8, up: 0.75e6 / 8 },
  { name: '5 Mbit/s, 40 ms', latency: 40, down: 5e6 / 8, up: 5e6 / 8 },
  { name: 'loopback', latency: 0, down: -1, up: -1 },
];

// Chromium with a fresh profile, spoken to over --remote-debugging-pipe: send() a command (to a
// session, or to the browser without one), on() the events of every session.
function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'plotnik-first-load-'));
  const child = spawn(chromium.path, [...chromium.args, '--headless', '--remote-debugging-pipe',
    `--user-data-dir=${profile}`, '--window-size=1400,1000', 'about:blank'],
  { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
  const pending = new Map();
  const listeners = [];
  let id = 0;
  let buffered = '';
  child.stdio[4].on('data', (chunk) => {
    const parts = (buffered + chunk.toString()).split('\0');
    buffered = parts.pop();
    for (const part of parts) {
      const message = JSON.parse(part);
      if (message.id !== undefined) {
        const { resolve, reject, method } = pending.get(message.id);
        pending.delete(message.id);
        if (message.error) {
          reject(new Error(`${method}: ${message.error.message}`));
        } else {
          resolve(message.result);
        }
      } else {
        listeners.forEach((listener) => listener(message.method, message.params, message.sessionId));
      }
    }
  });
  const send = (method, params = {}, sessionId = undefined) => new Promise((resolve, reject) => {
    pending.set(++id, { resolve, reject, method });
    child.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
  });
  const close = async () => {
    await send('Browser.close').catch(() => {});
    await new Promise((done) => (child.exitCode !== null ? done() : child.once('exit', done)));
    rmSync(profile, { recursive: true, force: true });
  };
  return { send, on: (listener) => listeners.push(listener), close };
}

// Waits until check() answers true, polling; fails after the deadline, saying what it waited for.
async function waitFor(what, check) {
  const end = Date.now() + kDeadlineMs;
  while (!(await check())) {
    if (Date.now() > end) {
      throw new Error(`waited ${kDeadlineMs} ms for ${what}`);
    }
    await new Promise((done) => setTimeout(done, 50));
  }
}

async function visit(origin, link) {
  const browser = launch();
  try {
    const conditions = { offline: false, latency: link.latency, downloadThroughput: link.down,
      uploadThroughput: link.up };
    const requests = new Map();  // by session and request: bytes so far, finished, counted
    let pageSession;
    let firstPicture = null;
    browser.on((method, params, sessionId) => {
      const key = `${sessionId} ${params?.requestId}`;
      if (method === 'Target.attachedToTarget') {
        const session = params.sessionId;
        const isPage = params.targetInfo.type === 'page';
        (async () => {
          await browser.send('Network.enable', {}, session);
          await browser.send('Network.emulateNetworkConditions', conditions, session);
          if (isPage) {
            await browser.send('Runtime.enable', {}, session);
            await browser.send('Runtime.addBinding', { name: 'plotnikFirstPicture' }, session);
            // The first frame on the canvas, in ms from the start of the navigation.
            await browser.send('Page.addScriptToEvaluateOnNewDocument', {
              source: `new MutationObserver((_, watcher) => {
                if (document.getElementById('canvas')?.dataset.state === 'drawn') {
                  watcher.disconnect();
                  plotnikFirstPicture(String(performance.now()));
                }
              }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-state'] });`,
            }, session);
            await browser.send('Page.enable', {}, session);
            pageSession = session;
          }
          await browser.send('Runtime.runIfWaitingForDebugger', {}, session);
        })().catch((failure) => console.error(failure.message));
      } else if (method === 'Network.requestWillBeSent' && params.request.url.startsWith(origin)) {
        requests.set(key, { bytes: 0, finished: false, counted: true });
      } else if (method === 'Network.responseReceived' && requests.has(key)) {
        const { fromServiceWorker, fromDiskCache, fromPrefetchCache } = params.response;
        requests.get(key).counted = !fromServiceWorker && !fromDiskCache && !fromPrefetchCache;
      } else if (method === 'Network.dataReceived' && requests.has(key)) {
        requests.get(key).bytes += params.encodedDataLength;
      } else if ((method === 'Network.loadingFinished' || method === 'Network.loadingFailed') && requests.has(key)) {
        const request = requests.get(key);
        request.finished = true;
        request.bytes = Math.max(request.bytes, params.encodedDataLength ?? 0);
      } else if (method === 'Runtime.bindingCalled' && params.name === 'plotnikFirstPicture') {
        firstPicture = { ms: Number(params.payload), bytes: bytesSoFar() };
      }
    });
    const bytesSoFar = () => [...requests.values()].reduce((sum, r) => sum + (r.counted ? r.bytes : 0), 0);

    await browser.send('Target.setAutoAttach', { autoAttach: true, waitForDebuggerOnStart: true, flatten: true });
    await browser.send('Target.createTarget', { url: 'about:blank' });
    await waitFor('the page', () => pageSession !== undefined);
    await browser.send('Page.navigate', { url: origin + '/' + kLink }, pageSession);
    await waitFor('the first picture', () => firstPicture !== null);
    // The rest of the visit: the service worker keeps the page, and then nothing more comes.
    await browser.send('Runtime.evaluate', { expression: 'navigator.serviceWorker.ready.then(() => true)',
      awaitPromise: true, timeout: kDeadlineMs }, pageSession);
    let quietSince = Date.now();
    let last = -1;
    await waitFor('the network quiet for 2 s', () => {
      const open = [...requests.values()].some((r) => !r.finished);
      const now = bytesSoFar();
      if (open || now !== last) {
        quietSince = Date.now();
        last = now;
      }
      return Date.now() - quietSince > 2000;
    });
    return { firstMs: firstPicture.ms, before: firstPicture.bytes, visit: bytesSoFar() };
  } finally {
    await browser.close();
  }
}

const served = await serveSite(undefined, { gzip: true });
try {
  const kib = (bytes) => `${Math.round(bytes / 1024).toLocaleString('en')} KiB`;
  console.log(`${kLink} on ${served.origin}, gzip, a fresh profile each visit, medians of ${runs}`);
  console.log('| link | first picture drawn | bytes before the first picture | bytes in the whole first visit |');
  console.log('|---|---|---|---|');
  for (const link of links) {
    const visits = [];
    for (let i = 0; i < runs; ++i) {
      visits.push(await visit(served.origin, link));
    }
    const first = visits.map((v) => v.firstMs).sort((a, b) => a - b);
    console.log(`| ${link.name} | ${(median(first) / 1000).toFixed(2)} s (${(first[0] / 1000).toFixed(2)}-` +
      `${(first.at(-1) / 1000).toFixed(2)}) | ${kib(median(visits.map((v) => v.before)))} | ` +
      `${kib(median(visits.map((v) => v.visit)))} |`);
  }
} finally {
  await served.stop();
}
