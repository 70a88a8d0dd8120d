// The page's one state, and what follows from it: the position shown, whether a cell is
// the person's to play, what the helper is asked, how the game ended. atualizar.js makes
// each new state; desenho.js draws it. Nothing here touches the page.
import { regrasPorPagina, regraDaPosicao } from './dicionario.js';
import { comPartida, emTexto, jogar, lados, linhaVencedora } from './partida.js';

export function estadoInicial({ idioma = 'en', computador = 'O', porque = false, consoleAberto = false } = {}) {
  return {
    idioma,
    computador, // the side the computer plays: 'X', 'O' or 'ninguem'
    porque, // Show why
    consoleAberto,
    programa: null, // the program chosen
    execucao: 0, // its run: what another run tells is not heard
    rodando: 'parado', // 'rodando' from its start until it ends ('terminado')
    status: null, // its exit status once ended; null when stopped
    partida: [], // seeker's and reader's game, the cells played from X's first move
    repeticao: 0, // how many games a fresh run is still to tell before it has replayed it
    jogo: null, // the game as the program last told it: { casas, vez, fim }
    ultima: null, // the cell its last move played
    vista: null, // the moves played to reach the position shown, when it is not the game in play
    resposta: null, // the helper's answer about the position shown
    pedidos: 0, // the computer's turns asked for, each a number of its own
    pedido: null, // the position in which the computer was last asked to move
    esperando: false, // the person's move sent, not yet told back
    pensando: false, // the computer's move on its way, from its pause until it is told back
    aviso: null, // a message for the person: { chave, valores }
    copiado: null,
    apontada: null, // the cell the pointer rests on (or the focus): its best line is shown, whatever position comes
    foco: 4, // the cell that holds the board's one Tab stop
    focoPedido: null, // where a key or an end sends the focus, once: { onde, numero } (desenho.js)
    regras: null, // scribe's rules recorded so far
    lados: [], // the sides scribe's b recorded rules for
    // The dictionaries: reader's choice, the file read ({ nome, chave, modelo }), scribe's
    // last listing ({ chave, lados, modelo }), the complete one's model once loaded
    // ('pedido' while it loads, 'falhou'), and how many listings scribe has told.
    dicionario: { escolha: 'completo', arquivo: null, listagem: null, completo: null, listagens: 0 },
    dicionarioDoReader: null, // what the reader running plays from (dicionarioEscolhido's)
    painelDoDicionario: false, // the Dictionary panel open
    paginaDeRegras: null, // the page of its rules shown; null: the one with the board's rule
    explorador: null, // the search explorer, when open (explorador.js)
    rastro: null, // its step mode, when on (passos.js)
    ordem: 'seeker', // the order alpha-beta tries moves in (explorador.js's ordens)
    versaoNova: false, // a new build of the site is ready, waiting to be used
    bDoReader: false, // reader's b sent, its move not yet told
    regraJogada: null, // the rule reader's last b played: { casa, chave }
  };
}

export const temPartida = (estado) => comPartida.includes(estado.programa);

// The position on the board: { casas, vez, fim, ultima, linha }, or null before a program
// has told one. seeker's and reader's come from the moves (the program tells each one it
// plays), so that a position of the game's history is drawn like the game in play.
export function posicaoMostrada(estado) {
  let posicao;
  if (temPartida(estado)) {
    const jogadas = estado.vista === null ? estado.partida : estado.partida.slice(0, estado.vista);
    posicao = { ...jogar(jogadas), ultima: jogadas.length > 0 ? jogadas[jogadas.length - 1] : null };
    if (posicao.erro) return null;
  } else {
    if (!estado.jogo) return null;
    posicao = { ...estado.jogo, ultima: estado.ultima };
  }
  return { ...posicao, linha: posicao.fim === '-' || posicao.fim === '=' ? null : linhaVencedora(posicao.casas) };
}

export const emRepeticao = (estado) => estado.repeticao > 0;

// Whether the computer is to move in the game in play.
export function vezDoComputador(estado) {
  if (!temPartida(estado) || estado.rodando !== 'rodando' || emRepeticao(estado) || estado.vista !== null) return false;
  const posicao = posicaoMostrada(estado);
  return posicao !== null && posicao.fim === '-' && posicao.vez === estado.computador;
}

// Whether a click on casa plays it: a free cell of a position still being played, the
// person's to move, with no move on its way.
export function casaOferecida(estado, casa) {
  if (estado.rodando !== 'rodando' || emRepeticao(estado) || estado.esperando || estado.pensando) return false;
  const posicao = posicaoMostrada(estado);
  if (!posicao || posicao.fim !== '-' || posicao.casas[casa] !== '.') return false;
  // An earlier position where the computer is to move is played on from "Play on from here".
  return !(estado.vista !== null && posicao.vez === estado.computador);
}

