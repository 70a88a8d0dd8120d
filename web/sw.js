// The site's service worker (instalar.js): on install it keeps every file of the site;
// afterwards each request goes to the network first, so that a new build is seen at once,
// and to what was kept when there is no network.
'use strict';

const guardados = 'velha';
const arquivos = ['./', 'index.html', 'velha.css', 'textos.js', 'dicionario.js', 'executor.js', 'tabuleiro.js',
  'velha.js', 'instalar.js', 'seeker.js', 'reader.js', 'scribe.js', 'vereditos.js', 'icone.svg',
  'manifest.webmanifest'];

self.addEventListener('install', function (evento) {
  evento.waitUntil(caches.open(guardados).then(function (cache) {
    // One by one: a site built without the complete dictionary has no dicionario.js.
    return Promise.all(arquivos.map((arquivo) => cache.add(arquivo).catch(() => undefined)));
  }).then(() => self.skipWaiting()));
});

self.addEventListener('activate', function (evento) {
  evento.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', function (evento) {
  const pedido = evento.request;
  if (pedido.method !== 'GET' || new URL(pedido.url).origin !== location.origin) return;
  evento.respondWith(fetch(pedido).then(function (resposta) {
    if (resposta.ok) {
      const copia = resposta.clone();
      caches.open(guardados).then((cache) => cache.put(pedido, copia));
    }
    return resposta;
  }).catch(function () {
    return caches.match(pedido, { ignoreSearch: true }).then((guardada) => guardada || Response.error());
  }));
});
