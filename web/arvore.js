// Draws the search explorer from the state: the tree of seeker's b from the position on
// the board, as the ARIA tree pattern has it (one row in the Tab order, aria-level,
// aria-setsize, aria-posinset, aria-expanded), each row with its move, its score and what
// the score means, the moves searched below it and those alpha-beta would play, whether
// its level chooses it or alpha-beta cuts it, and its position, small.
import { ramosVisiveis, posicaoDoRamo } from './explorador.js';
import { marcasDoRastro } from './passos.js';
import { lancesDoVencedor, outro } from './partida.js';
import { escrever, fixos, miniatura } from './elementos.js';
import { comSinal, deX, limitesDeX, numeros, texto } from './textos.js';

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

// The drawing's grid: nine columns, a move each; each level of the tree three rows: its
// label, the lines joining it to the row above, its moves. The root stands in the middle.
const colunas = 9;
const colunaDaRaiz = 5;
const linhaDoNivel = (nivel) => 3 * nivel;

export function criarArvore(documento) {
  const { $ } = fixos(documento);
  const arvore = $('#arvore');
  const ligacoes = $('#arvore-ligacoes');
  let desenhada = '';

  // A piece of the drawing that is only for the eye, placed on the grid.
  function peca(classe, linha, coluna, ate = coluna, texto = '') {
    const elemento = documento.createElement('div');
    elemento.className = classe;
    elemento.style.gridRow = String(linha);
    elemento.style.gridColumn = `${coluna} / ${ate + 1}`;
    if (ate > coluna) elemento.style.setProperty('--meia', `calc(100% / ${2 * (ate - coluna + 1)})`);
    elemento.textContent = texto;
    return elemento;
  }

  return function desenhar(estado) {
    const x = estado.explorador;
    $('#explorador').hidden = x === null;
    $('#explorar').setAttribute('aria-expanded', String(x !== null));
    if (!x) {
      desenhada = '';
      arvore.replaceChildren();
      ligacoes.replaceChildren();
      escrever($('#arvore-detalhe'), '');
      return;
    }
    const t = (chave, ...valores) => texto(estado.idioma, chave, ...valores);
    const numero = numeros(estado.idioma);
    const lado = x.raiz.split(' ')[1];
    escrever($('#arvore-legenda'), t('arvoreLegenda'));
    $('#ordem').value = estado.ordem;
    const linhas = ramosVisiveis(x);
    const coluna = (linha) => (linha.nivel === 1 ? colunaDaRaiz : linha.posicao);
    // Each row's name, in words: today's form, and the focused one's in the detail line.
    const nomes = new Map(linhas.map((linha) => [linha.caminho, nomeDoRamo(linha, x, lado, t, numero)]));
    escrever($('#arvore-detalhe'), nomes.get(x.foco) ?? nomes.get(''));
    // The step mode, when on, in the drawing: the node being searched marked current, the
    // scores as they come up, the cuts as they are made, alpha and beta on the path.
    const r = estado.rastro && estado.rastro.eventos ? estado.rastro : null;
    const passo = r ? marcasDoRastro(r.raiz, r.eventos, r.indice) : null;
    // Rebuilt only when a row changes: a focus that moves (a click's own, first) keeps the
    // rows, so that the click lands on the row it began on.
    const chave = estado.idioma + JSON.stringify(linhas) + (r ? `${r.alfaBeta}:${r.indice}` : '');
    if (chave === desenhada) {
      for (const item of arvore.children) item.tabIndex = item.dataset.caminho === x.foco ? 0 : -1;
      return;
    }
    desenhada = chave;
    const niveis = Math.max(...linhas.map((linha) => linha.nivel));
    arvore.parentElement.classList.toggle('com-limites', Boolean(passo && r.alfaBeta));
    for (const desenho of [arvore, ligacoes]) {
      desenho.style.gridTemplateRows = 'repeat(' + niveis + ', var(--rotulo) var(--ligacao) var(--no))';
    }
    const itens = linhas.map(function (linha) {
      const item = documento.createElement('li');
      item.setAttribute('role', 'treeitem');
      item.setAttribute('aria-level', String(linha.nivel));
      item.setAttribute('aria-setsize', String(linha.tamanho));
      item.setAttribute('aria-posinset', String(linha.posicao));
      if (linha.expansivel) item.setAttribute('aria-expanded', String(linha.aberto));
      item.dataset.caminho = linha.caminho;
      item.tabIndex = linha.caminho === x.foco ? 0 : -1;
      item.style.gridRow = String(linhaDoNivel(linha.nivel));
      item.style.gridColumn = String(coluna(linha));
      const posicao = posicaoDoRamo(x.raiz, linha.caminho);
      const jogou = linha.caminho === '' ? lado : outro(posicao.vez);
      const marcas = [];
      let valor = '…';
      let cortado = Boolean(linha.dados && linha.dados.cortada);
      let escolhido = Boolean(linha.escolhida);
      if (passo) {
        // Only what the steps so far have shown.
        const encerrado = passo.encerrados.has(linha.caminho.slice(0, -1)) && linha.caminho !== '';
        cortado = encerrado && !passo.tentados.has(linha.caminho);
        escolhido = escolhido && encerrado;
        valor = passo.valores.has(linha.caminho) ? comSinal(deX(passo.valores.get(linha.caminho), lado)) : '·';
        if (escolhido) marcas.push('★');
        if (cortado) marcas.push('✂');
        if (linha.caminho === passo.atual) item.setAttribute('aria-current', 'step');
      } else if (linha.dados) {
        valor = comSinal(deX(linha.dados.valor, lado));
        if (linha.escolhida) marcas.push('★');
        else if (linha.tambemBoa) marcas.push('=');
        if (cortado) marcas.push('✂');
      }
      item.classList.toggle('aberto', linha.aberto);
      item.classList.toggle('escolhido', escolhido);
      item.classList.toggle('cortado', cortado);
      // Its name is its words; the marks, the small board, the move and the score are for
      // the eye.
      const sinais = documento.createElement('span');
      sinais.className = 'sinais';
      sinais.textContent = marcas.join('');
      const lance = documento.createElement('b');
      lance.textContent = linha.caminho === '' ? t('posicaoCurta') : jogou + ' ' + linha.caminho.slice(-1);
      const nota = documento.createElement('span');
      nota.className = 'nota-do-no';
      nota.textContent = valor;
      for (const oculto of [sinais, lance, nota]) oculto.setAttribute('aria-hidden', 'true');
      const dito = documento.createElement('span');
      dito.className = 'so-para-leitores';
      dito.textContent = nomes.get(linha.caminho);
      item.append(sinais, miniatura(documento, posicao.casas), lance, nota, dito);
      // On the path being searched, with alpha-beta, its level's alpha and beta.
      const nivelNoCaminho = passo && r.alfaBeta && passo.atual.startsWith(linha.caminho) && linha.caminho !== '';
      if (nivelNoCaminho) {
        const nivel = passo.niveis[linha.caminho.length - 1];
        const [alfa, beta] = limitesDeX(nivel.alfa, nivel.beta, lado);
        const limites = documento.createElement('span');
        limites.className = 'limites-do-no';
        limites.setAttribute('aria-hidden', 'true');
        limites.textContent = `α${comSinal(alfa)} β${comSinal(beta)}`;
        item.append(limites);
      }
      return item;
    });
    arvore.replaceChildren(...itens);
    // For the eye: each level named once, on the line of its moves, and the lines joining
    // the open row to its moves.
    const pecas = [];
    for (let nivel = 1; nivel <= niveis; ++nivel) {
      const daLinha = linhas.filter((linha) => linha.nivel === nivel);
      // The moves of level n are those of the side to move at the root when n is even.
      const quem = nivel % 2 === 0 ? lado : outro(lado);
      const rotulo = nivel === 1 ? t('nivelDaRaiz', lado) : t(quem === 'X' ? 'nivelMaior' : 'nivelMenor', quem);
      pecas.push(peca('rotulo-do-nivel', linhaDoNivel(nivel) - 2, 1, colunas, rotulo));
      if (nivel === 1 || daLinha.length === 0) continue;
      const pai = linhas.find((linha) => linha.nivel === nivel - 1 && linha.aberto);
      const dePai = pai ? coluna(pai) : 1;
      const ultima = Math.max(dePai, ...daLinha.map(coluna));
      pecas.push(peca('barra', linhaDoNivel(nivel) - 1, Math.min(dePai, 1), ultima));
      pecas.push(peca('haste-do-pai', linhaDoNivel(nivel) - 1, dePai));
      for (const filha of daLinha) pecas.push(peca('haste', linhaDoNivel(nivel) - 1, coluna(filha)));
    }
    ligacoes.replaceChildren(...pecas);
    // The node being searched stays in sight in the drawing's own scroll.
    const atual = arvore.querySelector('[aria-current]');
    if (atual) {
      const desenho = arvore.parentElement;
      const [caixa, dentro] = [desenho.getBoundingClientRect(), atual.getBoundingClientRect()];
      if (dentro.bottom > caixa.bottom) desenho.scrollTop += dentro.bottom - caixa.bottom;
      else if (dentro.top < caixa.top) desenho.scrollTop -= caixa.top - dentro.top;
    }
  };
}

// A row's words, as its accessible name and the detail line say them: its move, its score
// from X's side, the moves searched below it and with alpha-beta, who picks among its
// level, how the game ends, and its marks.
function nomeDoRamo(linha, x, lado, t, numero) {
  const posicao = posicaoDoRamo(x.raiz, linha.caminho);
  const jogou = linha.caminho === '' ? lado : outro(posicao.vez);
  const nome = linha.caminho === '' ? t('posicaoRaiz') : jogou + ' ' + linha.caminho.slice(-1);
  if (!linha.dados) return nome + ': ' + t('buscando');
  const { valor, abaixo, comAlfaBeta } = linha.dados;
  const partes = [
    t('valorNome', comSinal(deX(valor, lado))),
    t('buscadas', numero.format(abaixo)),
    t('comAlfaBeta', numero.format(comAlfaBeta)),
    t(jogou === 'X' ? 'escolheMaior' : 'escolheMenor', jogou),
    fimDoRamo(valor, linha.caminho, jogou, lado, t),
  ];
  if (linha.tambemBoa) partes.push(t('tambemBoa'));
  if (linha.dados.cortada) partes.push(t('cortada'));
  if (linha.escolhida) partes.push(t('escolhida'));
  return nome + ': ' + partes.join(', ');
}