// What the helper is asked about: the position shown while it is still played, or null.
export function pergunta(estado) {
  if (estado.rodando !== 'rodando') return null;
  const posicao = posicaoMostrada(estado);
  return posicao && posicao.fim === '-' ? emTexto(posicao) : null;
}

// How the game in play ended, as the person hears it: null while it goes on.
export function resultado(estado) {
  if (estado.vista !== null) return null;
  const posicao = posicaoMostrada(estado);
  if (!posicao || posicao.fim === '-') return null;
  if (posicao.fim === '=') return { chave: 'empateFinal', valores: [] };
  if (temPartida(estado) && lados.includes(estado.computador)) {
    return { chave: posicao.fim === estado.computador ? 'vocePerdeu' : 'voceVenceu', valores: [] };
  }
  return { chave: 'ladoVenceu', valores: [posicao.fim] };
}

// The complete dictionary's model once it has loaded, else null (not asked for, 'pedido'
// while it loads, 'falhou').
const completoCarregado = ({ dicionario: { completo } }) =>
  completo !== null && typeof completo === 'object' ? completo : null;

// The dictionary reader is to start with, as the runner takes it ({ chave, arquivo,
// argumentos, nome, modelo }; modelo null for the complete one before it loads), or null
// where "a file" is chosen and none has been read.
export function dicionarioEscolhido(estado) {
  const { escolha, arquivo, listagem } = estado.dicionario;
  if (escolha === 'arquivo') {
    if (!arquivo) return null;
    const nome = { chave: 'oArquivo', valores: [arquivo.nome] };
    return {
      chave: arquivo.chave,
      arquivo: arquivo.nome,
      argumentos: ['--', arquivo.nome],
      nome,
      modelo: arquivo.modelo,
    };
  }
  if (escolha === 'listagem' && listagem) {
    const nome = { chave: 'aListagem', valores: [] };
    return { chave: listagem.chave, arquivo: 'dicionario.txt', argumentos: [], nome, modelo: listagem.modelo };
  }
  const nome = { chave: 'oCompleto', valores: [] };
  return { chave: 'completo', arquivo: 'dicionario.txt', argumentos: [], nome, modelo: completoCarregado(estado) };
}

// A dictionary's model, the complete one's once it has loaded; null before.
export function modeloDe(estado, dicionario) {
  if (!dicionario) return null;
  return dicionario.modelo ?? (dicionario.chave === 'completo' ? completoCarregado(estado) : null);
}

// The dictionary the panel shows (dicionarioEscolhido's form): the one reader plays from
// while it runs; with scribe, its last listing; else the one chosen for reader. null with
// scribe before it has listed, or where a file is chosen and none read.
export function dicionarioDoPainel(estado) {
  const rodando = estado.rodando === 'rodando';
  if (estado.programa === 'reader' && rodando && estado.dicionarioDoReader) return estado.dicionarioDoReader;
  if (estado.programa === 'scribe') {
    const escolha = estado.dicionario.listagem ? 'listagem' : null;
    return escolha && dicionarioEscolhido({ ...estado, dicionario: { ...estado.dicionario, escolha } });
  }
  return dicionarioEscolhido(estado);
}

// The key of the position on the board while it is still played, and the rule the panel's
// dictionary gives there ({ chave, regra, casa }: regraDaPosicao's), or null.
export function regraDoTabuleiro(estado) {
  const posicao = posicaoMostrada(estado);
  if (!posicao || posicao.fim !== '-') return null;
  const modelo = modeloDe(estado, dicionarioDoPainel(estado));
  return modelo ? regraDaPosicao(modelo.regras, posicao.casas, posicao.vez) : null;
}

// reader's rule where reader runs, is to move in the position shown and its rules give it
// no move (none, a byte that names no cell, a taken cell): regraDoTabuleiro's, else null.
export function readerSemJogada(estado) {
  if (estado.programa !== 'reader' || estado.rodando !== 'rodando') return null;
  const posicao = posicaoMostrada(estado);
  if (!posicao || (estado.computador !== 'ninguem' && estado.computador !== posicao.vez)) return null;
  const daRegra = regraDoTabuleiro(estado);
  return daRegra && daRegra.casa === null ? daRegra : null;
}

// The page of the panel's rules shown: the one chosen, else the one that holds the board's
// rule, else the first; within the pages there are.
export function paginaMostrada(estado) {
  const modelo = modeloDe(estado, dicionarioDoPainel(estado));
  if (!modelo) return 0;
  const ultima = Math.max(0, Math.ceil(modelo.ordem.length / regrasPorPagina) - 1);
  let pagina = estado.paginaDeRegras;
  if (pagina === null) {
    const daRegra = regraDoTabuleiro(estado);
    const indice = daRegra ? modelo.ordem.indexOf(daRegra.chave) : -1;
    pagina = indice < 0 ? 0 : Math.floor(indice / regrasPorPagina);
  }
  return Math.min(Math.max(0, pagina), ultima);
}
