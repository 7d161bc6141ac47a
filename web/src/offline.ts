// Keeps the site's files for offline use on a visit that no service worker serves yet (see
// registeroffline.ts): offline-worker.js then has copies to answer from when the network is gone,
// and keeps them up to date itself on later visits.
import { OfflineCache } from './offlinecache';

const SiteFiles = ['./', 'studio.js', 'studio.css', 'registeroffline.js'];

// Called while the page starts, before its load event, so nothing is requested after it. The
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
