// The page's logic that needs no browser, imported as the page's modules are: the update
// (atualizar.js) as a table of events and the states and effects they give, the game and
// its address (partida.js), the board drawn from a state (tabuleiro.js) on a stand-in for
// the page, the language chosen (textos.js), and the runner's worker, whose output leaves
// in batches, in order, and its loads (executor.js).
//
// node --test page_logic_test.mjs
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { test } from 'node:test';
import vm from 'node:vm';

import { criarAjudante } from '../../web/ajudante.js';
import { lerDicionario, modeloDoDicionario, posicaoDaChave } from '../../web/dicionario.js';
import { atualizar, pausaDoComputador } from '../../web/atualizar.js';
import { casaOferecida, estadoInicial, posicaoMostrada, resultado } from '../../web/estado.js';
import * as executor from '../../web/executor.js';
import { lerRamo, moverNaArvore, ramosVisiveis } from '../../web/explorador.js';
import { eventosDoRastro, lerRastro, marcasDoRastro, situacaoDoRastro } from '../../web/passos.js';
import * as partida from '../../web/partida.js';
import { criarTabuleiro } from '../../web/tabuleiro.js';
import { idiomaInicial } from '../../web/textos.js';
import { en } from '../../web/textos_en.js';

const simples = (valor) => JSON.parse(JSON.stringify(valor));

test('a lingua: o endereco, senao a escolhida antes, senao a primeira do navegador que a pagina fala, senao ingles', function () {
  const casos = [
    ['?lang=pt', 'en', ['en'], 'pt'],
    ['?lang=de', 'pt', ['en'], 'pt'],
    ['', 'xx', ['fr-FR', 'PT-br', 'en'], 'pt'],
    ['', null, ['fr', 'de'], 'en'],
  ];
  for (const [busca, guardado, doNavegador, esperado] of casos) {
    assert.equal(idiomaInicial(busca, guardado, doNavegador), esperado, busca + ' ' + guardado);
  }
  // The page as written is the English one, so that a first draw in English sets no text:
  // each text, name and placeholder the page translates says what textos_en.js says.
  const html = fs.readFileSync(new URL('../../web/index.html', import.meta.url), 'utf8');
  const escrito = (valor) =>
    valor
      .replace(/&gt;/g, '>')
      .replace(/&lt;/g, '<')
      .replace(/&quot;/g, '"')
      .replace(/&amp;/g, '&');
  const pares = [[html.match(/<title>([^<]*)</)[1], 'titulo']];
  for (const [, chave, valor] of html.matchAll(/\sdata-t="(\w+)"[^>]*>([^<]*)</g)) pares.push([valor, chave]);
  for (const [atributo, nome] of [
    ['data-t-label', 'aria-label'],
    ['data-t-placeholder', 'placeholder'],
  ]) {
    for (const [marca] of html.matchAll(new RegExp(`<[^>]*\\s${atributo}="\\w+"[^>]*>`, 'g'))) {
      pares.push([
        marca.match(new RegExp(`\\s${nome}="([^"]*)"`))?.[1],
        marca.match(new RegExp(`${atributo}="(\\w+)"`))[1],
      ]);
    }
  }
  assert.ok(pares.length > 60);
  for (const [valor, chave] of pares) assert.equal(escrito(valor ?? ''), en[chave], chave);
});

test('a partida no endereco: o que um fragmento pede, por que um nao e partida, e o que a pagina escreve', function () {
  const casos = [
    ['', null],
    ['#seeker', { programa: 'seeker', computador: 'ninguem', jogadas: [] }],
    ['#seeker/304', { programa: 'seeker', computador: 'ninguem', jogadas: [3, 0, 4] }], // as shared before
    ['#seeker/04/', { programa: 'seeker', computador: 'ninguem', jogadas: [0, 4] }],
    ['#reader/X/0123456', { programa: 'reader', computador: 'X', jogadas: [0, 1, 2, 3, 4, 5, 6] }],
    ['#reader/012345678', { erro: 'depoisDoFim', casa: 7 }],
    ['#seeker/031420', { erro: 'depoisDoFim', casa: 0 }], // taken too, but after the end first
    ['#seeker/O/449', { erro: 'ocupada', casa: 4 }],
    ['#seeker/4a', { erro: 'parte', parte: '4a' }],
    ['#seeker/4/5', { erro: 'parte', parte: '5' }],
    ['#seeker//04', { erro: 'vazia' }],
    ['#seeker/O//4', { erro: 'vazia' }],
    ['#seeker/Z/4', { erro: 'parte', parte: 'Z' }],
    ['#scribe/4', { erro: 'semPartida', programa: 'scribe' }],
    ['#chess/4', { erro: 'programa', programa: 'chess' }],
    ['#%E0%A4%A', { erro: 'codificacao' }],
  ];
  for (const [fragmento, esperado] of casos)
    assert.deepEqual(simples(partida.lerFragmento(fragmento)), esperado, fragmento);
  for (const [programa, computador, jogadas, escrito] of [
    ['seeker', 'O', [], '#seeker/O'],
    ['reader', 'X', [3, 0, 4], '#reader/X/304'],
    ['seeker', 'ninguem', [0, 3, 1, 4, 2], '#seeker/03142'],
    ['scribe', 'O', [4], '#scribe'],
  ]) {
    const fragmento = partida.fragmento(programa, jogadas, computador);
    assert.equal(fragmento, escrito);
    if (programa !== 'scribe')
      assert.deepEqual(simples(partida.lerFragmento(fragmento)), { programa, computador, jogadas });
  }
  // A bad address is echoed short, its invisible characters by their code.
  assert.equal(partida.eco('a\u0000b\u200bc'), 'aU+0000bU+200Bc');
  assert.equal(partida.eco('7'.repeat(10000)), '7'.repeat(24) + '…');
});

