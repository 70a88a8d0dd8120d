// The site's service worker (instalar.js). Its cache is this build's, in the scope it was
// registered for: the build writes the build's name and each of its files with the SHA-256
// of what it holds (web/service_worker.cmake), and two deployments on one origin (a release
// and a preview) keep a cache each. On install it fetches every file from the server itself,
// past any HTTP cache, and keeps them only when each holds what this build's does:
// otherwise the install fails and the previous build's cache stays in use. Once it is its
// scope's worker, it deletes its own scope's earlier caches, and no other. It answers each
// request for one of its files from its cache; a file missing there is fetched again the
// same way and used only when it is this build's, so that a page always runs the files of
// one build, offline too. A new build waits until the page, told of it, asks it to take over
// (the "new version" notice), or until no page of the old one is open.
'use strict';

const guardados = 'velha-@VELHA_BUILD@ ' + self.registration.scope;
const deUmaConstrucao = /^velha-[0-9a-f]{16}( |$)/;
// The build's scripts are asked for with its version in their address (?v=…): one with
// another version is another build's, which this worker does not hold.
const versao = '@VELHA_VERSION@';
const conteudos = JSON.parse('@VELHA_FILES@');
conteudos['./'] = conteudos['index.html'];
const pagina = (nome) => nome === './' || nome === 'index.html';

async function sha256(resposta) {
  const resumo = await crypto.subtle.digest('SHA-256', await resposta.clone().arrayBuffer());
  return Array.from(new Uint8Array(resumo), (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// The file from the server, past the HTTP cache, when it is this build's; else null.
async function buscar(nome) {
  try {
    const resposta = await fetch(new Request(nome, { cache: 'reload' }));
    return resposta.ok && (await sha256(resposta)) === conteudos[nome] ? resposta : null;
  } catch {
    return null; // no network
  }
}

// Whether the cache holds every file of the build, each one missing fetched again.
async function inteiro(cache) {
  for (const nome of Object.keys(conteudos)) {
    if (await cache.match(nome)) continue;
    const resposta = await buscar(nome);
    if (!resposta) return false;
    await cache.put(nome, resposta);
  }
  return true;
}

// Whether a cache of the form before scopes were in the names holds this scope's files.
async function desteEscopo(nome) {
  const pedidos = await (await caches.open(nome)).keys();
  return pedidos.length > 0 && pedidos.every((p) => p.url.startsWith(self.registration.scope));
}

async function avisarDaVersaoNova() {
  for (const cliente of await self.clients.matchAll()) cliente.postMessage('versaoNova');
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

self.addEventListener('message', function (evento) {
  if (evento.data === 'assumir') self.skipWaiting();
});

self.addEventListener('activate', function (evento) {
  evento.waitUntil(
    (async function () {
      for (const nome of await caches.keys()) {
        if (!deUmaConstrucao.test(nome) || nome === guardados) continue;
        const doEscopo = nome.includes(' ') ? nome.endsWith(' ' + self.registration.scope) : await desteEscopo(nome);
        if (doEscopo) await caches.delete(nome);
      }
      await self.clients.claim();
    })(),
  );
});

self.addEventListener('fetch', function (evento) {
  const pedido = evento.request;
  const url = new URL(pedido.url);
  if (pedido.method !== 'GET' || url.origin !== location.origin) return;
  const base = new URL(self.registration.scope);
  const nome = url.pathname === base.pathname ? './' : url.pathname.slice(base.pathname.length);
  const pedida = url.searchParams.get('v');
  if (!(nome in conteudos) || (pedida !== null && pedida !== versao)) return;
  evento.respondWith(
    (async function () {
      const cache = await caches.open(guardados);
      // The page is this build's only while its cache holds the whole build: otherwise the
      // server's page, of the build it holds now, whose scripts this worker lets through.
      if (pagina(nome) && !(await inteiro(cache))) {
        self.registration.update();
        try {
          return await fetch(pedido);
        } catch {
          return (await cache.match(nome)) || Response.error();
        }
      }
      const guardada = await cache.match(nome);
      if (guardada) return guardada;
      const resposta = await buscar(nome);
      if (resposta) {
        await cache.put(nome, resposta.clone());
        return resposta;
      }
      // The server holds another build now: this page would mix two. It is told, and offers
      // the new version.
      self.registration.update();
      avisarDaVersaoNova();
      return new Response('This page is being updated: reload it.', {
        status: 503,
        headers: { 'Content-Type': 'text/plain' },
      });
    })(),
  );
});
