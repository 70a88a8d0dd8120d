// Installable and offline, when served: the web app manifest, and a service worker
// (sw.js) that keeps the whole site, so that after one visit the page starts with no
// network. A page opened from disk (file://) has neither: Chromium refuses a manifest
// there with an error in the console, and a service worker needs a server. When a new
// build's worker is installed and waiting, or a file of this build can no longer be had,
// the page is told ('versaoNova'), and offers the new version; usarVersaoNova asks the
// waiting worker to take over, and reloads once it has.
let registro = null;
let pedida = false; // the new version was asked for here: its worker taking over reloads

export function instalar(despachar) {
  if (location.protocol === 'file:' || !window.isSecureContext) return;
  const manifesto = document.createElement('link');
  manifesto.rel = 'manifest';
  manifesto.href = 'manifest.webmanifest';
  document.head.appendChild(manifesto);
  if (!('serviceWorker' in navigator)) return;
  const trabalhadores = navigator.serviceWorker;
  const tinhaUm = trabalhadores.controller !== null; // on a first visit the first one claims it
  trabalhadores.addEventListener('message', (evento) => {
    if (evento.data === 'versaoNova') despachar({ tipo: 'versaoNova' });
  });
  trabalhadores.addEventListener('controllerchange', () => {
    if (pedida) location.reload();
    else if (tinhaUm) despachar({ tipo: 'versaoNova' }); // another tab took the new version
  });
  trabalhadores
    // The worker's script is asked of the server at each check, never of the HTTP cache.
    .register('sw.js', { updateViaCache: 'none' })
    .then(function (registrado) {
      registro = registrado;
      const esperando = () => {
        if (registrado.waiting && trabalhadores.controller) despachar({ tipo: 'versaoNova' });
      };
      const instalado = (novo) =>
        novo?.addEventListener('statechange', () => novo.state === 'installed' && esperando());
      esperando();
      instalado(registrado.installing);
      registrado.addEventListener('updatefound', () => instalado(registrado.installing));
      // Each visit asks whether the server holds a new build, rather than waiting for the
      // browser's own check, which may come long after.
      if (trabalhadores.controller) registrado.update().catch(() => {});
    })
    .catch(function () {
      // Without it the page still works, online.
    });
}

export function usarVersaoNova() {
  pedida = true;
  if (registro && registro.waiting) registro.waiting.postMessage('assumir');
  else location.reload();
}