test('a chave de uma posicao: os exemplos das regras, e as do dicionario completo, uma por posicao que o jogo alcanca', function (t) {
  for (const [casas, vez, chave] of [
    ['.........', 'X', 10597],
    ['.........', 'O', 10597],
    ['X........', 'O', 10606],
    ['....X....', 'O', 10678],
    ['........X', 'O', 11326],
    ['O........', 'X', 10606], // the colours swapped: one key, one rule
  ]) {
    assert.equal(partida.chaveDaPosicao(casas, vez), chave, casas + ' ' + vez);
  }
  // Every position a game reaches before its end, either side first, has its key in the
  // complete dictionary, and the dictionary no other: 4,520 keys.
  // The build's complete dictionary (VELHA_DICIONARIO, as ctest gives it, or build/'s).
  const arquivo = process.env.VELHA_DICIONARIO || new URL('../../build/share/velha/dicionario.txt', import.meta.url);
  if (!fs.existsSync(arquivo)) return t.skip('no complete dictionary built');
  const completo = fs
    .readFileSync(arquivo, 'utf8')
    .trim()
    .split('\n')
    .map((linha) => Number(linha.split(' ')[0]));
  const chaves = new Set();
  const andar = (casas, vez) => {
    if (partida.linhaVencedora(casas) || !casas.includes('.')) return;
    chaves.add(partida.chaveDaPosicao(casas, vez));
    for (let casa = 0; casa < 9; ++casa) {
      if (casas[casa] === '.') andar(casas.slice(0, casa) + vez + casas.slice(casa + 1), vez === 'X' ? 'O' : 'X');
    }
  };
  andar('.........', 'X');
  andar('.........', 'O');
  assert.deepEqual(
    [...chaves].sort((a, b) => a - b),
    completo,
  );
  assert.deepEqual(completo.slice(0, 3), [1637, 1643, 1645]);
  // Each key read back is its position, which the panel draws.
  for (const chave of completo) {
    const { casas, vez } = posicaoDaChave(chave);
    assert.equal(partida.chaveDaPosicao(casas, vez), chave);
  }
});

test('um dicionario lido como o reader o le, e o que cobre das posicoes que o jogo alcanca', function (t) {
  const ler = (texto) => lerDicionario(new TextEncoder().encode(texto));
  // Any white space between key and rule, a later rule overriding (and moving to where it
  // stands), "9" clearing a key, a sign; the first fault's line.
  for (const [texto, regras, invalida = null] of [
    [
      '10597 4\n10606\t0\n',
      [
        [10597, 4],
        [10606, 0],
      ],
    ],
    [
      '10597 4\n10606 0\n10597 8\n',
      [
        [10606, 0],
        [10597, 8],
      ],
    ],
    ['10597 4 10597 9 +0\n\n1', [[0, 1]]],
    ['1 2\n\n-1 2\n', [], 3],
    ['1 2\n19683 0\n', [], 2],
    ['\ufeff10597 4\n', [], 1],
    ['10597\n\n', [], 1],
  ]) {
    const lido = ler(texto);
    assert.deepEqual([[...lido.regras].map(([k, r]) => [k, r.casa]), lido.invalida], [regras, invalida], texto);
  }
  const cobre = (texto) => modeloDoDicionario(new TextEncoder().encode(texto)).cobertura;
  const total = { deX: 2423, deO: 2097 };
  assert.deepEqual(cobre('10597 4\n'), { regras: 1, X: 1, O: 0, ...total, fora: 0, semJogada: { X: 8, O: 9 } });
  // A rule on a taken cell leaves reader with no move all the same.
  assert.deepEqual(cobre('10606 0\n'), { regras: 1, X: 0, O: 1, ...total, fora: 0, semJogada: { X: 1, O: 9 } });
  // A key no game reaches (nine marks of the side to move) is counted apart.
  assert.equal(cobre('1637 0\n756 0\n').fora, 1);
  const arquivo = process.env.VELHA_DICIONARIO || new URL('../../build/share/velha/dicionario.txt', import.meta.url);
  if (!fs.existsSync(arquivo)) return t.skip('no complete dictionary built');
  assert.deepEqual(cobre(fs.readFileSync(arquivo, 'latin1')), {
    regras: 4520,
    X: 2423,
    O: 2097,
    ...total,
    fora: 0,
    semJogada: { X: 0, O: 0 },
  });
});

test('as regras da pagina: as linhas na ordem do nucleo, desfazer, as setas no tabuleiro, os vereditos contados por quem joga', function () {
  // The core's lines, in its order, from its own table.
  const doNucleo = fs.readFileSync(new URL('../../core/linhas.h', import.meta.url), 'utf8');
  const tabela = doNucleo.slice(doNucleo.indexOf('linhas{{'), doNucleo.indexOf('}};'));
  assert.deepEqual(
    partida.linhas,
    Array.from(tabela.matchAll(/\{\{(\d), (\d), (\d)\}\}/g), (m) => m.slice(1).map(Number)),
  );
  assert.deepEqual(partida.linhaVencedora('XOXOXOXOX'), [2, 4, 6]);
  assert.deepEqual(partida.linhaVencedora('OO.XXX...'), [3, 4, 5]);
  assert.equal(partida.linhaVencedora('XOXXOOOXX'), null);
  // A take back leaves the person to move: against the computer, its answer goes too; its
  // first move alone is not taken back.
  for (const [jogadas, computador, restantes, pode] of [
    [[4, 0, 8], 'O', [4, 0], true],
    [[4, 0], 'O', [], true],
    [[4, 0, 8, 2], 'O', [4, 0], true],
    [[4, 0, 8], 'X', [4], true],
    [[4, 0, 8], 'ninguem', [4, 0], true],
    [[4], 'X', [], false],
    [[], 'O', [], false],
  ]) {
    assert.deepEqual(partida.desfeitas(jogadas, computador), restantes, `${jogadas} ${computador}`);
    assert.equal(partida.podeDesfazer(jogadas, computador), pode, `${jogadas} ${computador}`);
  }
  for (const [casa, tecla, destino] of [
    [2, 'ArrowRight', 2],
    [3, 'ArrowLeft', 3],
    [4, 'ArrowRight', 5],
    [1, 'ArrowUp', 1],
    [4, 'ArrowDown', 7],
    [7, 'ArrowDown', 7],
    [5, 'Home', 0],
    [0, 'End', 8],
    [4, 'Enter', null],
  ]) {
    assert.equal(partida.casaDestino(casa, tecla), destino, `${casa} ${tecla}`);
  }
  for (const [codigo, esperado] of [
    ['v0', { fim: 'vence', lances: 1 }],
    ['v4', { fim: 'vence', lances: 3 }],
    ['p1', { fim: 'perde', lances: 1 }],
    ['p5', { fim: 'perde', lances: 3 }],
    ['e', { fim: 'empata', lances: 0 }],
  ]) {
    assert.deepEqual(partida.veredito(codigo), esperado, codigo);
  }
});

