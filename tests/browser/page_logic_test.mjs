// The page's logic that needs no browser, run under node in a context of its own with
// only what each script touches: the language chosen and kept (textos.js), and the
// runner's worker, whose output leaves in batches, in order, never mixing standard
// output with standard error, and its loads (executor.js).
//
// node --test page_logic_test.mjs, with VELHA_SOURCE (the source tree) in the environment.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import vm from 'node:vm';

const web = path.join(process.env.VELHA_SOURCE, 'web');

// Runs the page's script nome in a fresh context holding contexto, and gives back the
// value of the global it defines.
function carregar(nome, global, contexto) {
  const ambiente = vm.createContext({ URLSearchParams, TextEncoder, TextDecoder, Blob, ...contexto });
  vm.runInContext(fs.readFileSync(path.join(web, nome), 'utf8'), ambiente, { filename: nome });
  return vm.runInContext(global, ambiente);
}

// A browser's storage, or one that refuses (a page from disk in some browsers).
function armazenamento(inicial = {}, recusa = false) {
  const guardados = new Map(Object.entries(inicial));
  return {
    guardados,
    getItem: (chave) => {
      if (recusa) throw new Error('refused');
      return guardados.has(chave) ? guardados.get(chave) : null;
    },
    setItem: (chave, valor) => {
      if (recusa) throw new Error('refused');
      guardados.set(chave, valor);
    },
  };
}

function textos({ busca = '', guardado = {}, recusa = false, idiomas = ['en-US'] } = {}) {
  const localStorage = armazenamento(guardado, recusa);
  const document = { documentElement: {}, title: '', querySelectorAll: () => [] };
  const velhaTextos = carregar('textos.js', 'velhaTextos', {
    location: { search: busca }, localStorage, navigator: { languages: idiomas }, document,
  });
  return { velhaTextos, localStorage };
}

test('the language: the address, else the kept choice, else the browser\'s first the page speaks, else English', function () {
  const casos = [
    [{ busca: '?lang=pt', guardado: { 'velha-idioma': 'en' }, idiomas: ['en'] }, 'pt'],
    [{ busca: '?lang=de', guardado: { 'velha-idioma': 'pt' }, idiomas: ['en'] }, 'pt'],
    [{ guardado: { 'velha-idioma': 'xx' }, idiomas: ['fr-FR', 'PT-br', 'en'] }, 'pt'],
    [{ idiomas: ['fr', 'de'] }, 'en'],
    [{ recusa: true, idiomas: ['pt-PT'] }, 'pt'],
  ];
  for (const [contexto, esperado] of casos) {
    assert.equal(textos(contexto).velhaTextos.idioma(), esperado, JSON.stringify(contexto));
  }
});

test('a language chosen is kept for the next visit, and told to every listener', function () {
  const { velhaTextos, localStorage } = textos({ idiomas: ['en'] });
  let ouvido = 0;
  velhaTextos.aoMudar(() => ouvido++);
  velhaTextos.mudar('pt');
  velhaTextos.mudar('pt');
  velhaTextos.mudar('xx');
  assert.equal(velhaTextos.idioma(), 'pt');
  assert.equal(ouvido, 1);
  assert.equal(textos({ guardado: Object.fromEntries(localStorage.guardados), idiomas: ['en'] }).velhaTextos.idioma(), 'pt');
  // Storage refused: the page changes all the same.
  const semGuardar = textos({ recusa: true }).velhaTextos;
  semGuardar.mudar('pt');
  assert.equal(semGuardar.idioma(), 'pt');
});

// The runner, with a worker whose program is programa (what velhaPrograma does with the
// page's module), its timers run by hand: the messages it posts, in order.
async function executar(programa) {
  let textoDoWorker = null;
  class Worker {
    constructor() {
      executar.worker = this;
    }
    postMessage() {}
    terminate() {}
  }
  const velhaExecutor = carregar('executor.js', 'velhaExecutor', {
    window: { velhaFontes: { teste: '' } },
    Worker,
    URL: { createObjectURL: (blob) => ((textoDoWorker = blob), 'blob:teste') },
  });
  velhaExecutor.iniciar('teste', new Map(), {});
  const texto = await textoDoWorker.text();
  const mensagens = [];
  const timers = [];
  const self = { postMessage: (mensagem) => mensagens.push(mensagem) };
  const noWorker = vm.createContext({
    self, TextEncoder, performance: { now: () => 0 },
    setTimeout: (f) => timers.push(f), clearTimeout: () => {}, velhaPrograma: programa,
  });
  vm.runInContext(texto, noWorker);
  self.onmessage({ data: { tipo: 'iniciar', nome: 'teste', arquivos: new Map(), argumentos: [] } });
  while (timers.length > 0) timers.shift()();
  return mensagens.map((m) => (m.tipo === 'saida' ? [m.descritor, new TextDecoder().decode(m.bytes)] : m.tipo));
}

test('a program\'s output leaves in batches, in order, standard error apart, all of it before its game or its end', async function () {
  const bytes = (texto) => new TextEncoder().encode(texto);
  const mensagens = await executar(function (modulo) {
    const { saida, jogo } = modulo.velha;
    saida(1, bytes('a\n'));
    saida(1, bytes('b\n'));
    saida(2, bytes('erro\n'));
    saida(1, bytes('c\n'));
    jogo('.........', 'X', '-');
    saida(1, bytes('d\n'));
    modulo.onExit(0);
  });
  assert.deepEqual(mensagens, [[1, 'a\nb\n'], [2, 'erro\n'], [1, 'c\n'], 'jogo', [1, 'd\n'], 'fim']);
});

test('a program whose script could not be loaded is tried again when asked for again', async function () {
  const scripts = [];
  const velhaExecutor = carregar('executor.js', 'velhaExecutor', {
    window: {},
    document: {
      createElement: () => ({ remove() {} }),
      body: { appendChild: (script) => scripts.push(script) },
    },
  });
  const primeira = velhaExecutor.carregar('seeker');
  assert.equal(velhaExecutor.carregar('seeker'), primeira);  // one load at a time
  scripts[0].onerror();
  await assert.rejects(primeira);
  velhaExecutor.carregar('seeker');
  assert.equal(scripts.length, 2);
  scripts[1].onload();
  assert.equal(scripts.map((s) => s.src).join(' '), 'seeker.js seeker.js');
});
