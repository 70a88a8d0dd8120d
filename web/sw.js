// The site's service worker (instalar.js). Its cache is this build's (the build writes its
// name and its list of files, web/service_worker.cmake): on install it keeps every file
// of the site at once, or fails and leaves the previous build's cache in use; once it is
// the site's worker, it deletes the caches of other builds. It answers each request from
// its own build's cache, and the network for anything else, so that a page always runs the
// files of one build, offline too; a new build is used from the next visit after the one
// that fetched it, once no page of the old one is open.
'use strict';

const guardados = 'velha-@VELHA_BUILD@';
const arquivos = ['./'].concat(JSON.parse('@VELHA_FILES@'));

self.addEventListener('install', function (evento) {
  evento.waitUntil(caches.open(guardados).then((cache) => cache.addAll(arquivos)));
});

self.addEventListener('activate', function (evento) {
  evento.waitUntil(caches.keys().then(function (nomes) {
    const outros = nomes.filter((nome) => nome.startsWith('velha') && nome !== guardados);
    return Promise.all(outros.map((nome) => caches.delete(nome)));
  }).then(() => self.clients.claim()));
});

self.addEventListener('fetch', function (evento) {
  const pedido = evento.request;
  if (pedido.method !== 'GET' || new URL(pedido.url).origin !== location.origin) return;
  evento.respondWith(caches.open(guardados).then(function (cache) {
    return cache.match(pedido, { ignoreSearch: true });
  }).then((guardada) => guardada || fetch(pedido)));
});