// Runs events through the update from estado, as the page does: the last state, and every
// effect asked for on the way.
function rodar(estado, ...eventos) {
  const efeitos = [];
  for (const evento of eventos) {
    const depois = atualizar(estado, evento);
    estado = depois.estado;
    efeitos.push(...depois.efeitos);
  }
  return { estado, efeitos };
}

// What a program tells the page after a command: its game, and the cell it played.
function jogo(execucao, jogadas, jogada = -1, programa = 'seeker') {
  const { casas, vez, fim } = partida.jogar(jogadas);
  return { tipo: 'jogo', execucao, casas, vez, fim, jogada, programa };
}
const tipos = (efeitos, tipo) => efeitos.filter((efeito) => efeito.tipo === tipo);
const enviadas = (efeitos) => tipos(efeitos, 'enviar').map((efeito) => efeito.linha);

// A page that has just arrived, seeker ready with the game jogadas replayed.
function chegou(computador = 'O', jogadas = []) {
  const fragmento = partida.fragmento('seeker', jogadas, computador);
  const contados = jogadas.map((casa, n) => jogo(1, jogadas.slice(0, n + 1), casa));
  return rodar(estadoInicial({ computador: 'ninguem' }), { tipo: 'abrir', fragmento }, jogo(1, []), ...contados);
}

test('a chegada: um jogo vivo contra o seeker, o do endereco com o seu adversario, ou um novo que diz por que', function () {
  const vazio = rodar(estadoInicial({ computador: 'O' }), { tipo: 'abrir', fragmento: '' });
  assert.deepEqual(simples(vazio.efeitos[0]), {
    tipo: 'iniciar',
    execucao: 1,
    programa: 'seeker',
    jogadas: [],
    dicionario: null,
  });
  assert.deepEqual(tipos(vazio.efeitos, 'endereco'), [{ tipo: 'endereco', fragmento: '#seeker/O' }]);
  // The helper, and the time its loading takes, wait until Show why asks for verdicts.
  assert.deepEqual(tipos(vazio.efeitos, 'ajudante'), []);
  assert.deepEqual(tipos(rodar(vazio.estado, { tipo: 'porque', sim: true }).efeitos, 'ajudante'), [
    { tipo: 'ajudante', dicionario: null },
  ]);
  // Nothing is offered until the program has told its game; then one click plays.
  assert.equal(casaOferecida(vazio.estado, 4), false);
  const pronto = rodar(vazio.estado, jogo(1, []));
  assert.equal(casaOferecida(pronto.estado, 4), true);
  assert.deepEqual(enviadas(rodar(pronto.estado, { tipo: 'casa', casa: 4 }).efeitos), ['j 4']);
  // A new build ready: offered through the game, and used only when asked for.
  const nova = rodar(pronto.estado, { tipo: 'versaoNova' }, { tipo: 'casa', casa: 4 });
  assert.equal(nova.estado.versaoNova, true);
  assert.deepEqual(tipos(nova.efeitos, 'usarVersaoNova'), []);
  assert.deepEqual(tipos(rodar(nova.estado, { tipo: 'usarVersaoNova' }).efeitos, 'usarVersaoNova'), [
    { tipo: 'usarVersaoNova' },
  ]);

  // A reload or a copied address keeps the opponent; an address of before plays nobody.
  const recarregada = rodar(estadoInicial({ computador: 'ninguem' }), { tipo: 'abrir', fragmento: '#seeker/O/40' });
  assert.equal(recarregada.estado.computador, 'O');
  assert.deepEqual(recarregada.efeitos[0].jogadas, [4, 0]);
  assert.equal(rodar(estadoInicial(), { tipo: 'abrir', fragmento: '#seeker/304' }).estado.computador, 'ninguem');
  // The replayed moves are not yet the game: the computer waits for the last of them.
  let { estado, efeitos } = chegou('O', [4]);
  assert.deepEqual(enviadas(efeitos), []);
  assert.equal(tipos(efeitos, 'esperar').length, 1);

  const ruim = rodar(estadoInicial(), { tipo: 'abrir', fragmento: '#seeker/%00' + '4'.repeat(3000) });
  assert.equal(ruim.estado.programa, 'seeker');
  assert.deepEqual(ruim.estado.partida, []);
  assert.deepEqual(simples(ruim.estado.aviso), {
    chave: 'naoEJogo',
    valores: ['#seeker/%004444444444444…', { chave: 'parte', valores: ['U+0000' + '4'.repeat(23) + '…'] }],
  });
  ({ estado } = rodar(estado, { tipo: 'abrir', fragmento: '#seeker/O/4' })); // its own address: nothing
  assert.equal(estado.execucao, 1);
});

