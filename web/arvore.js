// Draws the search explorer from the state: the tree of seeker's b from the position on
// the board, as the ARIA tree pattern has it (one row in the Tab order, aria-level,
// aria-setsize, aria-posinset, aria-expanded), each row with its move, its score and what
// the score means, the moves searched below it and those alpha-beta would play, whether
// its level chooses it or alpha-beta cuts it, and its position, small.
import { ramosVisiveis, posicaoDoRamo } from './explorador.js';
import { lancesDoVencedor, outro } from './partida.js';
import { escrever, miniatura } from './elementos.js';
import { comSinal, deX, texto } from './textos.js';

// A score of seeker's search, from the explored position's side to move, who minimises: 0
// a draw, and a win made by the move at depth d (the root's own moves at depth 1) scores
// d - 10 for that side and 10 - d for the other (search/placar.h).
const baseDaBusca = 10;

// How the game ends from a row, in the page's one count (partida.js's lancesDoVencedor): the
// winning move's depth is read off seeker's score, which counts down from baseDaBusca.
function fimDoRamo(valor, caminho, jogou, lado, t) {
  if (valor === 0) return t('empate');
  const vencedor = deX(valor, lado) > 0 ? 'X' : 'O';
  const lances = lancesDoVencedor(Math.max(caminho.length, 1), baseDaBusca - Math.abs(valor));
  // The row's own move is the winning one: as Show why says of it, "wins now".
  const agora = lances === 1 && caminho !== '' && jogou === vencedor;
  return agora ? t('ladoVenceAgora', vencedor) : t('ladoVenceEm', vencedor, lances);
}

export function criarArvore(documento) {
  const $ = (seletor) => documento.querySelector(seletor);
  const arvore = $('#arvore');
  let desenhada = '';

  return function desenhar(estado) {
    const x = estado.explorador;
    $('#explorador').hidden = x === null;
    $('#explorar').setAttribute('aria-expanded', String(x !== null));
    if (!x) {
      desenhada = '';
      arvore.replaceChildren();
      return;
    }
    const t = (chave, ...valores) => texto(estado.idioma, chave, ...valores);
    const numero = new Intl.NumberFormat(estado.idioma === 'pt' ? 'pt-BR' : 'en');
    const lado = x.raiz.split(' ')[1];
    escrever($('#arvore-legenda'), t('arvoreLegenda'));
    $('#ordem').value = estado.ordem;
    const linhas = ramosVisiveis(x);
    // Rebuilt only when a row changes: a focus that moves (a click's own, first) keeps the
    // rows, so that the click lands on the row it began on.
    const chave = estado.idioma + JSON.stringify(linhas);
    if (chave === desenhada) {
      for (const item of arvore.children) item.tabIndex = item.dataset.caminho === x.foco ? 0 : -1;
      return;
    }
    desenhada = chave;
    const tinhaFoco = arvore.contains(documento.activeElement);
    const itens = linhas.map(function (linha) {
      const item = documento.createElement('li');
      item.setAttribute('role', 'treeitem');
      item.setAttribute('aria-level', String(linha.nivel));
      item.setAttribute('aria-setsize', String(linha.tamanho));
      item.setAttribute('aria-posinset', String(linha.posicao));
      if (linha.expansivel) item.setAttribute('aria-expanded', String(linha.aberto));
      item.dataset.caminho = linha.caminho;
      item.tabIndex = linha.caminho === x.foco ? 0 : -1;
      item.style.setProperty('--nivel', String(linha.nivel - 1));
      const posicao = posicaoDoRamo(x.raiz, linha.caminho);
      // The move, and the side whose choice it is among its siblings (the root's: the side
      // to move's): X picks the highest score, O the lowest, the scores being X's.
      const jogou = linha.caminho === '' ? lado : outro(posicao.vez);
      const nome = linha.caminho === '' ? t('posicaoRaiz') : jogou + ' ' + linha.caminho.slice(-1);
      const quem = t(jogou === 'X' ? 'escolheMaior' : 'escolheMenor', jogou);
      const partes = [];
      const marcas = [];
      if (linha.dados) {
        const { valor, abaixo, comAlfaBeta } = linha.dados;
        partes.push(
          t('valorNome', comSinal(deX(valor, lado))),
          t('buscadas', numero.format(abaixo)),
          t('comAlfaBeta', numero.format(comAlfaBeta)),
          quem,
          fimDoRamo(valor, linha.caminho, jogou, lado, t),
        );
        const escolhida = linha.escolha !== null && Number(linha.caminho.slice(-1)) === linha.escolha;
        if (!escolhida && linha.caminho !== '' && valor === linha.valorEscolhido) {
          partes.push(t('tambemBoa'));
          marcas.push('=');
        }
        if (linha.dados.cortada) {
          partes.push(t('cortada'));
          marcas.push('✂');
        }
        if (escolhida) {
          partes.push(t('escolhida'));
          marcas.push('★');
        }
      } else {
        partes.push(t('buscando'));
      }
      // Its name is its text: the marks, the arrow and the small board are for the eye.
      const seta = documento.createElement('span');
      seta.className = 'seta';
      seta.textContent = linha.expansivel ? (linha.aberto ? '▾' : '▸') : '';
      const sinais = documento.createElement('span');
      sinais.className = 'sinais';
      sinais.textContent = marcas.join(' ');
      for (const oculto of [seta, sinais]) oculto.setAttribute('aria-hidden', 'true');
      const jogada = documento.createElement('b');
      jogada.textContent = nome;
      const dito = documento.createElement('span');
      dito.append(jogada, ': ' + partes.join(', '));
      item.append(seta, miniatura(documento, posicao.casas), sinais, dito);
      return item;
    });
    arvore.replaceChildren(...itens);
    if (tinhaFoco) arvore.querySelector('[tabindex="0"]')?.focus();
  };
}
