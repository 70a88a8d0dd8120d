// The update's part for the search explorer and its step mode (atualizar.js is the rest):
// the rows asked of the helper and taken from its answers, the tree's keys, the steps.
// Pure, as the rest of the update.
import { posicaoMostrada } from './estado.js';
import { lerRamo, moverNaArvore, novoExplorador, ordens, ramosVisiveis } from './explorador.js';
import { emTexto } from './partida.js';
import { eventosDoRastro, lerRastro, marcasDoRastro, podeRastrear } from './passos.js';

// An update's result: the new state and the effects to carry out.
export const so = (estado, ...efeitos) => ({ estado, efeitos });

// Sends the focus, once, to onde: 'casa' (the board's Tab stop), 'arvore' (the tree's
// row in focus), 'jogadas' (the move shown) or 'deNovo'; the draw moves it there.
export const pedirFoco = (estado, onde) => ({
  ...estado,
  focoPedido: { onde, numero: (estado.focoPedido?.numero ?? 0) + 1 },
});

// Asks the helper for the explorer's rows at caminhos, those not yet asked for.
function pedirRamos(estado, caminhos) {
  const x = estado.explorador;
  const novos = caminhos.filter((caminho) => !x.pedidos.includes(caminho));
  const efeitos = novos.map((caminho) => ({ tipo: 'perguntar', posicao: x.raiz + ' a' + ordens[x.ordem] + caminho }));
  return so({ ...estado, explorador: { ...x, pedidos: [...x.pedidos, ...novos] } }, ...efeitos);
}

// The rows under an open row are asked for one level ahead, so that opening one of them
// shows its moves at once.
const filhosDe = (ramo) => ramo.filhos.filter((filho) => filho.abaixo > 0).map((filho) => ramo.caminho + filho.casa);

// One path is open at a time, drawn from the root down: opening a row closes its siblings'
// rows, closing one closes all below it.
function abrirRamo(estado, caminho, aberto) {
  const x = estado.explorador;
  const prefixos = Array.from({ length: caminho.length + 1 }, (_, n) => caminho.slice(0, n));
  const abertos = aberto ? prefixos : x.abertos.filter((c) => !c.startsWith(caminho));
  const novo = { ...estado, explorador: { ...x, abertos } };
  return aberto && x.ramos[caminho] ? pedirRamos(novo, filhosDe(x.ramos[caminho])) : so(novo);
}

// The step mode plays on by itself, a step each intervalo, while tocando.
function tocar(estado, sim) {
  const r = estado.rastro;
  if (!r || !r.eventos) return so(estado);
  const doInicio = sim && r.indice >= r.eventos.length;
  const numero = r.numero + 1;
  const rastro = { ...r, tocando: sim, numero, indice: doInicio ? 0 : r.indice };
  const efeitos = sim ? [{ tipo: 'esperar', ms: r.intervalo, evento: { tipo: 'tique', numero } }] : [];
  return so({ ...estado, rastro }, ...efeitos);
}

// The step mode's question: the search's steps, or alpha-beta's in its order.
const perguntaDoRastro = (r) => r.raiz + (r.alfaBeta ? ' q' + ordens[r.ordem] : ' p');

// The helper's answer, when it is the explorer's or the step mode's: the new state, or
// null for an answer of another kind.
export function respostaDaBusca(e, linha) {
  const rastro = lerRastro(linha);
  if (rastro) {
    const r = e.rastro;
    if (!r || r.raiz !== rastro.raiz || perguntaDoRastro(r) !== rastro.raiz + ' ' + rastro.pergunta) return so(e);
    return so({ ...e, rastro: { ...r, eventos: eventosDoRastro(rastro) } });
  }
  const ramo = lerRamo(linha);
  if (ramo) {
    const x = e.explorador;
    if (!x || ramo.raiz !== x.raiz || ramo.ordem !== x.ordem) return so(e);
    const novo = { ...e, explorador: { ...x, ramos: { ...x.ramos, [ramo.caminho]: ramo } } };
    return x.abertos.includes(ramo.caminho) ? pedirRamos(novo, filhosDe(ramo)) : so(novo);
  }
  return null;
}

// What a helper just started is asked again: the explorer's rows and the steps not yet
// answered.
export function perguntasDaBusca(e) {
  const x = e.explorador;
  const faltam = x
    ? x.pedidos.filter((caminho) => !x.ramos[caminho]).map((caminho) => x.raiz + ' a' + ordens[x.ordem] + caminho)
    : [];
  return e.rastro && !e.rastro.eventos ? [...faltam, perguntaDoRastro(e.rastro)] : faltam;
}

// The drawing follows the step mode: the path to the node being searched is open, its
// rows asked for.
export function seguirORastro(estado) {
  const r = estado.rastro;
  const x = estado.explorador;
  if (!r || !r.eventos || !x) return so(estado);
  const { atual } = marcasDoRastro(r.raiz, r.eventos, r.indice);
  const abertos = Array.from({ length: atual.length }, (_, n) => atual.slice(0, n));
  if (abertos.length === 0) abertos.push('');
  if (JSON.stringify(abertos) === JSON.stringify(x.abertos)) return so(estado);
  return pedirRamos({ ...estado, explorador: { ...x, abertos } }, abertos);
}

