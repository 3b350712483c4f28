// The page's service worker: keeps every file of this build of the page, so that a page served
// over http(s) opens, and installs as an app, with no network. The build writes kFiles and
// kBuild above this text (make_worker.mjs): the site's files, each with the SHA-256 of its
// contents, and a hash of them all, so a rebuilt page is a new worker with a cache of its own; and
// kOnlyWithServer, the files of a lesson with a class, which it leaves alone. The page registers
// it once its first picture is drawn, and the files the page has fetched by then are taken from
// the browser's own cache, not fetched again: each byte comes once.
//
// Files are asked of the server first and taken from the cache only when it cannot be reached or
// does not answer in time: the page is never older than the server's once the server answers,
// and the cache always holds one whole build, never a mix.
'use strict';

// Caches belong to the origin; the scope in the name keeps two copies of the page on one server
// apart.
const kPrefix = `plotnik ${self.registration.scope} `;
const kCache = kPrefix + kBuild;

const hex = (bytes) => Array.from(new Uint8Array(bytes), (b) => b.toString(16).padStart(2, '0')).join('');
const contentsHash = async (response) => hex(await crypto.subtle.digest('SHA-256', await response.arrayBuffer()));

// Keeps a file of this build under each of its names (the folder's own address and index.html
// are one file): the copy the browser already has when it is this build's, else the server's
// ('reload' skips the browser's cache). A file that is not this build's is never kept: the server
// holds a newer build, whose own worker keeps it.
async function keep(cache, names, hash) {
  const tries = [...names.map((name) => [name, 'force-cache']), [names[0], 'reload']];
  for (const [name, mode] of tries) {
    const response = await fetch(name, { cache: mode }).catch(() => null);
    if (response?.ok && (await contentsHash(response.clone())) === hash) {
      await Promise.all(names.map((each) => cache.put(each, response.clone())));
      return;
    }
  }
  throw new Error(`${names[0]} is not the file of build ${kBuild}`);
}

self.addEventListener('install', (event) => {
  const byHash = new Map();
  for (const [name, hash] of kFiles) {
    byHash.set(hash, [...(byHash.get(hash) ?? []), name]);
  }
  event.waitUntil(caches.open(kCache)
    .then((cache) => Promise.all([...byHash].map(([hash, names]) => keep(cache, names, hash))))
    .then(() => self.skipWaiting()));
});

// The new build's files are all stored: older builds' caches go.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith(kPrefix) && name !== kCache)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// A server that takes a connection and never answers is as good as none: after kPatienceMs (1.5 s) the
// stored file is served (the request to the server is dropped), and for kSilenceMs after that the
// page's other files come from the cache at once instead of each waiting again. A file the cache
// does not hold is still waited for.
const kPatienceMs = 1500;
const kSilenceMs = 30000;
let serverSilentUntil = 0;

async function stored(request) {
  const cache = await caches.open(kCache);
  // A link's query (?load=3) and the folder's own address ('./') find the stored file.
  return await cache.match(request, { ignoreSearch: true }) ??
    (request.mode === 'navigate' ? await cache.match('index.html') : undefined);
}

async function fromServerOrCache(request) {
  const copy = await stored(request);
  if (copy !== undefined && Date.now() < serverSilentUntil) {
    return copy;
  }
  const giveUp = new AbortController();
  const answer = fetch(request, { signal: giveUp.signal }).then((response) => {
    serverSilentUntil = 0;
    return response;
  });
  answer.catch(() => {});  // dropped or unreachable: handled below, or the caller's to see
  if (copy === undefined) {
    return answer;
  }
  let timer;
  const patience = new Promise((done) => { timer = setTimeout(done, kPatienceMs, 'silent'); });
  try {
    const first = await Promise.race([answer, patience]);
    if (first !== 'silent') {
      return first;
    }
    serverSilentUntil = Date.now() + kSilenceMs;
    giveUp.abort();
  } catch {
    // the server cannot be reached: the stored file
  } finally {
    clearTimeout(timer);
  }
  return copy;
}

// A lesson with a class asks its own files of the server (kOnlyWithServer): the worker leaves them
// to the network, so that with no network the page hears plainly that there is no class server.
const fromServerOnly = (url) => kOnlyWithServer.some((file) => new URL(file, self.registration.scope).href === url.href);

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method === 'GET' && url.origin === self.location.origin && !fromServerOnly(url)) {
    event.respondWith(fromServerOrCache(request));
  }
});
