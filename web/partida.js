// The game as the page keeps it, apart from any program: the cells played in order, the
// position they lead to, the address that holds them ("#seeker/O/304": seeker, the computer
// as O, X 3, O 0, X 4), and the helper's answer read. Nothing here touches the page, so
// node tests it alone.

export const totalDeCasas = 9;
export const casasPorLado = 3;

// The winning lines in the order the game core tests them (core/linhas.h; the page's
// tests hold the two to the same order): when a hand-made board completes two, the first
// is the one marked.
export const linhas = [
  [0, 1, 2],
  [3, 4, 5],
  [6, 7, 8],
  [0, 3, 6],
  [1, 4, 7],
  [2, 5, 8],
  [2, 4, 6],
  [0, 4, 8],
];

// The programs whose game is a game to share and play against: scribe's b records rules.
export const comPartida = ['seeker', 'reader'];
export const programas = [...comPartida, 'scribe'];
export const lados = ['X', 'O'];

export const outro = (lado) => (lado === 'X' ? 'O' : 'X');

// A position as the helper is asked about it and answers: "X..O..... O", its cells and
// the side to move.
export const emTexto = (jogo) => jogo.casas + ' ' + jogo.vez;

// The three cells of the first complete line of cells ('X..O.....'), or null.
export function linhaVencedora(casas) {
  return linhas.find(([a, b, c]) => casas[a] !== '.' && casas[a] === casas[b] && casas[a] === casas[c]) || null;
}

// The game after the cells jogadas, X first: { casas, vez, fim } (fim '-', 'X', 'O' or
// '='), or { erro, casa } for a cell that cannot be played: 'casa' (no cell), 'ocupada',
// 'depoisDoFim'.
export function jogar(jogadas) {
  const casas = Array(totalDeCasas).fill('.');
  let vez = 'X';
  let fim = '-';
  for (const casa of jogadas) {
    if (!Number.isInteger(casa) || casa < 0 || casa >= totalDeCasas) return { erro: 'casa', casa };
    if (fim !== '-') return { erro: 'depoisDoFim', casa };
    if (casas[casa] !== '.') return { erro: 'ocupada', casa };
    casas[casa] = vez;
    if (linhaVencedora(casas)) fim = vez;
    else if (!casas.includes('.')) fim = '=';
    vez = outro(vez);
  }
  return { casas: casas.join(''), vez, fim };
}

// The cells left after a take back: the last move and, against the computer playing
// computador ('X', 'O' or 'ninguem'), its answer too, so that it is the person's turn.
export function desfeitas(jogadas, computador) {
  const restantes = jogadas.slice(0, -1);
  while (restantes.length > 0 && jogar(restantes).vez === computador) restantes.pop();
  return restantes;
}

// Whether a take back leaves the person to move: not with no move, nor when all that
// was played is the computer's first move, which it would play again at once.
export function podeDesfazer(jogadas, computador) {
  return jogadas.length > 0 && jogar(desfeitas(jogadas, computador)).vez !== computador;
}

// The address's fragment: the program, the computer's side when it plays one, the cells.
export function fragmento(programa, jogadas, computador) {
  if (!comPartida.includes(programa)) return '#' + programa;
  const partes = [programa];
  if (lados.includes(computador)) partes.push(computador);
  if (jogadas.length > 0) partes.push(jogadas.join(''));
  return '#' + partes.join('/');
}

