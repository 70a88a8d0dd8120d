// The page: starts one of the three programs (seeker.js, reader.js, scribe.js, each the
// program's JavaScript and WebAssembly as text) in a worker (executor.js), hands it the
// person's lines as its standard input and shows exactly what it writes: standard output
// in the console, standard error apart, and the board (tabuleiro.js) what it tells of its
// game. platform/web/sistema.js is the program's side of this exchange (Module.velha).
// It also gives reader the dictionary the person chose, names it, and says what each
// program does; the page's texts are in textos.js.
'use strict';

(function () {
  const $ = (seletor) => document.querySelector(seletor);
  const consoleDoPrograma = $('#console');
  const erros = $('#erros');
  const campo = $('#linha');
  const codificador = new TextEncoder();

  const t = velhaTextos.t;

  let sessao = null; // the program running now
  let ultimaListagem = null; // the bytes scribe last wrote on standard output

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
    const bytes = escolha.valor === 'listagem' ? ultimaListagem : codificador.encode(window.velhaDicionarioCompleto || '');
    return { bytes: bytes, arquivos: new Map([['dicionario.txt', bytes]]), argumentos: [], nome: escolha.nome };
  }

  // What the program does, in one line, with the dictionary reader plays from and the side
  // scribe's b records.
  function explicar() {
    const explicacao = $('#explicacao');
    if (!sessao) {
      explicacao.textContent = '';
    } else if (sessao.nome === 'reader') {
      explicacao.textContent = t('explicacaoReader', sessao.dicionario ? sessao.dicionario.nome() : escolhaDoDicionario().nome());
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
    if (mudou) $('#mudanca-texto').textContent = t('mudancaDeDicionario', sessao.dicionario.nome(), escolhaDoDicionario().nome());
  }

  // What reaches a log waits for the next animation frame, and then goes in at once: a
  // listing of thousands of lines is a few text nodes and one scroll, not thousands of
  // elements each followed by a layout.
  const pendentes = new Map(); // log element -> [{ texto, classe }], in order
  let jogoPendente = null; // the game the program told last, drawn with its text
  let quadroPedido = false;

  function pedirQuadro() {
    if (!quadroPedido) {
      quadroPedido = true;
      requestAnimationFrame(mostrarPendentes);
    }
  }

  function acrescentar(elemento, texto, classe) {
    if (!pendentes.has(elemento)) pendentes.set(elemento, []);
    const partes = pendentes.get(elemento);
    const ultima = partes[partes.length - 1];
    if (ultima && ultima.classe === classe) {
      ultima.texto += texto;
    } else {
      partes.push({ texto: texto, classe: classe });
    }
    pedirQuadro();
  }

  // A log holds its text in blocks of whole lines, so that what comes in is laid out alone,
  // not with all that came before: the last block may be open, holding a line not ended yet.
  function blocoAberto(elemento) {
    const ultimo = elemento.lastElementChild;
    if (ultimo && !ultimo.classList.contains('fechado')) return ultimo;
    const bloco = document.createElement('span');
    bloco.className = 'bloco';
    elemento.appendChild(bloco);
    return bloco;
  }

  function juntar(bloco, texto, classe) {
    const ultima = bloco.lastElementChild;
    if (ultima && ultima.className === classe) {
      ultima.append(texto);
    } else {
      const parte = document.createElement('span');
      parte.className = classe;
      parte.textContent = texto;
      bloco.appendChild(parte);
    }
  }

  // At most this much text goes in a frame, so that no frame's layout takes long (8 KB
  // took up to 35 ms on a busy machine): scribe's listing, some 19 KB, takes ten frames.
  const textoPorQuadro = 2048;

  // The logs that took text in the last frame, scrolled to their end at the start of the
  // next, when the last frame has laid them out: asking their height right after adding
  // text would lay them out once more.
  const aRolar = new Set();

  function mostrarPendentes() {
    quadroPedido = false;
    for (const elemento of aRolar) elemento.scrollTop = elemento.scrollHeight;
    aRolar.clear();
    let cabe = textoPorQuadro;
    for (const [elemento, partes] of pendentes) {
      while (partes.length > 0 && cabe > 0) {
        const parte = partes[0];
        let corte = Math.min(parte.texto.length, cabe);
        // Never between the two halves of a character outside the Basic Multilingual Plane.
        if (corte < parte.texto.length && /[\uD800-\uDBFF]/.test(parte.texto[corte - 1])) corte -= 1;
        const texto = parte.texto.slice(0, corte);
        parte.texto = parte.texto.slice(corte);
        if (parte.texto === '') partes.shift();
        cabe -= Math.max(corte, 1);
        // Complete lines go into the open block and close it; what follows the last line
        // end opens the next: a block once closed is never laid out again.
        const fimDeLinha = texto.lastIndexOf('\n') + 1;
        if (fimDeLinha > 0) {
          juntar(blocoAberto(elemento), texto.slice(0, fimDeLinha), parte.classe);
          elemento.lastElementChild.classList.add('fechado');
        }
        if (fimDeLinha < texto.length) juntar(blocoAberto(elemento), texto.slice(fimDeLinha), parte.classe);
      }
      aRolar.add(elemento);
      if (partes.length === 0) pendentes.delete(elemento);
    }
    if (aRolar.size > 0) pedirQuadro();
    // The board waits for the text that led to it.
    if (pendentes.size > 0) return;
    if (jogoPendente) {
      velhaTabuleiro.mostrar(jogoPendente.casas, jogoPendente.vez, jogoPendente.fim);
      jogoPendente = null;
      if (sessao && sessao.nome === 'scribe') explicar();
    }
  }

  function habilitarComandos(ativo) {
    campo.disabled = !ativo;
    $('#linha-form button').disabled = !ativo;
    for (const botao of document.querySelectorAll('[data-linha]:not([data-casa])')) {
      const so = botao.dataset.so;
      botao.disabled = !ativo || (so !== undefined && sessao !== null && sessao.nome !== so);
      botao.hidden = so !== undefined && sessao !== null && sessao.nome !== so;
    }
  }

  async function iniciar(nome) {
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
    pendentes.clear();
    jogoPendente = null;
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
    };
    sessao = atual;
    velhaTabuleiro.iniciar(nome, new Map(dicionario ? [['dicionario.txt', dicionario.bytes]] : []));
    explicar();
    // Lines sent while the program loads wait for it, as typed-ahead input does.
    habilitarComandos(true);
    // Not on a touch screen, where a focused field raises a keyboard over the board.
    if (!window.matchMedia('(pointer: coarse)').matches) campo.focus();
    try {
      // The board's helper too, so that loading it is over when the program starts.
      await Promise.all([velhaExecutor.carregar(nome), velhaExecutor.carregar('vereditos').catch(() => undefined)]);
    } catch (erro) {
      if (atual.abandonada) return;
      avisar(t('naoCarregou', erro.message));
      terminar(atual, null);
      return;
    }
    if (atual.abandonada) return;
    atual.execucao = velhaExecutor.iniciar(nome, dicionario ? dicionario.arquivos : new Map(), {
      escrever: function (descritor, bytes) {
        if (atual.abandonada) return;
        if (descritor === 1) atual.saida.push(bytes);
        const texto = atual.decodificadores[descritor].decode(bytes, { stream: true });
        if (descritor === 2) {
          erros.hidden = false;
          acrescentar(erros, texto, 'erro');
        } else {
          acrescentar(consoleDoPrograma, texto, 'saida');
        }
      },
      // Drawn in the frame that shows the text that led to it, which came first.
      jogo: function (casas, vez, fim) {
        if (atual.abandonada) return;
        jogoPendente = { casas: casas, vez: vez, fim: fim };
        pedirQuadro();
      },
      regras: function (quantas) {
        if (!atual.abandonada) velhaTabuleiro.regras(quantas);
      },
      terminar: function (status) {
        terminar(atual, status);
      },
    }, dicionario ? dicionario.argumentos : []);
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
    if (atual.nome === 'scribe' && status !== null) guardarListagem(atual.saida);
    $('#status').textContent = frase(atual);
    $('#fim').hidden = false;
    explicarMudanca();
    $('#de-novo').focus();
  }

  function guardarListagem(partes) {
    let tamanho = 0;
    for (const parte of partes) tamanho += parte.length;
    ultimaListagem = new Uint8Array(tamanho);
    let feitos = 0;
    for (const parte of partes) {
      ultimaListagem.set(parte, feitos);
      feitos += parte.length;
    }
    $('#usar-listagem').disabled = false;
    $('#salvar-listagem').disabled = false;
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
    acrescentar(consoleDoPrograma, '> ' + eco(linha) + '\n', 'entrada');
    const bytes = codificador.encode(linha + '\n');
    if (sessao.execucao) sessao.execucao.enviar(bytes);
    else sessao.linhas.push(bytes);
  }

  for (const botao of document.querySelectorAll('[data-programa]')) {
    botao.addEventListener('click', function () {
      iniciar(botao.dataset.programa);
    });
  }
  for (const botao of document.querySelectorAll('[data-linha]')) {
    botao.addEventListener('click', function () {
      enviar(botao.dataset.linha);
    });
  }
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
    if (sessao && sessao.terminada) $('#status').textContent = frase(sessao);
  });
  velhaTextos.aplicar();
  $('#salvar-listagem').addEventListener('click', function () {
    const endereco = URL.createObjectURL(new Blob([ultimaListagem], { type: 'text/plain' }));
    const link = document.createElement('a');
    link.href = endereco;
    link.download = 'dicionario.txt';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () {
      URL.revokeObjectURL(endereco);
    }, 0);
  });
})();
