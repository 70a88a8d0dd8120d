// The board: the running program's game as its record stands after each command, which
// the program hands the page (platform/sistema.h, mostrarOJogo), never read from the
// console's text. Each cell is a button named for what holds it ("cell 4: X"); a free
// cell plays there (j N), a taken one is not offered. Below it, whose turn it is, or how
// the game ended, said to a screen reader as it changes.
'use strict';

var velhaTabuleiro = (function () {
  const casas = Array.from(document.querySelectorAll('.tabuleiro [data-casa]'));
  const situacao = document.querySelector('#situacao');
  let jogo = null; // { casas: 'X..O.....', vez: 'X', fim: '-' }, once a program has told it
  let ativo = false; // whether a program is running and takes moves

  function desenhar() {
    casas.forEach(function (botao, casa) {
      const marca = jogo ? jogo.casas[casa] : '.';
      const livre = marca === '.';
      botao.textContent = livre ? String(casa) : marca;
      botao.classList.toggle('livre', livre);
      botao.setAttribute('aria-label', 'cell ' + casa + ': ' + (livre ? 'free' : marca));
      botao.disabled = !ativo || !livre || (jogo !== null && jogo.fim !== '-');
    });
    if (!jogo) {
      situacao.textContent = '';
    } else if (jogo.fim === '=') {
      situacao.textContent = 'Draw.';
    } else if (jogo.fim !== '-') {
      situacao.textContent = jogo.fim + ' won.';
    } else {
      situacao.textContent = jogo.vez + ' to move.';
    }
  }

  return {
    // The game as the program tells it: its cells, the side to move, how it ended.
    mostrar: function (cells, vez, fim) {
      jogo = { casas: cells, vez: vez, fim: fim };
      desenhar();
    },
    // A program starts (true) or ends (false); a new one has told no game yet.
    ativar: function (sim, novo) {
      ativo = sim;
      if (novo) jogo = null;
      desenhar();
    },
  };
})();