// What a fragment asks for: null when it names nothing; { programa, computador, jogadas }
// for a game (computador 'ninguem' where the address names no side, as shared before it
// could); or { erro, ... } saying why it is none: 'programa', 'semPartida' (scribe with
// more), 'vazia' (an empty part, "//"), 'parte' (a part that is neither side nor cells),
// 'casa', 'ocupada', 'depoisDoFim'.
export function lerFragmento(texto) {
  let pedido;
  try {
    pedido = decodeURIComponent(String(texto).replace(/^#/, ''));
  } catch {
    return { erro: 'codificacao' };
  }
  // A slash at the end, as a hand-typed address may have, asks for nothing more.
  const partes = pedido.replace(/\/$/, '').split('/');
  if (pedido === '') return null;
  const [programa, ...resto] = partes;
  if (!programas.includes(programa)) return { erro: 'programa', programa };
  if (resto.includes('')) return { erro: 'vazia' };
  if (!comPartida.includes(programa)) {
    return resto.length > 0 ? { erro: 'semPartida', programa } : { programa, computador: 'ninguem', jogadas: [] };
  }
  let computador = 'ninguem';
  if (resto.length > 0 && lados.includes(resto[0])) computador = resto.shift();
  const celulas = resto.shift() ?? '';
  if (resto.length > 0 || !/^[0-9]*$/.test(celulas)) {
    const parte = resto.length > 0 && /^[0-9]*$/.test(celulas) ? resto[0] : celulas;
    return { erro: 'parte', parte };
  }
  // Checked in the order played: the first fault is the one said.
  const jogo = jogar(Array.from(celulas, Number));
  if (jogo.erro) return jogo;
  return { programa, computador, jogadas: Array.from(celulas, Number) };
}

// At most this many characters of a bad address are echoed, so that a pasted page of
// digits is not read out whole; the invisible ones by their code.
const ecoMaximo = 24;

export function eco(texto) {
  const caracteres = Array.from(String(texto));
  const cortado = caracteres.length > ecoMaximo;
  const mostrados = caracteres
    .slice(0, ecoMaximo)
    .map((c) =>
      /^[\p{C}\p{Z}]$/u.test(c) && c !== ' ' ? 'U+' + c.codePointAt(0).toString(16).toUpperCase().padStart(4, '0') : c,
    );
  return mostrados.join('') + (cortado ? '…' : '');
}

// The helper's answer: "OO.XX.... X - - v2 - - v0 p1 p1 p1 5 n - - 56 - - - 2 2 2": per
// cell "-", "e", "vK" or "pK" (a win or a loss with K moves of both sides still to come
// after it), then the best cell or "-", then the dictionary's rule, "n" (none) or "-" (no
// dictionary), then per cell the best play after it, cells in turn, or "-".
export function lerResposta(linha) {
  const partes = linha.split(' ');
  if (partes.length !== 2 + 2 * totalDeCasas + 2) return null;
  return {
    pergunta: partes[0] + ' ' + partes[1],
    casas: partes.slice(2, 2 + totalDeCasas),
    melhor: partes[2 + totalDeCasas] === '-' ? null : Number(partes[2 + totalDeCasas]),
    regra: partes[3 + totalDeCasas],
    continuacoes: partes.slice(4 + totalDeCasas).map((c) => (c === '-' ? [] : Array.from(c, Number))),
  };
}

// A verdict as players count it, their own moves only: { fim: 'vence' | 'perde' |
// 'empata', lances }, lances the moves of the side that wins up to its winning one, this
// move included when it is the winner's (1: this move wins).
export function veredito(codigo) {
  if (codigo === 'e') return { fim: 'empata', lances: 0 };
  const lances = lancesDoVencedor(1, 1 + Number(codigo.slice(1)));
  return { fim: codigo[0] === 'v' ? 'vence' : 'perde', lances };
}

// A position's key in the dictionary, as reader looks it up: the board seen from the side
// to move (its marks −1, the other's +1, a free cell 0), each row 9·a + 3·b + c + 14, and
// (row 2 · 27 + row 1) · 27 + row 0 − 1. The empty board is 10597 for either side; one key
// serves a position with X to move and its colours swapped with O to move.
export function chaveDaPosicao(casas, vez) {
  const [linha0, linha1, linha2] = linhasDaChave(casas, vez);
  return (linha2 * 27 + linha1) * 27 + linha0 - 1;
}

// The key's three rows, as the Dictionary panel spells the sum out.
export function linhasDaChave(casas, vez) {
  const valor = (marca) => (marca === '.' ? 0 : marca === vez ? -1 : 1);
  return [0, 1, 2].map((i) => 9 * valor(casas[3 * i]) + 3 * valor(casas[3 * i + 1]) + valor(casas[3 * i + 2]) + 14);
}

// The one way the page counts how soon a game is won: the winner's own moves up to its
// winning one, from a move at depth primeiro (the moves of the position shown are at depth
// 1) when the winning move is at depth vencedora; the move at primeiro is the first when
// it is the winner's. Show why, the explorer and the step mode all say it so.
export const lancesDoVencedor = (primeiro, vencedora) => Math.floor((vencedora - primeiro) / 2) + 1;

// The arrow keys move along rows and columns, Home and End to the first and last cell;
// the cell reached, or null for a key that moves nothing.
export function casaDestino(casa, tecla) {
  if (tecla === 'Home') return 0;
  if (tecla === 'End') return totalDeCasas - 1;
  const passos = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: -casasPorLado, ArrowDown: casasPorLado };
  if (!(tecla in passos)) return null;
  const alvo = casa + passos[tecla];
  const mesmaLinha = Math.floor(alvo / casasPorLado) === Math.floor(casa / casasPorLado);
  if (Math.abs(passos[tecla]) === 1 ? alvo >= 0 && mesmaLinha : alvo >= 0 && alvo < totalDeCasas) return alvo;
  return casa;
}
