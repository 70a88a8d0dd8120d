// The game as the page keeps it, apart from any program: the cells played in order, the
// address that holds them ("#seeker/304": X 3, O 0, X 4), the line a win completes, and
// the helper's answer read. Nothing here touches the page, so node tests it alone.
'use strict';

var velhaPartida = (function () {
  const totalDeCasas = 9;
  // The winning lines, rows, columns and diagonals.
  const linhas = [
    [0, 1, 2],
    [3, 4, 5],
    [6, 7, 8],
    [0, 3, 6],
    [1, 4, 7],
    [2, 5, 8],
    [0, 4, 8],
    [2, 4, 6],
  ];
  // The programs whose game an address holds: scribe's b records rules, its game is no
  // game to share.
  const comPartida = ['seeker', 'reader'];
  const programas = comPartida.concat(['scribe']);

  // A game as the helper is asked about it and answers: "X..O..... O", its cells and the
  // side to move.
  function emTexto(jogo) {
    return jogo.casas + ' ' + jogo.vez;
  }

  // The three cells of the first complete line of cells ('X..O.....'), or null.
  function linhaVencedora(casas) {
    return (
      linhas.find((l) => casas[l[0]] !== '.' && casas[l[0]] === casas[l[1]] && casas[l[0]] === casas[l[2]]) || null
    );
  }

  // The game after the cells jogadas, X first: { casas, vez, fim } (fim '-', 'X', 'O' or
  // '='), or { erro, casa } for a cell that cannot be played: 'casa' (no cell), 'ocupada',
  // 'depoisDoFim'.
  function jogar(jogadas) {
    const casas = Array(totalDeCasas).fill('.');
    let vez = 'X';
    let fim = '-';
    for (const casa of jogadas) {
      if (!Number.isInteger(casa) || casa < 0 || casa >= totalDeCasas) return { erro: 'casa', casa: casa };
      if (fim !== '-') return { erro: 'depoisDoFim', casa: casa };
      if (casas[casa] !== '.') return { erro: 'ocupada', casa: casa };
      casas[casa] = vez;
      if (linhaVencedora(casas)) fim = vez;
      else if (!casas.includes('.')) fim = '=';
      vez = vez === 'X' ? 'O' : 'X';
    }
    return { casas: casas.join(''), vez: vez, fim: fim };
  }

  // The cells left after a take back: the last move and, against the computer playing
  // computador ('X', 'O' or 'ninguem'), its answer too, so that it is the person's turn.
  function desfeitas(jogadas, computador) {
    const restantes = jogadas.slice(0, -1);
    while (restantes.length > 0 && jogar(restantes).vez === computador) restantes.pop();
    return restantes;
  }

  // Whether a take back leaves the person to move: not with no move, nor when all that
  // was played is the computer's first move, which it would play again at once.
  function podeDesfazer(jogadas, computador) {
    return jogadas.length > 0 && jogar(desfeitas(jogadas, computador)).vez !== computador;
  }

  // The cells played after a program told the game depois, having told antes with the
  // cells jogadas: one more where one cell was filled, none on an empty board (a new
  // game), the same otherwise.
  function depoisDe(jogadas, antes, depois) {
    if (!/[XO]/.test(depois.casas)) return [];
    if (!antes) return jogadas;
    let achada = null;
    for (let casa = 0; casa < totalDeCasas; ++casa) {
      if (antes.casas[casa] === depois.casas[casa]) continue;
      if (antes.casas[casa] !== '.' || achada !== null) return jogadas;
      achada = casa;
    }
    return achada === null ? jogadas : jogadas.concat([achada]);
  }

  // The address's fragment for a program and its game.
  function fragmento(programa, jogadas) {
    if (!comPartida.includes(programa) || jogadas.length === 0) return '#' + programa;
    return '#' + programa + '/' + jogadas.join('');
  }

  // What a fragment asks for: null when it names nothing, { programa, jogadas } for a
  // game, or { erro, ... } saying why it is none: 'programa', 'semPartida' (scribe with
  // cells), 'casa', 'ocupada', 'depoisDoFim'.
  function lerFragmento(fragmento) {
    let texto;
    try {
      texto = decodeURIComponent(String(fragmento).replace(/^#/, ''));
    } catch (e) {
      return { erro: 'programa', programa: String(fragmento).replace(/^#/, '') };
    }
    if (texto === '') return null;
    const [programa, celulas, ...resto] = texto.split('/');
    if (!programas.includes(programa) || resto.length > 0) return { erro: 'programa', programa: programa };
    if (celulas === undefined || celulas === '') return { programa: programa, jogadas: [] };
    if (!comPartida.includes(programa)) return { erro: 'semPartida', programa: programa };
    // Checked in the order played: the first fault is the one said.
    const jogadas = Array.from(celulas, (c) => (/^[0-8]$/.test(c) ? Number(c) : c));
    const jogo = jogar(jogadas);
    if (jogo.erro) return jogo;
    return { programa: programa, jogadas: jogadas };
  }

  // The helper's answer: "OO.XX.... X - - v2 - - v0 p1 p1 p1 5 n - - 56 - - - 2 2 2": per
  // cell "-", "e", "vK" or "pK", then the best cell or "-", then the dictionary's rule,
  // "n" (none) or "-" (no dictionary), then per cell the best play after it, cells in
  // turn, or "-".
  function lerResposta(linha) {
    const partes = linha.split(' ');
    if (partes.length !== 2 + 2 * totalDeCasas + 2) return null;
    return {
      pergunta: partes[0] + ' ' + partes[1],
      casas: partes.slice(2, 11),
      melhor: partes[11],
      regra: partes[12],
      continuacoes: partes.slice(13).map((c) => (c === '-' ? [] : Array.from(c, Number))),
    };
  }

  return {
    comPartida: comPartida,
    emTexto: emTexto,
    linhaVencedora: linhaVencedora,
    depoisDe: depoisDe,
    desfeitas: desfeitas,
    podeDesfazer: podeDesfazer,
    fragmento: fragmento,
    lerFragmento: lerFragmento,
    lerResposta: lerResposta,
  };
})();
