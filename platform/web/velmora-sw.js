// Keeps the game on the device: after one visit it starts and plays with the
// network off. The store is named after the release and a digest of its
// files (written in at build time), so a new release installs afresh and the
// old one's files go.
'use strict';
const STORE = 'velmora-@VELMORA_STORE@';
const FILES = ['velmora.html', 'velmora.js', 'velmora.wasm', 'velmora.data',
               'velmora.webmanifest', 'velmora-192.png', 'velmora-512.png'];

self.addEventListener('install', event => {
  event.waitUntil(caches.open(STORE).then(store => store.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name.startsWith('velmora-') && name !== STORE)
                                    .map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The stored copy first; anything else from the network.
self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(STORE)
    .then(store => store.match(event.request, { ignoreSearch: true }))
    .then(stored => stored || fetch(event.request)));
});
