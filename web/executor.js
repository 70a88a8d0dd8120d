// The programs' runner: each program runs in a worker of its own, off the page's thread,
// so that however long a search or a listing takes the page answers at once, and the
// person can stop it. The worker is made from the program's text (velhaFontes, from its
// script) and the few lines below, which hand it the person's lines as its standard input
// and post back what it writes. Made from text, it starts from disk (file://) as well as
// from a server.
'use strict';

var velhaExecutor = (function () {
  // Runs in the worker, after the program's own script, which defines velhaPrograma.
  function noWorker() {
    const linhas = []; // sent, not yet read
    let espera = null; // the program's pending read
    self.onmessage = function (evento) {
      const mensagem = evento.data;
      if (mensagem.tipo === 'linha') {
        if (espera) {
          const pronto = espera;
          espera = null;
          pronto(mensagem.bytes);
        } else {
          linhas.push(mensagem.bytes);
        }
        return;
      }
      // The runtime's own messages, as the program's standard error.
      const mensagemDoRuntime = function (texto) {
        self.postMessage({ tipo: 'saida', descritor: 2, bytes: new TextEncoder().encode(texto + '\n') });
      };
      velhaPrograma({
        arguments: mensagem.argumentos,
        thisProgram: mensagem.nome,
        velha: {
          entrada: function () {
            if (linhas.length > 0) return Promise.resolve(linhas.shift());
            return new Promise(function (pronto) {
              espera = pronto;
            });
          },
          saida: function (descritor, bytes) {
            self.postMessage({ tipo: 'saida', descritor: descritor, bytes: bytes }, [bytes.buffer]);
          },
          arquivos: mensagem.arquivos,
          jogo: function (casas, vez, fim) {
            self.postMessage({ tipo: 'jogo', casas: casas, vez: vez, fim: fim });
          },
          regras: function (quantas) {
            self.postMessage({ tipo: 'regras', quantas: quantas });
          },
        },
        print: mensagemDoRuntime,
        printErr: mensagemDoRuntime,
        onExit: function (status) {
          self.postMessage({ tipo: 'fim', status: status });
        },
        // The runtime's own exit would throw to unwind the program; it has already ended.
        quit: function () {},
      });
    };
  }

  // A program's script adds its text to velhaFontes; each is loaded once, when first needed
  // (a second request while it loads waits for the same load).
  const carregados = {}; // program -> the promise of its script's load
  function carregar(nome) {
    if (!carregados[nome]) {
      carregados[nome] = new Promise(function (pronto, falhou) {
        const script = document.createElement('script');
        script.src = nome + '.js';
        script.onload = pronto;
        script.onerror = function () {
          script.remove();
          delete carregados[nome]; // tried again next time
          falhou(new Error(nome + '.js'));
        };
        document.body.appendChild(script);
      });
    }
    return carregados[nome];
  }

  const enderecos = {}; // program -> the address of its worker's script, made once

  function enderecoDe(nome) {
    if (!enderecos[nome]) {
      const texto = window.velhaFontes[nome] + '\n;(' + noWorker.toString() + ')();\n';
      enderecos[nome] = URL.createObjectURL(new Blob([texto], { type: 'text/javascript' }));
    }
    return enderecos[nome];
  }

  // Starts the program nome, loaded, with the files arquivos (name: bytes) and its command
  // line's argumentos. ouvintes hears from it: escrever(descriptor, bytes) what it writes,
  // jogo(casas, vez, fim) its game after each command and regras(quantas) scribe's rule
  // count (platform/sistema.h, mostrarOJogo and mostrarAsRegras), and terminar(status),
  // once, that it ended (null: stopped). The answer sends a line's bytes to its standard
  // input, or stops it.
  function iniciar(nome, arquivos, ouvintes, argumentos) {
    const worker = new Worker(enderecoDe(nome));
    let ativo = true;
    const acabar = function (status) {
      if (!ativo) return;
      ativo = false;
      worker.terminate();
      ouvintes.terminar(status);
    };
    worker.onmessage = function (evento) {
      const mensagem = evento.data;
      if (!ativo) return;
      if (mensagem.tipo === 'saida') ouvintes.escrever(mensagem.descritor, mensagem.bytes);
      else if (mensagem.tipo === 'jogo') ouvintes.jogo(mensagem.casas, mensagem.vez, mensagem.fim);
      else if (mensagem.tipo === 'regras') ouvintes.regras(mensagem.quantas);
      else if (mensagem.tipo === 'fim') acabar(mensagem.status);
    };
    worker.onerror = function (evento) {
      evento.preventDefault();
      ouvintes.escrever(2, new TextEncoder().encode(nome + ': ' + evento.message + '\n'));
      acabar(null);
    };
    worker.postMessage({ tipo: 'iniciar', nome: nome, arquivos: arquivos, argumentos: argumentos || [] });
    return {
      enviar: function (bytes) {
        if (ativo) worker.postMessage({ tipo: 'linha', bytes: bytes });
      },
      parar: function () {
        acabar(null);
      },
    };
  }

  return { carregar: carregar, iniciar: iniciar };
})();
