// Installs the service worker (offline-worker.js) that lets the studio open with the network off
// after one visit. Started while the page loads, not waited for: the page is usable at once.
// Where service workers are not available (a page not served from https or localhost), the
// studio works as before, online only.
export function keepOffline(): void {
  if (!('serviceWorker' in navigator)) return;
  // 'all': the browser's later checks for a new worker may be answered by its HTTP cache, so
  // that a visit makes no request after the page has loaded (serve.mjs lets it cache the worker).
  navigator.serviceWorker.register('offline-worker.js', { updateViaCache: 'all' }).catch(() => {
    // Offline use is a convenience: the studio runs without it.
  });
}
