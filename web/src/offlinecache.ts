// The Cache Storage that keeps the studio's files for offline use: one name for the page and its
// service worker.
export const OfflineCache = 'tarrow-boot-screen-studio';
