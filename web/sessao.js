// The program running, for the effects that start it, send it a line and stop it: its
// worker (executor.js), the console that shows what it writes, and what it tells of its
// game, handed on as events. The console's text is what the program wrote, byte for byte:
// it goes from the program to the log, not through the page's state.
import * as executor from './executor.js';
import * as registro from './console.js';

const codificador = new TextEncoder();

// A typed line is echoed whole up to this many characters; past them (a paste gone wrong)
// the echo is cut, so that the console answers at once, and the program still receives the
// whole line.
const ecoMaximo = 2000;

function eco(linha, cortado) {
  if (linha.length <= ecoMaximo) return linha;
  const corte = /[\uD800-\uDBFF]/.test(linha[ecoMaximo - 1]) ? ecoMaximo - 1 : ecoMaximo;
  return linha.slice(0, corte) + cortado(linha.length - corte);
}

// What scribe wrote since its last game, in one piece: the update sees whether it is a
// listing.
function juntar(partes) {
  let tamanho = 0;
  for (const parte of partes) tamanho += parte.length;
  const bytes = new Uint8Array(tamanho);
  let feitos = 0;
  for (const parte of partes) {
    bytes.set(parte, feitos);
    feitos += parte.length;
  }
  return bytes;
}

// logs: { saida, erros } elements; despachar(evento) hands an event to the update;
// cortado(n) says how many characters of an echo were not shown.
export function criarSessao({ logs, despachar, cortado }) {
  let atual = null; // the run: { execucao, programa, run (once started), linhas, saida, decodificadores }

  function escrever(run, descritor, bytes) {
    if (run !== atual) return;
    if (descritor === 1 && run.programa === 'scribe') run.saida.push(bytes);
    const texto = run.decodificadores[descritor].decode(bytes, { stream: true });
    if (descritor === 2) {
      logs.erros.hidden = false;
      registro.acrescentar(logs.erros, texto, 'erro');
    } else {
      registro.acrescentar(logs.saida, texto, 'saida');
    }
  }

  // scribe's output since the last time it told its game, else null.
  function saidaDe(run) {
    if (run.programa !== 'scribe') return null;
    const bytes = juntar(run.saida);
    run.saida = [];
    return bytes;
  }

  function enviar(linha) {
    registro.acrescentar(logs.saida, '> ' + eco(linha, cortado) + '\n', 'entrada');
    const bytes = codificador.encode(linha + '\n');
    if (atual.run) atual.run.enviar(bytes);
    else atual.linhas.push(bytes); // typed ahead while it loads
  }

  return {
    // dicionario: { chave, arquivo, argumentos } and its bytes (or their promise), for reader.
    iniciar({ execucao, programa, jogadas, dicionario }, bytes) {
      if (atual && atual.run) atual.run.parar();
      registro.esquecer();
      logs.saida.textContent = '';
      logs.erros.textContent = '';
      logs.erros.hidden = true;
      const run = {
        execucao,
        programa,
        run: null,
        linhas: [],
        saida: [],
        decodificadores: { 1: new TextDecoder(), 2: new TextDecoder() },
      };
      atual = run;
      for (const casa of jogadas) enviar('j ' + casa);
      Promise.all([executor.carregar(programa), bytes]).then(
        function ([, lidos]) {
          const arquivos = dicionario ? new Map([[dicionario.arquivo, lidos]]) : new Map();
          if (run !== atual) return;
          const ouvintes = {
            escrever: (descritor, dados) => escrever(run, descritor, dados),
            // Drawn in the frame that shows the text that led to it, which came first.
            jogo(jogo) {
              if (run !== atual) return;
              const evento = { tipo: 'jogo', execucao, ...jogo, saida: saidaDe(run) };
              registro.depoisDoTexto(() => despachar(evento));
            },
            regras: (quantas) => run === atual && despachar({ tipo: 'regras', execucao, quantas }),
            terminar(status) {
              if (run !== atual) return;
              const evento = { tipo: 'fim', execucao, status, saida: saidaDe(run) };
              registro.depoisDoTexto(() => despachar(evento));
            },
          };
          const argumentos = dicionario ? dicionario.argumentos : [];
          const chave = dicionario ? dicionario.chave : '';
          run.run = executor.iniciar(programa, arquivos, ouvintes, argumentos, chave);
          for (const linha of run.linhas) run.run.enviar(linha);
          run.linhas = [];
        },
        function () {
          if (run === atual) despachar({ tipo: 'naoCarregou', execucao, nome: programa });
        },
      );
    },
    enviar({ execucao, linha }) {
      if (atual && atual.execucao === execucao) enviar(linha);
    },
    parar({ execucao }) {
      if (atual && atual.execucao === execucao && atual.run) atual.run.parar();
    },
  };
}
