// The programs' runner: each program runs in a worker of its own, off the page's thread,
// so that however long a search or a listing takes the page answers at once, and the
// person can stop it. The worker is made from the program's text (velhaCodigoDosProgramas,
// from its script) and the few lines below, which hand it the person's lines as its
// standard input and post back what it writes. Made from text, it starts from disk
// (file://) as well as from a server.
//
// A program starts as often as a person takes a move back, so starting costs what a person
// cannot see: a run of it is started ahead, while the page is idle, with the files and
// arguments of its last start: it holds what it writes until it is claimed by a start that
// gives it the same, and is thrown away otherwise. Each worker decodes and compiles its
// program's WebAssembly itself: done on the page's thread, even through the browser's own
// decoding of a data: address, it made tasks of up to 100 ms on a slow phone.

// Runs in the worker, after the program's own script, which defines velhaPrograma.
function noTrabalhador() {
  const linhas = []; // sent, not yet read
  let espera = null; // the program's pending read
  let retidas = null; // while a run started ahead waits to be claimed, its messages
  function postar(mensagem, transferir) {
    if (retidas) retidas.push([mensagem, transferir]);
    else self.postMessage(mensagem, transferir);
  }

  // The program's output leaves in batches: the C library hands over a line at a time,
  // and a message a line (2,425 for scribe's listing) kept the page's thread busy for
  // longer than any frame should take. A batch leaves when the program waits for input
  // (the timer runs then), when it has run a frame's time since the last, and before any
  // other message, so that the page gets everything in the order it was written.
  const intervalo = 16; // ms
  let lote = []; // [{ descritor, partes: [bytes] }], in order
  let enviadoEm = 0;
  let temporizador = null;
  function despejar() {
    if (temporizador !== null) clearTimeout(temporizador);
    temporizador = null;
    enviadoEm = performance.now();
    for (const { descritor, partes } of lote) {
      let tamanho = 0;
      for (const parte of partes) tamanho += parte.length;
      const bytes = new Uint8Array(tamanho);
      let feitos = 0;
      for (const parte of partes) {
        bytes.set(parte, feitos);
        feitos += parte.length;
      }
      postar({ tipo: 'saida', descritor: descritor, bytes: bytes }, [bytes.buffer]);
    }
    lote = [];
  }
  function escrever(descritor, bytes) {
    const ultimo = lote[lote.length - 1];
    if (ultimo && ultimo.descritor === descritor) ultimo.partes.push(bytes);
    else lote.push({ descritor: descritor, partes: [bytes] });
    if (performance.now() - enviadoEm >= intervalo) despejar();
    else if (temporizador === null) temporizador = setTimeout(despejar, 0);
  }
  function enviar(mensagem) {
    despejar();
    postar(mensagem, []);
  }

  self.onmessage = function (evento) {
    const mensagem = evento.data;
    if (mensagem.tipo === 'liberar') {
      const guardadas = retidas || [];
      retidas = null;
      for (const [retida, transferir] of guardadas) self.postMessage(retida, transferir);
      return;
    }
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
    if (mensagem.retido) retidas = [];
    // The runtime's own messages, as the program's standard error.
    const mensagemDoRuntime = function (texto) {
      escrever(2, new TextEncoder().encode(texto + '\n'));
    };
    const modulo = {
      arguments: mensagem.argumentos,
      thisProgram: mensagem.nome,
      velha: {
        entrada: function () {
          if (linhas.length > 0) return Promise.resolve(linhas.shift());
          return new Promise(function (pronto) {
            espera = pronto;
          });
        },
        saida: escrever,
        arquivos: mensagem.arquivos,
        jogo: function (casas, vez, fim, jogada) {
          enviar({ tipo: 'jogo', casas, vez, fim, jogada });
        },
        regras: function (quantas) {
          enviar({ tipo: 'regras', quantas: quantas });
        },
      },
      print: mensagemDoRuntime,
      printErr: mensagemDoRuntime,
      onExit: function (status) {
        enviar({ tipo: 'fim', status: status });
      },
      // The runtime's own exit would throw to unwind the program; it has already ended.
      quit: function () {},
    };
    velhaPrograma(modulo);
  };
}

// A program's script adds its text to velhaCodigoDosProgramas; each is loaded once, when
// first needed
// (a second request while it loads waits for the same load).
const carregados = {}; // program -> the promise of its script's load
// The build's version, from velha.js's own address (index.html asks for it with ?v=…): the
// programs' scripts are asked for with it too, so that no cache ever mixes two builds.
const versao =
  typeof document !== 'undefined' && document.currentScript ? new URL(document.currentScript.src).search : '';
