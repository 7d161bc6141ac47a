// Lets the studio open with the network off after one visit: the service worker
// (offline-worker.js) answers from kept copies of the site's files when the network is gone, and
// keeps them up to date itself on later visits. Where service workers are not available (a page
// not served from https or localhost), the studio works as before, online only.
import { OfflineCache } from './offlinecache';

const SiteFiles = ['./', 'studio.js', 'studio.css'];

// On a visit that no worker serves yet, none has kept the files: the page keeps them itself.
// Called while the page starts, before its load event, so nothing is requested after it; the
// copies come from the HTTP cache, which holds what the page has just loaded. Settles when they
// are kept; never fails: offline use is a convenience, and the studio runs without it.
export async function keepSiteFiles(): Promise<void> {
  if (!('serviceWorker' in navigator) || !('caches' in window) || navigator.serviceWorker.controller) return;
  const responses = SiteFiles.map((name) => fetch(name, { cache: 'force-cache' }).catch(() => null));
  try {
    const cache = await caches.open(OfflineCache);
    await Promise.all(responses.map(async (pending, i) => {
      const response = await pending;
      if (response?.ok) await cache.put(SiteFiles[i], response);
    }));
  } catch {
    // Storage refused: the studio stays online only.
  }
}

// Registered once the studio is usable: earlier, the browser's work to install a worker slows
// the page's first visit down. 'all': the browser's later checks for a new worker may be answered
// by its HTTP cache (serve.mjs lets it keep the worker a day), so they make no request while the
// page is open. `waiting` is told when a new version has arrived and waits for the next start.
export function registerOfflineWorker(waiting: () => void): void {
  navigator.serviceWorker?.register('offline-worker.js', { updateViaCache: 'all' }).then((registration) => {
    const told = () => { if (registration.waiting && registration.active) waiting(); };
    told();
    registration.addEventListener('updatefound', () => {
      registration.installing?.addEventListener('statechange', told);
    });
  }).catch(() => {
    // Offline use is a convenience.
  });
}
