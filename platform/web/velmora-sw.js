// Keeps the game on the device: after one complete visit it starts from
// here and plays with the network off. The game's files are named after
// their digests, so one store serves every release: a new release fetches
// only the files that changed, and the old ones go once it is in place.
// The page checks each file's bytes against the release's digest and drops
// a stored copy that does not match. (Release: @RELEASE@.)
'use strict';
const STORE = 'velmora';
const FILES = /*@FILES@*/[];
const PAGE = ['./', 'index.html'];

self.addEventListener('install', event => {
  event.waitUntil(caches.open(STORE).then(async store => {
    // The page anew (it names this release's files); the rest if missing.
    for (const file of FILES) {
      if (!PAGE.includes(file) && await store.match(file)) continue;
      const response = await fetch(file, { cache: 'no-cache' });
      if (!response.ok) throw new Error(`${file}: ${response.status}`);
      await store.put(file, response);
    }
  }).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  const wanted = new Set(FILES.map(file => new URL(file, self.registration.scope).href));
  event.waitUntil(caches.keys()
    // Stores of earlier releases, one per release.
    .then(names => Promise.all(names.filter(name => name.startsWith('velmora-'))
                                    .map(name => caches.delete(name))))
    .then(() => caches.open(STORE))
    .then(store => store.keys().then(requests => Promise.all(
      requests.filter(request => !wanted.has(request.url)).map(request => store.delete(request)))))
    .then(() => self.clients.claim()));
});

// The stored copy first; anything else from the network.
self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET') return;
  const page = event.request.mode === 'navigate' && /\/(index\.html)?$/.test(new URL(event.request.url).pathname);
  event.respondWith(caches.open(STORE)
    .then(store => store.match(page ? 'index.html' : event.request, { ignoreSearch: page }))
    .then(stored => stored || fetch(event.request)));
});
