// Registers the service worker (offline-worker.js) that lets the studio open with the network
// off after one visit. A script of its own, loaded async from the page's head, so that the
// browser fetches the worker while the page is still loading rather than after its load event.
// Where service workers are not available (a page not served from https or localhost), the
// studio works as before, online only.
if ('serviceWorker' in navigator) {
  // 'all': the browser's later checks for a new worker may be answered by its HTTP cache
  // (serve.mjs lets it keep the worker a day), so they make no request while the page is open.
  navigator.serviceWorker.register('offline-worker.js', { updateViaCache: 'all' }).catch(() => {
    // Offline use is a convenience: the studio runs without it.
  });
}
