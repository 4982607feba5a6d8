// The page's offline copy. Every file of the game is fetched from the network as usual (the
// browser's cache revalidates it), and the copy kept here answers only when the network cannot:
// a page added to a phone's home screen starts without a connection, and never mixes versions
// while one is there. The score service's own addresses are never touched.
'use strict';
const CACHE = 'saltfang-page';
const FILES = ['./', 'saltfang.js', 'saltfang.wasm', 'saltfang.data', 'manifest.json', 'favicon.ico',
               'icons/icon-192.png', 'icons/icon-512.png', 'icons/maskable-512.png', 'icons/apple-touch-icon.png'];
const scope = new URL(self.registration.scope);
const kept = new Set(FILES.map((f) => new URL(f, scope).href));
kept.add(new URL('index.html', scope).href);

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});
self.addEventListener('activate', (event) => { event.waitUntil(self.clients.claim()); });

// A new version replaces the kept copy; the same bytes (the same entity tag) are not written again.
async function keep(href, response) {
  const cache = await caches.open(CACHE);
  const old = await cache.match(href);
  const tag = response.headers.get('ETag');
  if (old && tag && old.headers.get('ETag') === tag) return;
  await cache.put(href, response);
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  url.search = '';
  url.hash = '';
  if (request.method !== 'GET' || !kept.has(url.href)) return;
  event.respondWith(
    fetch(request)
      .then((response) => {
        if (response.ok) event.waitUntil(keep(url.href, response.clone()));
        return response;
      })
      .catch(() => caches.match(url.href).then((hit) => hit || Response.error()))
  );
});
