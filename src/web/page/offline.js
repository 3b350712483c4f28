// Served over http(s), a service worker keeps the page's files, so the page opens (and installs as
// an app) with no network. Opened from its folder the page needs none.
export function keepForOffline() {
  if ('serviceWorker' in navigator && (location.protocol === 'https:' || location.protocol === 'http:')) {
    navigator.serviceWorker.register('service-worker.js').catch((failure) => console.warn('service worker:', failure));
  }
}
