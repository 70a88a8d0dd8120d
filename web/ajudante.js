// The helper behind "Show why": programs/why, run in a worker of its own beside the
// program being played. Asked "CELLS SIDE" a line, it answers a line (partida.js reads
// it) with what each free cell leads to, from the search seeker plays by.
'use strict';

var velhaAjudante = (function () {
  let ajudante = null; // its run: { execucao, resto, decodificador, parado }
  let aoComecar = () => undefined;

  // Starts it with the files it reads (reader's dictionary, if any); each answer line goes
  // to responder.
  function iniciar(arquivos, responder) {
    parar();
    const atual = { execucao: null, resto: '', decodificador: new TextDecoder(), parado: false };
    ajudante = atual;
    velhaExecutor.carregar('why').then(
      function () {
        if (atual.parado) return;
        atual.execucao = velhaExecutor.iniciar('why', arquivos, {
          escrever: function (descritor, bytes) {
            if (descritor !== 1) return;
            const linhas = (atual.resto + atual.decodificador.decode(bytes, { stream: true })).split('\n');
            atual.resto = linhas.pop();
            for (const linha of linhas) responder(linha);
          },
          jogo: function () {},
          regras: function () {},
          terminar: function () {
            atual.execucao = null;
          },
        });
        aoComecar();
      },
      function () {
        // Without the helper the board still plays; only the verdicts are missing.
      },
    );
  }

  function parar() {
    if (!ajudante) return;
    ajudante.parado = true;
    if (ajudante.execucao) ajudante.execucao.parar();
    ajudante = null;
  }

  // The question about a game as text ("X..O..... O"); none while the helper starts.
  function perguntar(texto) {
    if (ajudante && ajudante.execucao) ajudante.execucao.enviar(new TextEncoder().encode(texto + '\n'));
  }

  return {
    iniciar: iniciar,
    parar: parar,
    perguntar: perguntar,
    // What to do once a run has started: ask about the game it missed.
    aoComecar: (fazer) => (aoComecar = fazer),
  };
})();