test('a vez do computador: o tabuleiro travado, um clique ignorado, uma so jogada mesmo se desligado e religado', function () {
  let { estado, efeitos } = chegou('O');
  ({ estado, efeitos } = rodar(estado, { tipo: 'casa', casa: 4 }));
  // A second click before the move is told back, or during the computer's pause: ignored.
  assert.deepEqual(enviadas(rodar(estado, { tipo: 'casa', casa: 1 }).efeitos), []);
  ({ estado, efeitos } = rodar(estado, jogo(1, [4], 4)));
  assert.equal(casaOferecida(estado, 1), false);
  assert.deepEqual(enviadas(rodar(estado, { tipo: 'casa', casa: 1 }).efeitos), []);
  const [pausa] = tipos(efeitos, 'esperar');
  assert.equal(pausa.ms, pausaDoComputador);
  // Switched off and on again during its pause: the first pause is spent, the second moves.
  const religado = rodar(estado, { tipo: 'computador', lado: 'ninguem' }, { tipo: 'computador', lado: 'O' });
  const [outra] = tipos(religado.efeitos, 'esperar');
  assert.deepEqual(enviadas(rodar(religado.estado, pausa.evento, outra.evento).efeitos), ['b']);
  // Its move told, the board is the person's again, and the game in the address.
  ({ estado, efeitos } = rodar(estado, pausa.evento, jogo(1, [4, 0], 0)));
  assert.equal(casaOferecida(estado, 1), true);
  assert.deepEqual(tipos(efeitos, 'endereco'), [{ tipo: 'endereco', fragmento: '#seeker/O/40' }]);
  // reader's b names the rule it played by: at #reader/O/4, cell 0 by rule 10678.
  let leitor = rodar(estadoInicial(), { tipo: 'abrir', fragmento: '#reader/O/4' }, jogo(1, []), jogo(1, [4], 4));
  const [vez] = tipos(leitor.efeitos, 'esperar');
  leitor = rodar(leitor.estado, vez.evento);
  assert.deepEqual(enviadas(leitor.efeitos), ['b']);
  assert.deepEqual(rodar(leitor.estado, jogo(1, [4, 0], 0)).estado.regraJogada, { casa: 0, chave: 10678 });
  // reader with no rule: it tells the same game, and is not asked again there.
  ({ estado } = rodar(estado, { tipo: 'casa', casa: 8 }, jogo(1, [4, 0, 8], 8)));
  const semRegra = rodar(estado, { tipo: 'vezDoComputador', execucao: 1, numero: estado.pedidos }, jogo(1, [4, 0, 8]));
  assert.equal(semRegra.estado.pensando, false);
  assert.deepEqual(tipos(semRegra.efeitos, 'esperar'), []);
});

test('o historico: ver uma posicao, seguir dela, andar pelas jogadas; o fim dito a quem joga', function () {
  let { estado } = chegou('ninguem', [4, 0, 8, 2]);
  ({ estado } = rodar(estado, { tipo: 'ver', vista: 2 }));
  assert.equal(posicaoMostrada(estado).casas, 'O...X....');
  assert.equal(posicaoMostrada(estado).ultima, 0);
  ({ estado } = rodar(estado, { tipo: 'passo', para: 'anterior' }));
  assert.equal(estado.vista, 1);
  assert.equal(rodar(estado, { tipo: 'passo', para: 'ultima' }).estado.vista, null);
  assert.equal(rodar(estado, { tipo: 'passo', para: 'proxima' }, { tipo: 'passo', para: 'proxima' }).estado.vista, 3);
  // Played on from an earlier position: the later moves are dropped.
  const seguida = rodar(estado, { tipo: 'casa', casa: 1 });
  assert.deepEqual(simples(seguida.efeitos[0]), {
    tipo: 'iniciar',
    execucao: 2,
    programa: 'seeker',
    jogadas: [4, 1],
    dicionario: null,
  });
  // Against the computer, a position where it is to move is played on from "Play on from here".
  ({ estado } = chegou('O', [4, 0, 8]));
  ({ estado } = rodar(estado, { tipo: 'ver', vista: 1 }));
  assert.equal(casaOferecida(estado, 2), false);
  assert.deepEqual(rodar(estado, { tipo: 'jogarDaqui' }).efeitos[0].jogadas, [4]);
  // The person to move in the game in play, the computer at the position shown: no cell is
  // offered there, and the computer plays nothing, there or in the game.
  ({ estado } = chegou('O', [4, 0]));
  const vista = rodar(estado, { tipo: 'ver', vista: 1 });
  assert.equal(casaOferecida(vista.estado, 2), false);
  assert.deepEqual([...tipos(vista.efeitos, 'esperar'), ...enviadas(vista.efeitos)], []);
  assert.equal(rodar(estado, { tipo: 'ver', vista: 2 }).estado.vista, null); // the last is the game
  // The keys send the focus through the state, which the draw follows: the board's arrows
  // move its Tab stop, the history's keys the move shown, a program's end the start again.
  const teclado = rodar(estado, { tipo: 'teclaNoTabuleiro', casa: 4, tecla: 'ArrowRight' }).estado;
  assert.deepEqual([teclado.foco, teclado.apontada, teclado.focoPedido.onde], [5, 5, 'casa']);
  const naLista = rodar(estado, { tipo: 'teclaNasJogadas', tecla: 'Home' }).estado;
  assert.deepEqual([naLista.vista, naLista.focoPedido.onde], [0, 'jogadas']);
  assert.equal(rodar(estado, { tipo: 'fim', execucao: 1, status: 0 }).estado.focoPedido.onde, 'deNovo');
  // A line button pressed twice hides the line again.
  assert.equal(rodar(estado, { tipo: 'alternarLinha', casa: 8 }).estado.apontada, 8);
  assert.equal(
    rodar(estado, { tipo: 'alternarLinha', casa: 8 }, { tipo: 'alternarLinha', casa: 8 }).estado.apontada,
    null,
  );
  // The cell the pointer rests on stays pointed at, whatever position is shown or played.
  assert.equal(
    rodar(estado, { tipo: 'apontar', casa: 8 }, { tipo: 'ver', vista: 1 }, { tipo: 'novoJogo' }).estado.apontada,
    8,
  );

  for (const [computador, jogadas, esperado] of [
    ['O', [0, 3, 1, 4, 2], 'voceVenceu'],
    ['X', [0, 3, 1, 4, 2], 'vocePerdeu'],
    ['O', [4, 0, 2, 6, 3, 5, 1, 7, 8], 'empateFinal'],
    ['ninguem', [0, 3, 1, 4, 6, 5], 'ladoVenceu'],
  ]) {
    ({ estado } = chegou(computador, jogadas));
    assert.equal(resultado(estado).chave, esperado, jogadas.join(''));
  }
  assert.deepEqual(posicaoMostrada(estado).linha, [3, 4, 5]);
});

