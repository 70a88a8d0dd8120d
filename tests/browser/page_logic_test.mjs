// The page's logic that needs no browser, run under node in a context of its own with
// only what each script touches: the language chosen and kept (textos.js), the runner's
// worker, whose output leaves in batches, in order, never mixing standard output with
// standard error, and its loads (executor.js), the game kept as its cells and in the
// address (partida.js), and the board's verdicts (tabuleiro.js).
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
  for (const script of [].concat(nome)) {
    vm.runInContext(fs.readFileSync(path.join(web, script), 'utf8'), ambiente, { filename: script });
  }
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
    location: { search: busca },
    localStorage,
    navigator: { languages: idiomas },
    document,
  });
  return { velhaTextos, localStorage };
}

test('a lingua: o endereco, senao a escolha guardada, senao a primeira do navegador que a pagina fala, senao ingles', function () {
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

test('uma lingua escolhida fica para a proxima visita, e e dita a cada ouvinte', function () {
  const { velhaTextos, localStorage } = textos({ idiomas: ['en'] });
  let ouvido = 0;
  velhaTextos.aoMudar(() => ouvido++);
  velhaTextos.mudar('pt');
  velhaTextos.mudar('pt');
  velhaTextos.mudar('xx');
  assert.equal(velhaTextos.idioma(), 'pt');
  assert.equal(ouvido, 1);
  assert.equal(
    textos({ guardado: Object.fromEntries(localStorage.guardados), idiomas: ['en'] }).velhaTextos.idioma(),
    'pt',
  );
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
    window: { velhaCodigoDosProgramas: { teste: '' } },
    document: { createElement: () => ({}), body: { appendChild() {} } },
    setTimeout: () => {},
    Worker,
    URL: { createObjectURL: (blob) => ((textoDoWorker = blob), 'blob:teste') },
  });
  velhaExecutor.iniciar('teste', new Map(), {});
  const texto = await textoDoWorker.text();
  const mensagens = [];
  const timers = [];
  const self = { postMessage: (mensagem) => mensagens.push(mensagem) };
  const noWorker = vm.createContext({
    self,
    TextEncoder,
    performance: { now: () => 0 },
    setTimeout: (f) => timers.push(f),
    clearTimeout: () => {},
    velhaPrograma: programa,
  });
  vm.runInContext(texto, noWorker);
  self.onmessage({ data: { tipo: 'iniciar', nome: 'teste', arquivos: new Map(), argumentos: [] } });
  while (timers.length > 0) timers.shift()();
  return mensagens.map((m) => (m.tipo === 'saida' ? [m.descritor, new TextDecoder().decode(m.bytes)] : m.tipo));
}

test('a saida de um programa vai em lotes, em ordem, a de erro a parte, toda antes do seu jogo ou do seu fim', async function () {
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

test('um programa cujo script nao pode ser carregado e tentado de novo quando pedido de novo', async function () {
  const scripts = [];
  const velhaExecutor = carregar('executor.js', 'velhaExecutor', {
    window: {},
    document: {
      createElement: () => ({ remove() {} }),
      body: { appendChild: (script) => scripts.push(script) },
    },
  });
  const primeira = velhaExecutor.carregar('seeker');
  assert.equal(velhaExecutor.carregar('seeker'), primeira); // one load at a time
  scripts[0].onerror();
  await assert.rejects(primeira);
  velhaExecutor.carregar('seeker');
  assert.equal(scripts.length, 2);
  scripts[1].onload();
  assert.equal(scripts.map((s) => s.src).join(' '), 'seeker.js seeker.js');
});

// An element as the board uses one.
function elemento(id) {
  const classes = new Set();
  return {
    id,
    atributos: {},
    dataset: {},
    hidden: false,
    disabled: false,
    checked: false,
    textContent: '',
    tabIndex: 0,
    get className() {
      return [...classes].join(' ');
    },
    set className(valor) {
      classes.clear();
      for (const classe of valor.split(' ').filter(Boolean)) classes.add(classe);
    },
    classList: { add: (classe) => classes.add(classe) },
    setAttribute(nome, valor) {
      this.atributos[nome] = String(valor);
    },
    removeAttribute(nome) {
      delete this.atributos[nome];
    },
    focus() {},
    addEventListener(tipo, ouvinte) {
      this['on' + tipo] = ouvinte;
    },
  };
}

// The board of a program nome, in English, with Show why on, and its helper, whose
// questions are kept and whose answers responder gives.
async function tabuleiro(nome) {
  const casas = Array.from({ length: 9 }, () => elemento());
  const descricoes = Array.from({ length: 9 }, (_, casa) => elemento('depois-' + casa));
  const outros = {
    '#situacao': elemento(),
    '#nota': elemento(),
    '#legenda': elemento(),
    '#porque': elemento(),
    '#continuacao': elemento(),
  };
  outros['#porque'].checked = true;
  const ajudante = { perguntas: [], ouvintes: null };
  const velhaTabuleiro = carregar(['textos.js', 'partida.js', 'ajudante.js', 'tabuleiro.js'], 'velhaTabuleiro', {
    location: { search: '?lang=en' },
    localStorage: armazenamento(),
    navigator: { languages: ['en'] },
    document: {
      documentElement: {},
      title: '',
      querySelectorAll: (seletor) =>
        seletor === '.tabuleiro [data-casa]' ? casas : seletor === '[data-depois]' ? descricoes : [],
      querySelector: (seletor) => outros[seletor],
    },
    velhaExecutor: {
      carregar: () => Promise.resolve(),
      iniciar(programa, arquivos, ouvintes) {
        ajudante.ouvintes = ouvintes;
        return { enviar: (bytes) => ajudante.perguntas.push(new TextDecoder().decode(bytes)), parar() {} };
      },
    },
  });
  velhaTabuleiro.iniciar(nome, new Map());
  await new Promise(setImmediate); // the helper loaded
  const responder = (linha) => ajudante.ouvintes.escrever(1, new TextEncoder().encode(linha + '\n'));
  const nomes = () => casas.map((casa) => casa.atributos['aria-label']);
  // Each cell's description, as a screen reader finds it.
  const descritas = () =>
    casas.map((casa) =>
      casa.atributos['aria-describedby']
        ? descricoes.find((d) => d.id === casa.atributos['aria-describedby']).textContent
        : '',
    );
  return { velhaTabuleiro, casas, outros, ajudante, responder, nomes, descritas };
}

test('o tabuleiro: cada veredito e melhor linha vem da resposta para o jogo mostrado, nunca de uma atrasada para outro; o fim marcado', async function () {
  const { velhaTabuleiro, casas, outros, ajudante, responder, nomes, descritas } = await tabuleiro('seeker');
  velhaTabuleiro.mostrar('OO.XX....', 'O', '-', [3, 0, 4]);
  velhaTabuleiro.mostrar('OO.XX....', 'X', '-', [3, 0, 4, 1]);
  assert.deepEqual(ajudante.perguntas, ['OO.XX.... O\n', 'OO.XX.... X\n']);
  responder('OO.XX.... O - - v0 - - p1 p1 p1 p1 2 - - - - - - 2 2 2 2'); // late: the game has moved on
  assert.equal(nomes()[2], 'cell 2: free');
  responder('OO.XX.... X - - v2 - - v0 p1 p1 e 5 - - - 56 - - - 2 2 2765');
  assert.deepEqual(nomes(), [
    'cell 0: O',
    'cell 1: O, last move',
    'cell 2: free, wins in 2',
    'cell 3: X',
    'cell 4: X',
    'cell 5: free, wins now, best',
    'cell 6: free, loses in 1',
    'cell 7: free, loses in 1',
    'cell 8: free, draw',
  ]);
  assert.deepEqual(descritas(), [
    '',
    '',
    'then O 5, X 6',
    '',
    '',
    '',
    'then O 2',
    'then O 2',
    'then O 2, X 7, O 6, X 5',
  ]);
  assert.deepEqual(
    casas.map((casa) => casa.className),
    ['', 'ultima', 'livre vence', '', '', 'livre vence', 'livre perde', 'livre perde', 'livre empata'],
  );
  assert.equal(outros['#legenda'].hidden, false);
  assert.equal(outros['#continuacao'].textContent, ''); // the best cell wins now: nothing follows
  casas[2].onmouseenter();
  assert.equal(outros['#continuacao'].textContent, 'X in cell 2: then O 5, X 6.');
  // Once the game is over, nothing is offered, nothing described, and the win is marked.
  velhaTabuleiro.mostrar('OO.XXX...', 'O', 'X', [3, 0, 4, 1, 5]);
  assert.equal(outros['#legenda'].hidden, true);
  assert.deepEqual(
    casas.map((casa) => casa.atributos['aria-disabled']),
    Array(9).fill('true'),
  );
  assert.deepEqual(descritas(), Array(9).fill(''));
  assert.deepEqual(nomes().slice(3, 6), [
    'cell 3: X, winning line',
    'cell 4: X, winning line',
    'cell 5: X, last move, winning line',
  ]);
  assert.equal(outros['#situacao'].textContent, 'X played cell 5; X won.');
});

test('o tabuleiro: a regra do reader, numa casa livre, numa tomada, ou nenhuma', async function () {
  const { velhaTabuleiro, outros, responder, nomes } = await tabuleiro('reader');
  velhaTabuleiro.mostrar('OO.XX....', 'X', '-');
  const continuacoes = ' - - 56 - - - 2 2 2765';
  responder('OO.XX.... X - - v2 - - v0 p1 p1 e 8 -' + continuacoes);
  assert.equal(outros['#nota'].textContent, '');
  responder('OO.XX.... X - - v2 - - v0 p1 p1 e 5 8' + continuacoes);
  assert.equal(nomes()[8], 'cell 8: free, draw, dictionary');
  assert.equal(outros['#nota'].textContent, 'The dictionary’s move, cell 8, is not among the best.');
  responder('OO.XX.... X - - v2 - - v0 p1 p1 e 5 3' + continuacoes);
  assert.equal(outros['#nota'].textContent, 'The dictionary’s move, cell 3, is taken: reader’s b cannot play it.');
  responder('OO.XX.... X - - v2 - - v0 p1 p1 e 5 n' + continuacoes);
  assert.match(outros['#nota'].textContent, /^The dictionary has no rule for this position/);
});

test('a partida no endereco: o que um fragmento pede, e por que um nao e partida', function () {
  const velhaPartida = carregar('partida.js', 'velhaPartida', {});
  const casos = [
    ['', null],
    ['#seeker', { programa: 'seeker', jogadas: [] }],
    ['#seeker/304', { programa: 'seeker', jogadas: [3, 0, 4] }],
    ['#reader/0123456', { programa: 'reader', jogadas: [0, 1, 2, 3, 4, 5, 6] }], // X wins with 2, 4, 6
    ['#reader/012345678', { erro: 'depoisDoFim', casa: 7 }],
    ['#seeker/449', { erro: 'ocupada', casa: 4 }],
    ['#seeker/4a', { erro: 'casa', casa: 'a' }],
    ['#seeker/94', { erro: 'casa', casa: '9' }],
    ['#scribe', { programa: 'scribe', jogadas: [] }],
    ['#scribe/4', { erro: 'semPartida', programa: 'scribe' }],
    ['#chess/4', { erro: 'programa', programa: 'chess' }],
    ['#seeker/4/5', { erro: 'programa', programa: 'seeker' }],
    ['#%E0%A4%A', { erro: 'programa', programa: '%E0%A4%A' }],
  ];
  for (const [fragmento, esperado] of casos) {
    assert.deepEqual(JSON.parse(JSON.stringify(velhaPartida.lerFragmento(fragmento))), esperado, fragmento);
  }
  // Every game read back from the address it writes.
  for (const jogadas of [[], [4], [3, 0, 4], [0, 3, 1, 4, 2]]) {
    const fragmento = velhaPartida.fragmento('seeker', jogadas);
    assert.deepEqual(JSON.parse(JSON.stringify(velhaPartida.lerFragmento(fragmento))), { programa: 'seeker', jogadas });
  }
});

test('as jogadas da partida seguem os jogos que um programa conta: uma casa a mais, um jogo novo, ou nenhum; desfazer', function () {
  const velhaPartida = carregar('partida.js', 'velhaPartida', {});
  const jogo = (casas) => ({ casas, vez: 'X', fim: '-' });
  const casos = [
    [[], null, '.........', []],
    [[], '.........', '....X....', [4]],
    [[4], '....X....', 'O...X....', [4, 0]],
    [[4, 0], 'O...X....', 'O...X....', [4, 0]], // a refused move
    [[4, 0], 'O...X....', '.........', []], // r
    [[4, 0], 'O...X....', 'OX..X..X.', [4, 0]], // two cells at once: no move the page can name
  ];
  for (const [jogadas, antes, depois, esperadas] of casos) {
    const lidas = velhaPartida.depoisDe(jogadas, antes && jogo(antes), jogo(depois));
    assert.deepEqual(Array.from(lidas), esperadas, `${antes} -> ${depois}`);
  }
  // A take back leaves the person to move: against the computer, its answer goes too; its
  // first move alone is not taken back.
  const desfeitas = [
    [[4, 0, 8], 'O', [4, 0], true], // the computer has not answered yet
    [[4, 0, 8, 2], 'O', [4, 0], true],
    [[4, 0, 8], 'X', [4], true],
    [[4, 0, 8], 'ninguem', [4, 0], true],
    [[4], 'O', [], true],
    [[4], 'X', [], false],
    [[], 'O', [], false],
  ];
  for (const [jogadas, computador, restantes, pode] of desfeitas) {
    assert.deepEqual(Array.from(velhaPartida.desfeitas(jogadas, computador)), restantes, `${jogadas} ${computador}`);
    assert.equal(velhaPartida.podeDesfazer(jogadas, computador), pode, `${jogadas} ${computador}`);
  }
  assert.deepEqual(Array.from(velhaPartida.linhaVencedora('OO.XXX...')), [3, 4, 5]);
  assert.deepEqual(Array.from(velhaPartida.linhaVencedora('X.O.XO..X')), [0, 4, 8]);
  assert.equal(velhaPartida.linhaVencedora('XOXXOOOXX'), null);
});
