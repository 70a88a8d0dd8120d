// The site's service worker (instalar.js). Its cache is this build's: the build writes its
// name and each of its files with the SHA-256 of what it holds (web/service_worker.cmake).
// On install it fetches every file from the server itself, past any HTTP cache, and keeps
// them only when each holds what this build's does: otherwise the install fails and the
// previous build's cache stays in use. Once it is the site's worker, it deletes its own
// earlier builds' caches, and no other cache of the origin. It answers each request for
// one of its files from its cache; a file missing there is fetched again the same way and
// used only when it is this build's, so that a page always runs the files of one build,
// offline too. A new build is used from the next visit after the one that fetched it, once
// no page of the old one is open.
'use strict';

const guardados = 'velha-@VELHA_BUILD@';
const deUmaConstrucao = /^velha-[0-9a-f]{16}$/;
const conteudos = JSON.parse('@VELHA_FILES@');
conteudos['./'] = conteudos['index.html'];

async function sha256(resposta) {
  const resumo = await crypto.subtle.digest('SHA-256', await resposta.clone().arrayBuffer());
  return Array.from(new Uint8Array(resumo), (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// The file from the server, past the HTTP cache, when it is this build's; else null.
async function buscar(nome) {
  const resposta = await fetch(new Request(nome, { cache: 'reload' }));
  return resposta.ok && (await sha256(resposta)) === conteudos[nome] ? resposta : null;
}

self.addEventListener('install', function (evento) {
  evento.waitUntil(
    (async function () {
      const respostas = await Promise.all(
        Object.keys(conteudos).map(async function (nome) {
          const resposta = await buscar(nome);
          if (!resposta) throw new Error(nome + ' is not the file of this build');
          return [nome, resposta];
        }),
      );
      const cache = await caches.open(guardados);
      await Promise.all(respostas.map(([nome, resposta]) => cache.put(nome, resposta)));
    })(),
  );
});

self.addEventListener('activate', function (evento) {
  evento.waitUntil(
    caches
      .keys()
      .then(function (nomes) {
        const antigos = nomes.filter((nome) => deUmaConstrucao.test(nome) && nome !== guardados);
        return Promise.all(antigos.map((nome) => caches.delete(nome)));
      })
      .then(() => self.clients.claim()),
  );
});

self.addEventListener('fetch', function (evento) {
  const pedido = evento.request;
  const url = new URL(pedido.url);
  if (pedido.method !== 'GET' || url.origin !== location.origin) return;
  const base = new URL(self.registration.scope);
  const nome = url.pathname === base.pathname ? './' : url.pathname.slice(base.pathname.length);
  if (!(nome in conteudos)) return;
  evento.respondWith(
    (async function () {
      const cache = await caches.open(guardados);
      const guardada = await cache.match(nome);
      if (guardada) return guardada;
      const resposta = await buscar(nome);
      if (resposta) {
        await cache.put(nome, resposta.clone());
        return resposta;
      }
      // The server holds another build now: this page would mix two. The next visit gets
      // the new worker, with the new build whole.
      self.registration.update();
      return new Response('This page is being updated: reload it.', {
        status: 503,
        headers: { 'Content-Type': 'text/plain' },
      });
    })(),
  );
});