test('um programa novo: nada do jogo anterior; o reader continua o jogo do seeker; so o ultimo escolhido roda', function () {
  let { estado } = chegou('ninguem', [4, 0]);
  ({ estado } = rodar(estado, { tipo: 'resposta', linha: 'O...X.... X - e e e - e e e e 1 - - 7 6 5 - 3 2 1 2' }));
  assert.notEqual(estado.resposta, null);
  // A late answer, for another position, is never taken.
  const tarde = rodar(estado, { tipo: 'casa', casa: 1 }, jogo(1, [4, 0, 1], 1), {
    tipo: 'resposta',
    linha: 'O...X.... X - e e e - e e e e 1 - - 7 6 5 - 3 2 1 2',
  });
  assert.equal(tarde.estado.resposta, null);
  const novo = rodar(estado, { tipo: 'novoJogo' }).estado;
  assert.equal(novo.resposta, null);
  // The replaced run's end, told late, locks nothing of the new one's.
  const tardio = rodar(novo, jogo(2, []), { tipo: 'fim', execucao: 1, status: 0 }).estado;
  assert.equal(tardio.rodando, 'rodando');
  assert.equal(casaOferecida(tardio, 4), true);
  assert.equal(posicaoMostrada(novo).casas, '.........');
  const leitor = rodar(
    estado,
    { tipo: 'escolherPrograma', programa: 'reader' },
    { tipo: 'escolherPrograma', programa: 'seeker' },
  );
  assert.deepEqual(
    leitor.efeitos
      .filter((e) => e.tipo === 'iniciar')
      .map((e) => [e.programa, e.jogadas, e.dicionario && e.dicionario.chave]),
    [
      ['reader', [4, 0], 'completo'],
      ['seeker', [4, 0], null],
    ],
  );
  assert.equal(rodar(leitor.estado, jogo(2, [])).estado.repeticao, 3); // reader's run: not heard
  // reader with "a file" chosen and none read starts nothing, and says why.
  const semArquivo = rodar(
    estado,
    { tipo: 'escolherDicionario', escolha: 'arquivo' },
    { tipo: 'escolherPrograma', programa: 'reader' },
  );
  assert.equal(semArquivo.estado.programa, 'seeker');
  assert.equal(semArquivo.estado.aviso.chave, 'semArquivo');
  // scribe's listing is offered to reader; a stopped scribe's output is not.
  ({ estado } = rodar(estado, { tipo: 'escolherPrograma', programa: 'scribe' }));
  const scribe = estado.execucao;
  ({ estado } = rodar(estado, jogo(scribe, [], -1, 'scribe')));
  // A b that records nothing (as after a game's end) records no side.
  assert.deepEqual(rodar(estado, { tipo: 'regras', execucao: scribe, quantas: 0 }).estado.lados, []);
  const saida = new TextEncoder().encode('10597 4\n');
  const parado = rodar(estado, { tipo: 'fim', execucao: scribe, status: null, saida });
  assert.equal(parado.estado.dicionario.listagem, null);
  const refusou = rodar(estado, { ...jogo(scribe, []), saida: new TextEncoder().encode('Jogada invalida.\n') });
  assert.equal(refusou.estado.dicionario.listagem, null);
  const listou = rodar(estado, { tipo: 'regras', execucao: scribe, quantas: 1 }, { ...jogo(scribe, []), saida });
  const { chave, lados, modelo } = listou.estado.dicionario.listagem;
  assert.deepEqual([chave, lados, modelo.ordem], ['listagem-1', ['X'], [10597]]);
  // Played from at once: reader starts with its bytes.
  const comListagem = rodar(listou.estado, { tipo: 'jogarComListagem' });
  assert.deepEqual(
    tipos(comListagem.efeitos, 'iniciar').map((e) => [e.programa, e.dicionario.chave, e.dicionario.modelo.bytes]),
    [['reader', 'listagem-1', saida]],
  );
});

