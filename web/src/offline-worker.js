// The studio's service worker. With the network there, each request goes to it as though the
// worker were absent, so a new build shows at once; without it, the copy kept from the last visit
// answers, so the studio opens offline. It never fetches on its own: the page keeps the first
// copies (offline.ts), and later ones are the responses the page asked for anyway.
import { OfflineCache } from './offlinecache';

// The first worker takes over at once, so that the studio opens offline after one visit. A later
// one (a new build of the worker) waits until every window of the studio is closed: it never
// takes over a page with work in progress; the page says that it is waiting.
self.addEventListener('install', () => {
  if (!self.registration.active) self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    // The page's own request starts while the worker wakes up, so a visit is not slower for it.
    await self.registration.navigationPreload?.enable();
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    try {
      const response = (await event.preloadResponse) ?? await fetch(request);
      if (response.ok) event.waitUntil(keep(request, response.clone()));
      return response;
    } catch (error) {
      const kept = await caches.match(request, { ignoreSearch: true });
      if (kept) return kept;
      throw error;
    }
  })());
});

// Keeps a response for offline use, unless the kept copy is the same version (by the host's ETag
// or Last-Modified): writing the page's files again at every visit would slow the visit down.
async function keep(request, response) {
  const cache = await caches.open(OfflineCache);
  const version = (headers) => headers.get('ETag') ?? headers.get('Last-Modified');
  const kept = await cache.match(request, { ignoreSearch: true });
  if (kept && version(kept.headers) !== null && version(kept.headers) === version(response.headers)) return;
  await cache.put(request, response);
}
