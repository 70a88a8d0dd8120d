// The helper behind "Show why": programs/why, run in a worker of its own beside the
// program being played. Asked "CELLS SIDE" a line, it answers a line (partida.js reads
// it) with what each free cell leads to, from the search seeker plays by.
import * as executor from './executor.js';

// despachar hears { tipo: 'resposta', linha } for each answer, and { tipo:
// 'ajudantePronto' } once a run has started, to ask about the position it missed.
export function criarAjudante(despachar) {
  let atual = null; // its run: { execucao, resto, decodificador, parado }

  function parar() {
    if (!atual) return;
    atual.parado = true;
    if (atual.execucao) atual.execucao.parar();
    atual = null;
  }

  // Starts it with the files it reads (reader's dictionary, if any, or their promise), known
  // by chave.
  function iniciar(arquivos, chave) {
    parar();
    const run = { execucao: null, resto: '', decodificador: new TextDecoder(), parado: false };
    atual = run;
    Promise.all([executor.carregar('why'), arquivos]).then(
      function ([, lidos]) {
        if (run.parado) return;
        run.execucao = executor.iniciar(
          'why',
          lidos,
          {
            escrever(descritor, bytes) {
              if (descritor !== 1 || run.parado) return;
              const linhas = (run.resto + run.decodificador.decode(bytes, { stream: true })).split('\n');
              run.resto = linhas.pop();
              for (const linha of linhas) despachar({ tipo: 'resposta', linha });
            },
            jogo() {},
            regras() {},
            terminar() {
              run.execucao = null;
            },
          },
          [],
          chave,
        );
        despachar({ tipo: 'ajudantePronto' });
      },
      function () {
        // Without the helper the board still plays; only the verdicts are missing.
      },
    );
  }

  // The question about a position as text ("X..O..... O"); none while the helper starts.
  function perguntar(texto) {
    if (atual && atual.execucao) atual.execucao.enviar(new TextEncoder().encode(texto + '\n'));
  }

  return { iniciar, parar, perguntar };
}