test('o explorador: as linhas da resposta do ajudante, as que se mostram, o teclado na arvore', function () {
  const raiz = '......... X';
  let { estado } = chegou('ninguem');
  ({ estado } = rodar(estado, { tipo: 'explorar' }));
  const resposta = (caminho, filhos) =>
    `${raiz} a${caminho} 0 ${filhos[0][0]} 100 10 ` +
    filhos.map(([c, v, j]) => `${c}:${v}:${j}:1:${c === 2 ? 'c' : '-'}`).join(' ');
  // The root's answer asks for its rows one level ahead; a finished game's row asks nothing.
  const lida = rodar(estado, {
    tipo: 'resposta',
    linha: resposta('', [
      [0, 0, 5],
      [2, -3, 0],
      [4, 0, 7],
    ]),
  });
  assert.deepEqual(
    tipos(lida.efeitos, 'perguntar').map((e) => e.posicao),
    [raiz + ' a0', raiz + ' a4'],
  );
  assert.deepEqual(lerRamo(resposta('4', [[0, 0, 5]])).filhos, [
    { casa: 0, valor: 0, abaixo: 5, comAlfaBeta: 1, cortada: false },
  ]);
  ({ estado } = lida);
  let linhas = ramosVisiveis(estado.explorador);
  assert.deepEqual(
    linhas.map((l) => [l.caminho, l.nivel, l.tamanho, l.posicao, l.expansivel, l.aberto]),
    [
      ['', 1, 1, 1, true, true],
      ['0', 2, 3, 1, true, false],
      ['2', 2, 3, 2, false, false],
      ['4', 2, 3, 3, true, false],
    ],
  );
  // The tree's keys: down, into a row (opening it first), out of it, to the ends.
  ({ estado } = rodar(estado, { tipo: 'resposta', linha: resposta('4', [[0, 0, 5]]) }));
  const teclas = (...lista) => lista.reduce((e, tecla) => rodar(e, { tipo: 'teclaNaArvore', tecla }).estado, estado);
  assert.equal(teclas('End').explorador.foco, '4');
  assert.deepEqual(teclas('End', 'ArrowRight').explorador.abertos, ['', '4']);
  assert.equal(teclas('End', 'ArrowRight', 'ArrowRight').explorador.foco, '40');
  assert.equal(teclas('End', 'ArrowRight', 'ArrowRight', 'ArrowLeft').explorador.foco, '4');
  assert.deepEqual(teclas('End', 'ArrowRight', 'ArrowLeft').explorador.abertos, ['']);
  assert.equal(teclas('ArrowDown', 'ArrowDown', 'ArrowRight').explorador.foco, '2'); // a finished game
  assert.equal(teclas('ArrowDown', 'Home', 'ArrowLeft').explorador.abertos.length, 0);
  assert.equal(moverNaArvore(linhas, '', 'Tab'), null);
  // The explorer follows the board: a move made re-roots it, a game over closes it.
  linhas = ramosVisiveis(rodar(estado, { tipo: 'casa', casa: 4 }, jogo(1, [4], 4)).estado.explorador);
  assert.deepEqual(
    linhas.map((l) => l.caminho),
    [''],
  );
  const ganho = [0, 3, 1, 4, 2].map((casa, n, todas) => jogo(1, todas.slice(0, n + 1), casa));
  assert.equal(rodar(estado, ...ganho).estado.explorador, null);
  // Another order of moves: the open rows asked again in it, an answer in the old order
  // not taken, the step mode's alpha-beta asked again.
  const emOutra = rodar(estado, { tipo: 'ordem', ordem: 'melhor' });
  assert.deepEqual(
    tipos(emOutra.efeitos, 'perguntar').map((e) => e.posicao),
    [raiz + ' am', raiz + ' am0', raiz + ' am4'],
  );
  assert.deepEqual(
    rodar(emOutra.estado, { tipo: 'resposta', linha: resposta('', [[0, 0, 5]]) }).estado.explorador.ramos,
    {},
  );
  assert.deepEqual(
    Object.keys(
      rodar(emOutra.estado, { tipo: 'resposta', linha: resposta('', [[0, 0, 5]]).replace(' a ', ' am ') }).estado
        .explorador.ramos,
    ),
    [''],
  );
  // A row of another position is not taken for one of this tree's.
  const outra = rodar(estado, { tipo: 'resposta', linha: resposta('4', [[0, 0, 5]]).replace(raiz, '....X.... O') });
  assert.deepEqual(outra.estado.explorador.ramos, estado.explorador.ramos);
  // The step mode from five free cells; a trace of another position, or of the other search,
  // is not taken for its own.
  ({ estado } = chegou('ninguem', [4, 0, 8, 2]));
  ({ estado } = rodar(estado, { tipo: 'explorar' }));
  const passo = rodar(estado, { tipo: 'rastrear', alfaBeta: false });
  const [pedido] = tipos(passo.efeitos, 'perguntar');
  assert.equal(pedido.posicao, 'O.O.X...X X p');
  for (const alheio of ['OOX.XX... O p 1:3:8', 'O.O.X...X X q 1:1:0:-:+:-']) {
    assert.equal(rodar(passo.estado, { tipo: 'resposta', linha: alheio }).estado.rastro.eventos, null, alheio);
  }
  assert.notEqual(rodar(passo.estado, { tipo: 'resposta', linha: 'O.O.X...X X p 1:1:0' }).estado.rastro.eventos, null);
  // Stepping, the drawing opens the path to the node being searched, and asks for its rows.
  const linha = fs
    .readFileSync(
      new URL('../transcripts/why/perguntas_com_dicionario_e_linhas_que_nao_sao.out', import.meta.url),
      'utf8',
    )
    .split('\n')
    .find((l) => l.startsWith('XOX.O.... X p '));
  const aMeio = rodar(
    chegou('ninguem', [0, 1, 2, 4]).estado,
    { tipo: 'explorar' },
    { tipo: 'rastrear', alfaBeta: false },
    { tipo: 'resposta', linha },
    { tipo: 'avancar', sentido: 1 },
    { tipo: 'avancar', sentido: 1 },
  );
  assert.equal(marcasDoRastro(aMeio.estado.rastro.raiz, aMeio.estado.rastro.eventos, 2).atual, '35');
  assert.deepEqual(aMeio.estado.explorador.abertos, ['', '3']);
  assert.ok(tipos(aMeio.efeitos, 'perguntar').some((e) => e.posicao === 'XOX.O.... X a3'));
  const comOrdem = rodar(passo.estado, { tipo: 'rastrear', alfaBeta: true }, { tipo: 'ordem', ordem: 'centro' });
  assert.deepEqual(
    tipos(comOrdem.efeitos, 'perguntar')
      .map((e) => e.posicao)
      .filter((p) => / q/.test(p)),
    ['O.O.X...X X q', 'O.O.X...X X qc'],
  );
  assert.equal(
    rodar(chegou('ninguem', [4, 0, 8]).estado, { tipo: 'explorar' }, { tipo: 'rastrear', alfaBeta: false }).estado
      .rastro,
    null,
  );
});