// The explorer and its step mode follow the position on the board.
export function seguirOTabuleiro(estado) {
  const posicao = posicaoMostrada(estado);
  const aqui = posicao ? emTexto(posicao) : null;
  // The step mode is of the position it was started on, in an open explorer.
  const rastro = estado.rastro && estado.explorador && estado.rastro.raiz === aqui ? estado.rastro : null;
  const e = { ...estado, rastro };
  // The explorer follows the position on the board; a finished game has no search.
  if (!e.explorador || e.explorador.raiz === aqui) return so(e);
  if (!posicao || posicao.fim !== '-') return so({ ...e, explorador: null, rastro: null });
  return pedirRamos({ ...e, explorador: novoExplorador(posicao, e.ordem) }, ['']);
}

export const manipuladoresDaBusca = {
  explorar(e) {
    if (e.explorador) return so({ ...e, explorador: null });
    const posicao = posicaoMostrada(e);
    if (!posicao || posicao.fim !== '-') return so(e);
    return pedirRamos({ ...e, explorador: novoExplorador(posicao, e.ordem) }, ['']);
  },
  // Another order of moves for alpha-beta: the open rows asked for again, and alpha-beta's
  // steps, the search's own figures unchanged.
  ordem(e, { ordem }) {
    if (!(ordem in ordens) || ordem === e.ordem) return so(e);
    const novo = { ...e, ordem };
    const x = e.explorador;
    if (!x) return so(novo);
    const r =
      e.rastro && e.rastro.alfaBeta ? { ...e.rastro, ordem, eventos: null, indice: 0, tocando: false } : e.rastro;
    const pedidos = x.abertos.flatMap((caminho) => [caminho, ...(x.ramos[caminho] ? filhosDe(x.ramos[caminho]) : [])]);
    const reaberto = pedirRamos({ ...novo, rastro: r, explorador: { ...x, ordem, ramos: {}, pedidos: [] } }, [
      ...new Set(pedidos),
    ]);
    return r && r !== e.rastro
      ? so(reaberto.estado, ...reaberto.efeitos, { tipo: 'perguntar', posicao: perguntaDoRastro(r) })
      : reaberto;
  },
  // Step by step, from the position shown, with few enough free cells (podeRastrear): the
  // exhaustive search, or alpha-beta; asked again for the other, closed for the same.
  rastrear(e, { alfaBeta }) {
    if (e.rastro && e.rastro.alfaBeta === alfaBeta) return so({ ...e, rastro: null });
    const posicao = posicaoMostrada(e);
    if (!podeRastrear(posicao)) return so(e);
    const raiz = emTexto(posicao);
    const intervalo = e.rastro ? e.rastro.intervalo : 800;
    const rastro = { raiz, alfaBeta, ordem: e.ordem, eventos: null, indice: 0, tocando: false, intervalo, numero: 0 };
    return so({ ...e, rastro }, { tipo: 'perguntar', posicao: perguntaDoRastro(rastro) });
  },
  avancar(e, { sentido }) {
    const r = e.rastro;
    if (!r || !r.eventos) return so(e);
    const indice = Math.min(Math.max(r.indice + sentido, 0), r.eventos.length);
    return so({ ...e, rastro: { ...r, indice, tocando: false, numero: r.numero + 1 } });
  },
  tocar: (e) => tocar(e, !(e.rastro && e.rastro.tocando)),
  tique(e, { numero }) {
    const r = e.rastro;
    if (!r || !r.eventos || !r.tocando || numero !== r.numero) return so(e);
    const indice = r.indice + 1;
    const andou = { ...e, rastro: { ...r, indice } };
    return indice >= r.eventos.length
      ? so({ ...andou, rastro: { ...andou.rastro, tocando: false } })
      : tocar(andou, true);
  },
  velocidade: (e, { ms }) => (e.rastro ? so({ ...e, rastro: { ...e.rastro, intervalo: ms } }) : so(e)),
  ramo: (e, { caminho }) => (e.explorador ? abrirRamo(e, caminho, !e.explorador.abertos.includes(caminho)) : so(e)),
  focarRamo: (e, { caminho }) => (e.explorador ? so({ ...e, explorador: { ...e.explorador, foco: caminho } }) : so(e)),
  teclaNaArvore(e, { tecla }) {
    if (!e.explorador) return so(e);
    const movida = moverNaArvore(ramosVisiveis(e.explorador), e.explorador.foco, tecla);
    if (!movida) return so(e);
    const focado = pedirFoco({ ...e, explorador: { ...e.explorador, foco: movida.foco } }, 'arvore');
    if (movida.abrir !== null) return abrirRamo(focado, movida.abrir, true);
    if (movida.fechar !== null) return abrirRamo(focado, movida.fechar, false);
    return so(focado);
  },
};