export function carregar(nome) {
  if (!carregados[nome]) {
    carregados[nome] = new Promise(function (pronto, falhou) {
      const script = document.createElement('script');
      script.src = nome + '.js' + versao;
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
const reservas = {}; // program -> [{ trabalhador, arquivos, argumentos }], runs started ahead
function novoTrabalhador(nome) {
  return new Worker(enderecoDe(nome));
}

// A run started ahead is claimed by a start with the same files and arguments, known by
// the key its caller gives them (made once, when the files were read), never by comparing
// the files themselves, which may be megabytes.
const mesmaPartida = (reserva, chave) => reserva.chave === chave;

// How many runs of one program wait at most: the helper waits both with a dictionary
// (reader's) and without (seeker's).
const reservasPorPrograma = 2;
const esperaDaReserva = 250; // ms

// Loads the program and, when arquivos is given (a start's files, a Map),
// starts a run ahead with them and argumentos once the page has nothing else to do. A
// failed load is left for the start to report.
export function preparar(nome, arquivos, argumentos = [], chave = '') {
  const ocioso = globalThis.requestIdleCallback || ((f) => setTimeout(f, 50));
  return carregar(nome).then(
    function () {
      if (!arquivos) return;
      // Not while the start that asked for it is still showing its first frames.
      setTimeout(
        () =>
          ocioso(
            function () {
              const lista = reservas[nome] || (reservas[nome] = []);
              if (lista.some((reserva) => mesmaPartida(reserva, chave))) return;
              const trabalhador = novoTrabalhador(nome);
              trabalhador.postMessage({
                tipo: 'iniciar',
                nome: nome,
                arquivos: arquivos,
                argumentos: argumentos,
                retido: true,
              });
              lista.push({ trabalhador, chave });
              if (lista.length > reservasPorPrograma) lista.shift().trabalhador.terminate();
            },
            { timeout: 200 },
          ),
        esperaDaReserva,
      );
    },
    () => undefined,
  );
}

function enderecoDe(nome) {
  if (!enderecos[nome]) {
    const texto = globalThis.velhaCodigoDosProgramas[nome] + '\n;(' + noTrabalhador.toString() + ')();\n';
    enderecos[nome] = URL.createObjectURL(new Blob([texto], { type: 'text/javascript' }));
  }
  return enderecos[nome];
}

// Starts the program nome, loaded, with the files arquivos (a Map, name to bytes) and its
// command line's argumentos, the two known together by chave. ouvintes hears from it:
// escrever(descriptor, bytes) what it writes, jogo({ casas, vez, fim, jogada }) its game
// and the cell played after each command and regras(quantas) scribe's rule count
// (platform/pagina.h, mostrarOJogo and mostrarAsRegras), and terminar(status), once, that
// it ended (null: stopped). The answer sends a line's bytes to its standard input, or
// stops it.
export function iniciar(nome, arquivos, ouvintes, argumentos = [], chave = '') {
  const lista = reservas[nome] || [];
  const achada = lista.findIndex((reserva) => mesmaPartida(reserva, chave));
  let trabalhador;
  if (achada >= 0) {
    trabalhador = lista.splice(achada, 1)[0].trabalhador;
    trabalhador.postMessage({ tipo: 'liberar' });
  } else {
    trabalhador = novoTrabalhador(nome);
    trabalhador.postMessage({ tipo: 'iniciar', nome: nome, arquivos: arquivos, argumentos: argumentos });
  }
  preparar(nome, arquivos, argumentos, chave);
  let ativo = true;
  const acabar = function (status) {
    if (!ativo) return;
    ativo = false;
    trabalhador.terminate();
    ouvintes.terminar(status);
  };
  trabalhador.onmessage = function (evento) {
    const mensagem = evento.data;
    if (!ativo) return;
    if (mensagem.tipo === 'saida') ouvintes.escrever(mensagem.descritor, mensagem.bytes);
    else if (mensagem.tipo === 'jogo') ouvintes.jogo(mensagem);
    else if (mensagem.tipo === 'regras') ouvintes.regras(mensagem.quantas);
    else if (mensagem.tipo === 'fim') acabar(mensagem.status);
  };
  trabalhador.onerror = function (evento) {
    evento.preventDefault();
    ouvintes.escrever(2, new TextEncoder().encode(nome + ': ' + evento.message + '\n'));
    acabar(null);
  };
  return {
    enviar: function (bytes) {
      if (ativo) trabalhador.postMessage({ tipo: 'linha', bytes: bytes });
    },
    parar: function () {
      acabar(null);
    },
  };
}
