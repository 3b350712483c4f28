// The page's service worker: keeps every file of this build of the page, so that a page served
// over http(s) opens, and installs as an app, with no network. The build writes kFiles and
// kBuild above this text (make_worker.mjs): the site's files and a hash of their contents, so a
// rebuilt page is a new worker with a cache of its own.
//
// Files are asked of the server first and taken from the cache only when it cannot be reached:
// the page is never older than the server's once the server answers, and the cache always holds
// one whole build, never a mix.
'use strict';

// Caches belong to the origin; the scope in the name keeps two copies of the page on one server
// apart.
const kPrefix = `plotnik ${self.registration.scope} `;
const kCache = kPrefix + kBuild;

self.addEventListener('install', (event) => {
  // 'reload' skips the browser's HTTP cache: the files stored are the server's files now.
  event.waitUntil(caches.open(kCache)
    .then((cache) => cache.addAll(kFiles.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

// The new build's files are all stored: older builds' caches go.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith(kPrefix) && name !== kCache)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

async function fromServerOrCache(request) {
  try {
    return await fetch(request);
  } catch (failure) {
    const cache = await caches.open(kCache);
    // A link's query (?load=3) and the folder's own address ('./') find the stored file.
    const stored = await cache.match(request, { ignoreSearch: true }) ??
      (request.mode === 'navigate' ? await cache.match('index.html') : undefined);
    if (stored === undefined) {
      throw failure;
    }
    return stored;
  }
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method === 'GET' && new URL(request.url).origin === self.location.origin) {
    event.respondWith(fromServerOrCache(request));
  }
});
