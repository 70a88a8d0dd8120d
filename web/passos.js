// The step mode's pure parts: the helper's trace of a search (verdicts/arvore.h), each
// candidate as the search scored it, turned into the events a learner steps through (a
// move tried, a finished game scored, a score brought up into its level, a cut, a level's
// choice returned), and the levels of the search as they stand after any of them.
import { outro } from './partida.js';

// At most this many free cells: the helper traces no larger search (325 moves).
export const livresParaRastrear = 5;

// Whether the search from posicao ({ casas, fim }, or null) can be stepped through.
export const podeRastrear = (posicao) =>
  posicao !== null && posicao.fim === '-' && posicao.casas.split('.').length - 1 <= livresParaRastrear;

// "OOX.XX... O q 2:6:8:8:+:- ...": the position, whether alpha-beta's, and its steps.
export function lerRastro(linha) {
  const partes = linha.split(' ');
  if (partes.length < 3 || !/^(p|q[cm]?)$/.test(partes[2])) return null;
  const limite = (texto) => (texto === '-' ? -Infinity : texto === '+' ? Infinity : Number(texto));
  const passos = partes.slice(3).map(function (parte) {
    const [nivel, jogada, valor, alfa, beta, corta] = parte.split(':');
    return {
      nivel: Number(nivel),
      jogada: Number(jogada),
      valor: Number(valor),
      alfa: alfa === undefined ? null : limite(alfa),
      beta: beta === undefined ? null : limite(beta),
      corta: corta === 'c',
    };
  });
  return { raiz: partes[0] + ' ' + partes[1], alfaBeta: partes[2] !== 'p', pergunta: partes[2], passos };
}

// The events, in order, from the steps (each a candidate scored once all below it was).
// Each: { tipo, caminho (the cells from the position), valor, melhor (the level's best so
// far), alfa, beta, corta }.
export function eventosDoRastro(rastro) {
  // The tree, rebuilt: a step's children are the steps one level deeper scored since the
  // last step of its own level.
  const abertos = [[]];
  for (const passo of rastro.passos) {
    while (abertos.length <= passo.nivel) abertos.push([]);
    const filhos = abertos[passo.nivel + 1] ?? [];
    abertos[passo.nivel + 1] = [];
    abertos[passo.nivel].push({ ...passo, filhos });
  }
  const eventos = [];
  function nivel(candidatos, caminho, profundidade) {
    // The side to move at the explored position picks the lowest score, the other the highest.
    const menor = profundidade % 2 === 1;
    let melhor = null;
    for (const candidato of candidatos) {
      const seu = caminho + candidato.jogada;
      eventos.push({ tipo: 'tentar', caminho: seu, profundidade });
      if (candidato.filhos.length === 0)
        eventos.push({ tipo: 'final', caminho: seu, valor: candidato.valor, profundidade });
      else nivel(candidato.filhos, seu, profundidade + 1);
      if (melhor === null || (menor ? candidato.valor < melhor : candidato.valor > melhor)) melhor = candidato.valor;
      eventos.push({
        tipo: 'subir',
        caminho: seu,
        valor: candidato.valor,
        melhor,
        alfa: candidato.alfa,
        beta: candidato.beta,
        profundidade,
      });
      if (candidato.corta)
        eventos.push({ tipo: 'cortar', caminho: seu, alfa: candidato.alfa, beta: candidato.beta, menor, profundidade });
    }
    eventos.push({ tipo: 'escolher', caminho, valor: melhor, profundidade, menor });
  }
  nivel(abertos[1] ?? [], '', 1);
  return eventos;
}

// The search as it stands after the events up to indice (excluded): the moves tried so
// far, and each level on the path, from the explored position down: { profundidade, lado
// (who picks there), menor (whether the lowest), tentando (the cell), melhor, alfa, beta }.
export function situacaoDoRastro(raiz, eventos, indice) {
  const vez = raiz.split(' ')[1];
  let tentadas = 0;
  let niveis = [];
  const nivelDe = (profundidade) => ({
    profundidade,
    lado: profundidade % 2 === 1 ? vez : outro(vez),
    menor: profundidade % 2 === 1,
    tentando: null,
    melhor: null,
    alfa: -Infinity,
    beta: Infinity,
  });
  for (const evento of eventos.slice(0, indice)) {
    const { profundidade } = evento;
    if (evento.tipo === 'tentar') {
      ++tentadas;
      niveis = niveis.slice(0, profundidade);
      if (niveis.length < profundidade) {
        // A new level starts with its parent's alfa and beta.
        const pai = niveis[niveis.length - 1];
        niveis.push({ ...nivelDe(profundidade), alfa: pai ? pai.alfa : -Infinity, beta: pai ? pai.beta : Infinity });
      }
      niveis[profundidade - 1] = { ...niveis[profundidade - 1], tentando: Number(evento.caminho.slice(-1)) };
    } else if (evento.tipo === 'subir') {
      niveis = niveis.slice(0, profundidade);
      const atual = niveis[profundidade - 1];
      niveis[profundidade - 1] = {
        ...atual,
        melhor: evento.melhor,
        alfa: evento.alfa ?? atual.alfa,
        beta: evento.beta ?? atual.beta,
      };
    } else if (evento.tipo === 'escolher') {
      niveis = niveis.slice(0, profundidade - 1);
    }
  }
  return { tentadas, niveis, ultimo: indice > 0 ? eventos[indice - 1] : null };
}

// What the steps up to indice (excluded) tell of the tree's nodes, by path: the node being
// searched (the moves tried on the path; '' the position itself), the scores come up so
// far, the moves tried, and the levels ended (chosen or cut), whose untried moves are cut.
export function marcasDoRastro(raiz, eventos, indice) {
  const { niveis } = situacaoDoRastro(raiz, eventos, indice);
  const atual = niveis
    .map((nivel) => nivel.tentando)
    .filter((casa) => casa !== null)
    .join('');
  const valores = new Map();
  const tentados = new Set();
  const encerrados = new Set();
  for (const evento of eventos.slice(0, indice)) {
    if (evento.tipo === 'tentar') tentados.add(evento.caminho);
    else if (evento.tipo === 'final' || evento.tipo === 'subir') valores.set(evento.caminho, evento.valor);
    else if (evento.tipo === 'cortar') encerrados.add(evento.caminho.slice(0, -1));
    else if (evento.tipo === 'escolher') {
      encerrados.add(evento.caminho);
      valores.set(evento.caminho, evento.valor);
    }
  }
  return { atual, niveis, valores, tentados, encerrados };
}