test('o passo a passo: os eventos do rastro do ajudante, os niveis a cada passo, o fim', function () {
  // The helper's trace from O to move with four free cells (its transcript holds it).
  const linhas = fs
    .readFileSync(
      new URL('../transcripts/why/perguntas_com_dicionario_e_linhas_que_nao_sao.out', import.meta.url),
      'utf8',
    )
    .split('\n');
  const busca = lerRastro(linhas.find((l) => l.startsWith('OOX.XX... O p ')));
  const eventos = eventosDoRastro(busca);
  const tentar = eventos.filter((e) => e.tipo === 'tentar');
  assert.equal(tentar.length, busca.passos.length);
  assert.deepEqual(
    eventos.slice(0, 4).map((e) => [e.tipo, e.caminho]),
    [
      ['tentar', '3'],
      ['tentar', '36'],
      ['final', '36'],
      ['subir', '36'],
    ],
  );
  assert.deepEqual(eventos.at(-1), { tipo: 'escolher', caminho: '', valor: 8, profundidade: 1, menor: true });
  // Half way: the levels on the path, each with the move it tries and its best so far.
  const meio = situacaoDoRastro(busca.raiz, eventos, 8);
  assert.deepEqual(
    meio.niveis.map((n) => [n.profundidade, n.lado, n.tentando, n.melhor]),
    [
      [1, 'O', 3, null],
      [2, 'X', 7, 8],
      [3, 'O', 6, -7],
    ],
  );
  const fim = situacaoDoRastro(busca.raiz, eventos, eventos.length);
  assert.deepEqual([fim.tentadas, fim.niveis], [busca.passos.length, []]);
  // Alpha-beta: fewer moves, and each cut said where its level stops.
  const alfaBeta = lerRastro(linhas.find((l) => l.startsWith('OOX.XX... O q ')));
  const comCortes = eventosDoRastro(alfaBeta);
  assert.ok(alfaBeta.passos.length < busca.passos.length);
  assert.equal(comCortes.filter((e) => e.tipo === 'cortar').length, alfaBeta.passos.filter((p) => p.corta).length);
  assert.deepEqual(alfaBeta.passos[1], { nivel: 3, jogada: 6, valor: -7, alfa: 8, beta: -7, corta: true });
  assert.equal(alfaBeta.passos[0].beta, Infinity);
});

// A stand-in for the page's elements, enough for the board to draw on.
function elemento(id = '') {
  const atributos = new Map();
  return {
    id,
    dataset: {},
    hidden: false,
    textContent: '',
    filhos: [],
    getAttribute: (nome) => (atributos.has(nome) ? atributos.get(nome) : null),
    hasAttribute: (nome) => atributos.has(nome),
    setAttribute: (nome, valor) => atributos.set(nome, String(valor)),
    removeAttribute: (nome) => atributos.delete(nome),
    appendChild(filho) {
      this.filhos.push(filho);
    },
  };
}

function tabuleiro() {
  const casas = Array.from({ length: 9 }, () => elemento());
  const descricoes = Array.from({ length: 9 }, (_, casa) => elemento('depois-' + casa));
  const outros = new Map(
    [
      '.risco',
      '#linhas',
      '#continuacao',
      '#legenda',
      '#resultado',
      '#situacao',
      '#nota',
      '#regra-jogada',
      '#seguir-com-seeker',
    ].map((s) => [s, elemento()]),
  );
  const documento = {
    createElement: () => elemento(),
    querySelector: (seletor) => outros.get(seletor),
    querySelectorAll: (seletor) => (seletor === '[data-depois]' ? descricoes : casas),
  };
  const desenhar = criarTabuleiro(documento);
  const descritas = () =>
    casas.map((c) =>
      c.getAttribute('aria-describedby')
        ? descricoes[Number(c.getAttribute('aria-describedby').slice(7))].textContent
        : '',
    );
  return { desenhar, casas, outros, descritas, nomes: () => casas.map((c) => c.getAttribute('aria-label')) };
}

