// Installable and offline, when served: the web app manifest, and a service worker
// (sw.js) that keeps the whole site, so that after one visit the page starts with no
// network. A page opened from disk (file://) has neither: Chromium refuses a manifest
// there with an error in the console, and a service worker needs a server.
export function instalar() {
  if (location.protocol === 'file:' || !window.isSecureContext) return;
  const manifesto = document.createElement('link');
  manifesto.rel = 'manifest';
  manifesto.href = 'manifest.webmanifest';
  document.head.appendChild(manifesto);
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch(function () {
      // Without it the page still works, online.
    });
  }
}
