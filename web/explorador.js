// The search explorer's pure parts: the helper's answer about a row of the tree of
// seeker's b (verdicts/arvore.h), the rows shown as the person opens them, and the moves
// of the keyboard in the tree (the ARIA tree pattern). Nothing here touches the page.
import { emTexto, outro } from './partida.js';

// The orders alpha-beta may try a level's moves in, as the helper's questions name them
// after a and q: seeker's (0 to 8), the centre, corners and edges, the best first.
export const ordens = { seeker: '', centro: 'c', melhor: 'm' };
const ordemDaLetra = (letra) => Object.keys(ordens).find((ordem) => ordens[ordem] === letra);

// "......... X a4 0 0 55504 2458 0:0:6811:831:- 1:-3:7063:715:c ...": the explored
// position, the order and the path to the row, the row's score, the move its level
// chooses, the moves the search plays from it and those alpha-beta plays; then each move
// tried there.
export function lerRamo(linha) {
  const partes = linha.split(' ');
  const pedido = /^a([cm]?)([0-8]*)$/.exec(partes[2] ?? '');
  if (partes.length < 7 || !pedido) return null;
  const filhos = partes.slice(7).map(function (parte) {
    const [casa, valor, abaixo, comAlfaBeta, cortada] = parte.split(':');
    return {
      casa: Number(casa),
      valor: Number(valor),
      abaixo: Number(abaixo),
      comAlfaBeta: Number(comAlfaBeta),
      cortada: cortada === 'c',
    };
  });
  return {
    raiz: partes[0] + ' ' + partes[1],
    ordem: ordemDaLetra(pedido[1]),
    caminho: pedido[2],
    valor: Number(partes[3]),
    escolhida: partes[4] === '-' ? null : Number(partes[4]),
    abaixo: Number(partes[5]),
    comAlfaBeta: Number(partes[6]),
    filhos,
  };
}

// The explorer opened on a position ({ casas, vez }), alpha-beta trying moves in ordem: its
// root row open, asked for.
export const novoExplorador = (posicao, ordem = 'seeker') => ({
  raiz: emTexto(posicao),
  ordem,
  ramos: {},
  abertos: [''],
  pedidos: [],
  foco: '',
});

// The position a path of cells leads to from the explored one.
export function posicaoDoRamo(raiz, caminho) {
  const [casas, vez] = raiz.split(' ');
  const celulas = casas.split('');
  let lado = vez;
  for (const casa of caminho) {
    celulas[Number(casa)] = lado;
    lado = outro(lado);
  }
  return { casas: celulas.join(''), vez: lado };
}

// The rows shown, in order: the root, then under each open row the moves tried there, as
// its answer gives them. Each: { caminho, nivel (1 the root), tamanho and posicao among
// its siblings, dados (the row's numbers as its parent's answer gives them), escolhida
// (its level's choice), tambemBoa (as good as it), expansivel, aberto }.
export function ramosVisiveis(explorador) {
  const raiz = explorador.ramos[''];
  const linhas = [
    {
      caminho: '',
      nivel: 1,
      tamanho: 1,
      posicao: 1,
      dados: raiz ?? null,
      expansivel: !raiz || raiz.abaixo > 0,
      aberto: explorador.abertos.includes(''),
    },
  ];
  function abaixo(caminho, nivel) {
    const ramo = explorador.ramos[caminho];
    if (!ramo || !explorador.abertos.includes(caminho)) return;
    const valorEscolhido = ramo.filhos.find((f) => f.casa === ramo.escolhida)?.valor;
    ramo.filhos.forEach(function (filho, n) {
      const seu = caminho + filho.casa;
      linhas.push({
        caminho: seu,
        nivel: nivel + 1,
        tamanho: ramo.filhos.length,
        posicao: n + 1,
        dados: filho,
        escolhida: filho.casa === ramo.escolhida,
        tambemBoa: filho.casa !== ramo.escolhida && filho.valor === valorEscolhido,
        expansivel: filho.abaixo > 0,
        aberto: explorador.abertos.includes(seu),
      });
      abaixo(seu, nivel + 1);
    });
  }
  abaixo('', 1);
  return linhas;
}

// A key in the tree, from the row that has the focus: { foco, abrir, fechar } (a path
// each, or null), or null for a key the tree does not take.
export function moverNaArvore(linhas, foco, tecla) {
  const i = Math.max(
    0,
    linhas.findIndex((linha) => linha.caminho === foco),
  );
  const linha = linhas[i];
  const ir = (alvo) => ({ foco: linhas[alvo].caminho, abrir: null, fechar: null });
  switch (tecla) {
    case 'ArrowDown':
      return ir(Math.min(i + 1, linhas.length - 1));
    case 'ArrowUp':
      return ir(Math.max(i - 1, 0));
    case 'Home':
      return ir(0);
    case 'End':
      return ir(linhas.length - 1);
    case 'ArrowRight':
      if (!linha.expansivel) return ir(i);
      if (!linha.aberto) return { foco: linha.caminho, abrir: linha.caminho, fechar: null };
      return ir(i + 1 < linhas.length && linhas[i + 1].nivel > linha.nivel ? i + 1 : i);
    case 'ArrowLeft':
      if (linha.aberto && linha.expansivel) return { foco: linha.caminho, abrir: null, fechar: linha.caminho };
      return { foco: linha.caminho.slice(0, -1), abrir: null, fechar: null };
    default:
      return null;
  }
}