test('o tabuleiro desenhado: vereditos da resposta da posicao mostrada, uma so parada de Tab, a melhor linha no tabuleiro, as notas do reader', function () {
  const { desenhar, casas, outros, descritas, nomes } = tabuleiro();
  let { estado } = chegou('ninguem', [3, 0, 4, 1]);
  ({ estado } = rodar(estado, { tipo: 'porque', sim: true }, { tipo: 'focar', casa: 2 }));
  ({ estado } = rodar(estado, {
    tipo: 'resposta',
    linha: 'OO.XX.... X - - v2 - - v0 p1 p1 e 5 - - - 56 - - - 2 2 2765',
  }));
  desenhar(estado);
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
  assert.deepEqual(casas.map((c) => c.getAttribute('tabindex')).filter((t) => t === '0').length, 1);
  assert.equal(casas[2].getAttribute('tabindex'), '0');
  assert.equal(outros.get('#situacao').textContent, 'O played cell 1; X to move.');
  // The line of the cell pointed at, numbered on the board in turn.
  ({ estado } = rodar(estado, { tipo: 'apontar', casa: 8 }));
  desenhar(estado);
  assert.deepEqual(
    casas.map(
      (c) => c.getAttribute('data-passo') && c.getAttribute('data-passo') + c.getAttribute('data-lado-do-passo'),
    ),
    [null, null, '1O', null, null, '4X', '3O', '2X', null],
  );
  assert.equal(outros.get('#continuacao').textContent, 'X in cell 8: then O 2, X 7, O 6, X 5.');
  // A rule as good as the best is said nothing of; one on a taken cell, or none, is (the
  // page reads reader's dictionary); one not among the best too (the helper's answer).
  estado = { ...estado, programa: 'reader', rodando: 'rodando' };
  for (const [regra, nota, melhor = 8] of [
    ['8', ''],
    ['7', '', 6], // as good as the best, cell 6: both lose in 1
    ['2', 'The dictionary’s move, cell 2, is not among the best.'],
    ['3', 'The dictionary’s move, cell 3, is taken: reader’s b cannot play it.'],
    ['n', 'No rule for this position (key 10285): reader cannot move. Choose another dictionary, or seeker.'],
  ]) {
    const modelo = modeloDoDicionario(new TextEncoder().encode(regra === 'n' ? '' : '10285 ' + regra));
    const dicionarioDoReader = { chave: 'f', nome: { chave: 'oArquivo', valores: ['f'] }, modelo };
    desenhar({ ...estado, dicionarioDoReader, resposta: { ...estado.resposta, melhor, regra } });
    assert.equal(outros.get('#nota').textContent, nota, regra);
  }
  // Once the game is over: nothing offered, nothing described, no note, the line struck.
  ({ estado } = rodar(estado, { tipo: 'casa', casa: 5 }, jogo(1, [3, 0, 4, 1, 5], 5)));
  desenhar({ ...estado, resposta: { ...estado.resposta, regra: '3' } });
  assert.deepEqual(
    casas.map((c) => c.getAttribute('aria-disabled')),
    Array(9).fill('true'),
  );
  assert.deepEqual(descritas(), Array(9).fill(''));
  assert.equal(outros.get('#nota').textContent, '');
  assert.equal(outros.get('.risco').getAttribute('data-linha'), '345');
  assert.equal(outros.get('#resultado').textContent, 'X wins');
});

// The runner, with a worker whose program is programa (what velhaPrograma does with the
// page's module), its timers run by hand: the messages it posts, in order.
async function executar(programa) {
  let textoDoWorker = null;
  const criar = URL.createObjectURL;
  globalThis.velhaCodigoDosProgramas = { teste: '' };
  globalThis.Worker = class {
    postMessage() {}
    terminate() {}
  };
  URL.createObjectURL = (blob) => ((textoDoWorker = blob), 'blob:teste');
  try {
    executor.iniciar('teste', new Map(), {});
  } finally {
    URL.createObjectURL = criar;
  }
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
  return mensagens.map((m) =>
    m.tipo === 'saida'
      ? [m.descritor, new TextDecoder().decode(m.bytes)]
      : m.tipo === 'jogo'
        ? 'jogo ' + m.jogada
        : m.tipo,
  );
}

test('a saida de um programa vai em lotes, em ordem, a de erro a parte, toda antes do seu jogo ou do seu fim', async function () {
  const bytes = (texto) => new TextEncoder().encode(texto);
  const mensagens = await executar(function (modulo) {
    const { saida, jogo } = modulo.velha;
    saida(1, bytes('a\n'));
    saida(1, bytes('b\n'));
    saida(2, bytes('erro\n'));
    saida(1, bytes('c\n'));
    jogo('....X....', 'O', '-', 4);
    saida(1, bytes('d\n'));
    modulo.onExit(0);
  });
  assert.deepEqual(mensagens, [[1, 'a\nb\n'], [2, 'erro\n'], [1, 'c\n'], 'jogo 4', [1, 'd\n'], 'fim']);
});

test('o ajudante: parado enquanto carrega, nao comeca; uma resposta escrita em duas partes chega inteira', async function () {
  const scripts = [];
  const trabalhadores = [];
  globalThis.document = {
    createElement: () => ({ remove() {} }),
    body: { appendChild: (script) => scripts.push(script) },
  };
  globalThis.velhaCodigoDosProgramas = { why: '' };
  globalThis.Worker = class {
    constructor() {
      trabalhadores.push(this);
    }
    postMessage() {}
    terminate() {}
  };
  const ouvidos = [];
  const ajudante = criarAjudante((evento) => ouvidos.push(evento));
  const depois = () => new Promise((pronto) => setImmediate(pronto));
  ajudante.iniciar(new Map(), '');
  ajudante.parar();
  scripts[0].onload();
  await depois();
  assert.deepEqual([trabalhadores.length, ouvidos], [0, []]);
  ajudante.iniciar(new Map(), '');
  await depois();
  assert.deepEqual(ouvidos, [{ tipo: 'ajudantePronto' }]);
  const escrito = (texto) => ({ data: { tipo: 'saida', descritor: 1, bytes: new TextEncoder().encode(texto) } });
  trabalhadores[0].onmessage(escrito('......... X e'));
  trabalhadores[0].onmessage(escrito(' e\n'));
  assert.deepEqual(ouvidos.slice(1), [{ tipo: 'resposta', linha: '......... X e e' }]);
  ajudante.parar();
  delete globalThis.document;
});

test('um programa cujo script nao pode ser carregado e tentado de novo quando pedido de novo', async function () {
  const scripts = [];
  globalThis.document = {
    createElement: () => ({ remove() {} }),
    body: { appendChild: (script) => scripts.push(script) },
  };
  const primeira = executor.carregar('seeker');
  assert.equal(executor.carregar('seeker'), primeira); // one load at a time
  scripts[0].onerror();
  await assert.rejects(primeira);
  executor.carregar('seeker');
  assert.equal(scripts.length, 2);
  scripts[1].onload();
  assert.equal(scripts.map((s) => s.src).join(' '), 'seeker.js seeker.js');
  delete globalThis.document;
});
