// The page: starts one of the three programs (seeker.js, reader.js, scribe.js, each the
// program's JavaScript and WebAssembly as text) in a worker (executor.js), hands it the
// person's lines as its standard input and shows exactly what it writes: standard output
// in the console, standard error apart, and the board (tabuleiro.js) what it tells of its
// game. platform/web/sistema.js is the program's side of this exchange (Module.velha).
// It also gives reader the dictionary the person chose, names it, and says what each
// program does; the page's texts are in textos.js.
//
// It keeps each program's game (partida.js) as the cells played: in the address, in the
// list of moves, and when a program starts again (a take back, a switch and back, a
// reload), replayed into a fresh run as j lines, so that the console holds only what the
// program wrote. The computer's moves are the program's own b, sent when its side is to
// move.
'use strict';

(function () {
  const $ = (seletor) => document.querySelector(seletor);
  const consoleDoPrograma = $('#console');
  const erros = $('#erros');
  const campo = $('#linha');
  const codificador = new TextEncoder();

  const t = velhaTextos.t;

  let sessao = null; // the program running now
  // The complete dictionary's bytes, made once: the same bytes every start of reader is
  // given, so that a run started ahead with them is claimed at a glance.
  const bytesDoCompleto = codificador.encode(window.velhaDicionarioCompleto || '');
  let ultimaListagem = null; // the bytes of scribe's last listing
  let ladosDaListagem = []; // the sides whose rules it holds
  const partidas = new Map(); // program -> the cells played in its game, in order

  // The side the computer plays, 'O', 'X' or 'ninguem', kept in the browser like the
  // language; an address's game sets 'ninguem' for this visit only.
  const computador = $('#computador');
  const guardado = 'velha-computador';
  try {
    const ultimo = localStorage.getItem(guardado);
    if (ultimo === 'X' || ultimo === 'O' || ultimo === 'ninguem') computador.value = ultimo;
  } catch (e) {
    // Storage refused: O, as on a first visit.
  }

  // The pause before the computer answers, so that the person sees their move land first.
  const pausaDoComputador = 350; // ms

  function avisar(texto) {
    $('#aviso').textContent = texto;
    $('#aviso').hidden = texto === '';
  }

  // The dictionary chosen for reader, as the page names it, with its file if one is chosen.
  function escolhaDoDicionario() {
    const valor = document.querySelector('input[name="dicionario"]:checked').value;
    if (valor === 'listagem' && ultimaListagem) return { valor: valor, nome: () => t('aListagem') };
    if (valor === 'arquivo') {
      const arquivo = $('#arquivo').files[0];
      return { valor: valor, arquivo: arquivo, nome: () => (arquivo ? t('oArquivo', arquivo.name) : t('umArquivo')) };
    }
    return { valor: 'completo', nome: () => t('oCompleto') };
  }

  // That dictionary's bytes, and how reader is given it: a file by its own name, so that
  // reader's messages name it. Throws the message for the page when there is none to give.
  async function dicionarioEscolhido() {
    const escolha = escolhaDoDicionario();
    if (escolha.valor === 'arquivo') {
      const arquivo = escolha.arquivo;
      if (!arquivo) throw new Error(t('semArquivo'));
      let bytes;
      try {
        bytes = new Uint8Array(await arquivo.arrayBuffer());
      } catch (erro) {
        // The browser refuses a file that changed or went after it was chosen.
        const mudou = erro.name === 'NotReadableError' || erro.name === 'NotFoundError';
        throw new Error(mudou ? t('arquivoMudou', arquivo.name) : t('arquivoIlegivel', arquivo.name, erro.message));
      }
      // A Map, not an object: a file may be named __proto__.
      const arquivos = new Map([[arquivo.name, bytes]]);
      return { bytes: bytes, arquivos: arquivos, argumentos: ['--', arquivo.name], nome: escolha.nome };
    }
    const bytes = escolha.valor === 'listagem' ? ultimaListagem : bytesDoCompleto;
    return { bytes: bytes, arquivos: new Map([['dicionario.txt', bytes]]), argumentos: [], nome: escolha.nome };
  }

  // What the program does, in one line, with the dictionary reader plays from and the side
  // scribe's b records.
  function explicar() {
    const explicacao = $('#explicacao');
    $('#dicionario').hidden = !sessao || sessao.nome !== 'reader';
    $('#apresentacao').hidden = sessao !== null; // the board first, once a program is chosen
    if (!sessao) {
      explicacao.textContent = '';
    } else if (sessao.nome === 'reader') {
      explicacao.textContent = t(
        'explicacaoReader',
        sessao.dicionario ? sessao.dicionario.nome() : escolhaDoDicionario().nome(),
      );
    } else if (sessao.nome === 'scribe') {
      explicacao.textContent = t('explicacaoScribe', velhaTabuleiro.vez());
    } else {
      explicacao.textContent = t('explicacaoSeeker');
    }
    explicarMudanca();
  }

  // A dictionary chosen while reader runs is used when it starts again, as it reads its
  // dictionary once, at start; the page says so, and offers to start it again.
  function explicarMudanca() {
    const lendo = sessao && sessao.nome === 'reader' && sessao.execucao && !sessao.terminada && sessao.dicionario;
    const mudou = lendo && escolhaDoDicionario().nome() !== sessao.dicionario.nome();
    $('#mudanca').hidden = !mudou;
    if (mudou)
      $('#mudanca-texto').textContent = t(
        'mudancaDeDicionario',
        sessao.dicionario.nome(),
        escolhaDoDicionario().nome(),
      );
  }

  const temPartida = (atual) => atual !== null && velhaPartida.comPartida.includes(atual.nome);

  // What goes with the game shown: its moves, the address, the buttons that change it,
  // and the computer's move when its side is to move.
  function mostrarPartida() {
    const atual = sessao;
    const partida = temPartida(atual);
    for (const elemento of document.querySelectorAll('[data-com-partida]'))
      elemento.hidden = atual !== null && !partida;
    $('.partida').hidden = !partida;
    const emJogo = atual !== null && !atual.terminada && velhaTabuleiro.emJogo();
    $('[data-linha="b"]').disabled = !emJogo;
    if (!atual) return;
    const jogadas = atual.jogadas;
    $('#novo-jogo').disabled = !partida;
    $('#desfazer').disabled = !partida || atual.repeticao > 0 || !velhaPartida.podeDesfazer(jogadas, computador.value);
    if (atual.repeticao > 0) return; // the game replayed is not yet the game
    if (partida) partidas.set(atual.nome, jogadas);
    const lista = $('#jogadas');
    const itens = jogadas.map((casa, n) => (n % 2 === 0 ? 'X ' : 'O ') + casa);
    if (Array.from(lista.children, (item) => item.textContent).join() !== itens.join()) {
      lista.replaceChildren(
        ...itens.map(function (texto) {
          const item = document.createElement('li');
          item.textContent = texto;
          return item;
        }),
      );
    }
    const fragmento = velhaPartida.fragmento(atual.nome, jogadas);
    if (location.hash !== fragmento) history.replaceState(null, '', fragmento);
    jogarPeloComputador(atual);
  }

  function jogarPeloComputador(atual) {
    const jogo = velhaTabuleiro.jogo();
    if (!temPartida(atual) || atual.terminada || !jogo || jogo.fim !== '-' || jogo.vez !== computador.value) return;
    const posicao = velhaPartida.emTexto(jogo);
    if (atual.pedido === posicao) return; // asked once: reader may have no rule here
    atual.pedido = posicao;
    velhaTabuleiro.travar(true);
    setTimeout(function () {
      const agora = velhaTabuleiro.jogo();
      if (
        sessao === atual &&
        !atual.terminada &&
        agora &&
        velhaPartida.emTexto(agora) === posicao &&
        agora.vez === computador.value
      ) {
        enviar('b');
      } else {
        velhaTabuleiro.travar(false);
      }
    }, pausaDoComputador);
  }

  function habilitarComandos(ativo) {
    campo.disabled = !ativo;
    $('#linha-form button').disabled = !ativo;
    for (const botao of document.querySelectorAll('[data-linha]:not([data-casa])')) {
      const so = botao.dataset.so;
      botao.disabled = !ativo || (so !== undefined && sessao !== null && sessao.nome !== so);
      botao.hidden = so !== undefined && (sessao === null || sessao.nome !== so);
    }
    mostrarPartida();
  }

  // Starts the program nome afresh and plays the cells jogadas in it, as j lines.
  async function iniciar(nome, jogadas = []) {
    avisar('');
    let dicionario = null;
    if (nome === 'reader') {
      // No program runs with a dictionary the person did not choose; the one running goes
      // on.
      try {
        dicionario = await dicionarioEscolhido();
      } catch (erro) {
        avisar(erro.message);
        return;
      }
    }
    if (sessao) {
      sessao.abandonada = true; // its output is no longer shown
      if (sessao.execucao) sessao.execucao.parar();
    }
    for (const botao of document.querySelectorAll('[data-programa]')) {
      botao.setAttribute('aria-pressed', String(botao.dataset.programa === nome));
    }
    velhaConsole.esquecer();
    consoleDoPrograma.textContent = '';
    erros.textContent = '';
    erros.hidden = true;
    $('#fim').hidden = true;
    $('#nome-do-programa').textContent = '(' + nome + ')';
    const atual = {
      nome: nome,
      dicionario: dicionario,
      linhas: [], // sent before the program started
      execucao: null, // once it has started: enviar(bytes), parar()
      saida: [], // what it wrote on standard output
      decodificadores: { 1: new TextDecoder(), 2: new TextDecoder() },
      abandonada: false,
      terminada: false,
      jogadas: [], // the cells played, as its games tell them
      ultimoJogo: null,
      repeticao: jogadas.length, // while its game has fewer cells, the game is being replayed
      pedido: null, // the position in which the computer last sent b
      inicioDoTrecho: 0, // where in saida what followed its last game begins
      regras: 0,
      lados: new Set(), // the sides scribe's b recorded rules for
    };
    sessao = atual;
    $('#listagem').hidden = true;
    velhaTabuleiro.iniciar(nome, new Map(dicionario ? [['dicionario.txt', dicionario.bytes]] : []));
    explicar();
    // Lines sent while the program loads wait for it, as typed-ahead input does.
    habilitarComandos(true);
    for (const casa of jogadas) enviar('j ' + casa);
    try {
      // The board's helper too, so that loading it is over when the program starts.
      await Promise.all([velhaExecutor.carregar(nome), velhaExecutor.carregar('why').catch(() => undefined)]);
    } catch (erro) {
      if (atual.abandonada) return;
      avisar(t('naoCarregou', erro.message));
      terminar(atual, null);
      return;
    }
    if (atual.abandonada) return;
    atual.execucao = velhaExecutor.iniciar(
      nome,
      dicionario ? dicionario.arquivos : new Map(),
      {
        escrever: function (descritor, bytes) {
          if (atual.abandonada) return;
          if (descritor === 1) atual.saida.push(bytes);
          const texto = atual.decodificadores[descritor].decode(bytes, { stream: true });
          if (descritor === 2) {
            erros.hidden = false;
            velhaConsole.acrescentar(erros, texto, 'erro');
          } else {
            velhaConsole.acrescentar(consoleDoPrograma, texto, 'saida');
          }
        },
        // Drawn in the frame that shows the text that led to it, which came first.
        jogo: function (casas, vez, fim) {
          if (atual.abandonada) return;
          const novo = { casas: casas, vez: vez, fim: fim };
          atual.jogadas = velhaPartida.depoisDe(atual.jogadas, atual.ultimoJogo, novo);
          atual.ultimoJogo = novo;
          if (atual.jogadas.length >= atual.repeticao) atual.repeticao = 0;
          if (atual.nome === 'scribe') guardarSeForListagem(atual);
          atual.inicioDoTrecho = atual.saida.length;
          // Drawn once the text that led to it is on screen; only the last game told counts.
          const jogadas = atual.jogadas;
          velhaConsole.depoisDoTexto(function () {
            // The answer, or reader's word that it has none, is here: the computer asks
            // again below only for a new position.
            velhaTabuleiro.travar(false);
            velhaTabuleiro.mostrar(casas, vez, fim, jogadas);
            if (atual.nome === 'scribe') explicar();
            mostrarPartida();
          });
        },
        regras: function (quantas) {
          if (atual.abandonada) return;
          // b leaves the game as it was: the side to move is the side it recorded.
          if (quantas > atual.regras && atual.ultimoJogo) atual.lados.add(atual.ultimoJogo.vez);
          atual.regras = quantas;
          velhaTabuleiro.regras(quantas);
        },
        terminar: function (status) {
          terminar(atual, status);
        },
      },
      dicionario ? dicionario.argumentos : [],
    );
    $('#parar').disabled = false;
    // Lines sent while the program loaded, as typed-ahead input.
    for (const linha of atual.linhas) atual.execucao.enviar(linha);
    atual.linhas = [];
    explicarMudanca();
  }

  function frase(atual) {
    if (atual.status === null) return t('parado', atual.nome);
    if (atual.status === 0) return t('terminou', atual.nome, 0);
    return t('terminouComErro', atual.nome, atual.status);
  }

  // status is null when the person stopped the program.
  function terminar(atual, status) {
    if (atual.abandonada) return;
    atual.terminada = true;
    atual.status = status;
    habilitarComandos(false);
    velhaTabuleiro.terminar();
    $('#parar').disabled = true;
    if (atual.nome === 'scribe' && status !== null) guardarSeForListagem(atual);
    $('#status').textContent = frase(atual);
    $('#fim').hidden = false;
    explicarMudanca();
    $('#de-novo').focus();
  }

  // What scribe wrote since its last game, when that is a listing: lines "KEY CELL" only
  // (a refused move writes its message and the board). Offered to reader at once.
  function guardarSeForListagem(atual) {
    const partes = atual.saida.slice(atual.inicioDoTrecho);
    let tamanho = 0;
    for (const parte of partes) tamanho += parte.length;
    if (tamanho === 0) return;
    const bytes = new Uint8Array(tamanho);
    let feitos = 0;
    for (const parte of partes) {
      bytes.set(parte, feitos);
      feitos += parte.length;
    }
    if (!/^(\d+ \d\n)+$/.test(new TextDecoder().decode(bytes))) return;
    ultimaListagem = bytes;
    ladosDaListagem = Array.from(atual.lados).sort().reverse(); // X before O
    $('#usar-listagem').disabled = false;
    $('#salvar-listagem').disabled = false;
    explicarListagem();
  }

  function explicarListagem() {
    if (!ultimaListagem) return;
    const lados = ladosDaListagem.length === 2 ? t('eLados') : ladosDaListagem.join('');
    const texto = ladosDaListagem.length === 0 ? t('ladosNenhum') : t('ladosDaListagem', lados);
    $('#lados-da-listagem').textContent = texto;
    $('#listagem').textContent = texto;
    $('#listagem').hidden = !sessao || sessao.nome !== 'scribe';
  }

  // A typed line is echoed whole up to this many characters; past them (a paste gone
  // wrong) the echo is cut, so that the console answers at once, and the program still
  // receives the whole line.
  const ecoMaximo = 2000;

  function eco(linha) {
    if (linha.length <= ecoMaximo) return linha;
    const corte = /[\uD800-\uDBFF]/.test(linha[ecoMaximo - 1]) ? ecoMaximo - 1 : ecoMaximo;
    return linha.slice(0, corte) + t('ecoCortado', linha.length - corte);
  }

  // A line reaches the program as its bytes and "\n", as a terminal sends it.
  function enviar(linha) {
    if (!sessao || campo.disabled) return;
    velhaConsole.acrescentar(consoleDoPrograma, '> ' + eco(linha) + '\n', 'entrada');
    const bytes = codificador.encode(linha + '\n');
    if (sessao.execucao) sessao.execucao.enviar(bytes);
    else sessao.linhas.push(bytes);
  }

  // A program chosen starts with the game it had; the one running goes on.
  for (const botao of document.querySelectorAll('[data-programa]')) {
    botao.addEventListener('click', function () {
      const nome = botao.dataset.programa;
      if (sessao && sessao.nome === nome && !sessao.terminada) return;
      iniciar(nome, partidas.get(nome) || []);
    });
  }
  for (const botao of document.querySelectorAll('[data-linha]')) {
    botao.addEventListener('click', function () {
      if (botao.getAttribute('aria-disabled') === 'true') return; // a cell not offered
      enviar(botao.dataset.linha);
      // A move of the person's: the computer answers next, if it plays the other side.
      const jogo = velhaTabuleiro.jogo();
      if (botao.dataset.casa !== undefined && temPartida(sessao) && jogo && jogo.vez !== computador.value) {
        velhaTabuleiro.travar(computador.value !== 'ninguem');
      }
    });
  }
  $('#novo-jogo').addEventListener('click', function () {
    if (sessao) iniciar(sessao.nome);
  });
  $('#desfazer').addEventListener('click', function () {
    if (sessao) iniciar(sessao.nome, velhaPartida.desfeitas(sessao.jogadas, computador.value));
  });
  computador.addEventListener('change', function () {
    try {
      localStorage.setItem(guardado, computador.value);
    } catch (e) {
      // Not kept: the game still changes.
    }
    if (sessao) {
      sessao.pedido = null;
      mostrarPartida();
    }
  });
  $('#copiar').addEventListener('click', async function () {
    const endereco = location.href;
    try {
      await navigator.clipboard.writeText(endereco);
      $('#copiado').textContent = t('enderecoCopiado', endereco);
    } catch (e) {
      // No clipboard here (a page from disk, a browser that asks first): shown to copy.
      $('#copiado').textContent = t('enderecoParaCopiar', endereco);
    }
  });

  // An address's game: played with nobody moving for the computer, so that it stays as it
  // was sent; an address that is no game opens a fresh page, saying why.
  function abrirEndereco() {
    const pedido = velhaPartida.lerFragmento(location.hash);
    if (pedido === null) return;
    if (pedido.erro) {
      const textos = {
        programa: 'programaDesconhecido',
        semPartida: 'semPartida',
        casa: 'casaInvalida',
        ocupada: 'casaOcupada',
        depoisDoFim: 'depoisDoFim',
      };
      const motivo = t(textos[pedido.erro], 'programa' in pedido ? pedido.programa : pedido.casa);
      const fragmento = location.hash;
      history.replaceState(null, '', location.pathname + location.search);
      avisar(t('naoEJogo', fragmento, motivo));
      return;
    }
    if (
      sessao &&
      velhaPartida.fragmento(sessao.nome, sessao.jogadas) === velhaPartida.fragmento(pedido.programa, pedido.jogadas)
    )
      return;
    if (pedido.jogadas.length > 0) computador.value = 'ninguem';
    partidas.set(pedido.programa, pedido.jogadas);
    iniciar(pedido.programa, pedido.jogadas);
  }
  window.addEventListener('hashchange', abrirEndereco);
  $('#linha-form').addEventListener('submit', function (evento) {
    evento.preventDefault();
    enviar(campo.value);
    campo.value = '';
  });
  $('#parar').addEventListener('click', function () {
    if (sessao && sessao.execucao) sessao.execucao.parar();
  });
  $('#de-novo').addEventListener('click', function () {
    if (sessao) iniciar(sessao.nome);
  });
  $('#arquivo').addEventListener('change', function () {
    document.querySelector('input[name="dicionario"][value="arquivo"]').checked = true;
    explicarMudanca();
  });
  for (const opcao of document.querySelectorAll('input[name="dicionario"]')) {
    opcao.addEventListener('change', explicarMudanca);
  }
  $('#reiniciar-reader').addEventListener('click', function () {
    iniciar('reader');
  });
  const seletor = $('#idioma');
  seletor.value = velhaTextos.idioma();
  seletor.addEventListener('change', function () {
    velhaTextos.mudar(seletor.value);
  });
  velhaTextos.aoMudar(function () {
    explicar();
    explicarListagem();
    if (sessao && sessao.terminada) $('#status').textContent = frase(sessao);
  });
  velhaTextos.aplicar();
  $('#salvar-listagem').addEventListener('click', function () {
    const endereco = URL.createObjectURL(new Blob([ultimaListagem], { type: 'text/plain' }));
    const ligacao = document.createElement('a');
    ligacao.href = endereco;
    ligacao.download = 'dicionario.txt';
    document.body.appendChild(ligacao);
    ligacao.click();
    ligacao.remove();
    setTimeout(function () {
      URL.revokeObjectURL(endereco);
    }, 0);
  });
  mostrarPartida();
  abrirEndereco();
  // The programs a person plays, and the board's helper, started ahead as a first start
  // starts them: seeker with no file, reader with the complete dictionary.
  const completo = new Map([['dicionario.txt', bytesDoCompleto]]);
  for (const [nome, arquivos] of [
    ['seeker', new Map()],
    ['why', new Map()],
    ['reader', completo],
    ['why', completo],
    ['scribe', null],
  ]) {
    velhaExecutor.preparar(nome, arquivos);
  }
})();
