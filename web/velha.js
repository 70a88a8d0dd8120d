// The page: starts one of the three programs (seeker.js, reader.js, scribe.js, each the
// program's JavaScript and WebAssembly as text) in a worker (executor.js), hands it the
// person's lines as its standard input and shows exactly what it writes: standard output
// in the console, standard error apart. platform/web/sistema.js is the program's side of
// this exchange (Module.velha).
'use strict';

(function () {
  const $ = (seletor) => document.querySelector(seletor);
  const consoleDoPrograma = $('#console');
  const erros = $('#erros');
  const campo = $('#linha');
  const codificador = new TextEncoder();

  let sessao = null; // the program running now
  let ultimaListagem = null; // the bytes scribe last wrote on standard output

  // A program's script adds its text to velhaFontes; each is loaded once, when first chosen.
  function carregar(nome) {
    if (window.velhaFontes && window.velhaFontes[nome]) return Promise.resolve();
    return new Promise(function (pronto, falhou) {
      const script = document.createElement('script');
      script.src = nome + '.js';
      script.onload = pronto;
      script.onerror = function () {
        falhou(new Error(nome + '.js could not be loaded'));
      };
      document.body.appendChild(script);
    });
  }

  async function dicionarioEscolhido() {
    const escolha = document.querySelector('input[name="dicionario"]:checked').value;
    if (escolha === 'listagem' && ultimaListagem) return ultimaListagem;
    if (escolha === 'arquivo' && $('#arquivo').files.length === 1) {
      return new Uint8Array(await $('#arquivo').files[0].arrayBuffer());
    }
    return codificador.encode(window.velhaDicionarioCompleto || '');
  }

  // What reaches a log waits for the next animation frame, and then goes in at once: a
  // listing of thousands of lines is a few text nodes and one scroll, not thousands of
  // elements each followed by a layout.
  const pendentes = new Map(); // log element -> [{ texto, classe }], in order
  let quadroPedido = false;

  function acrescentar(elemento, texto, classe) {
    if (!pendentes.has(elemento)) pendentes.set(elemento, []);
    const partes = pendentes.get(elemento);
    const ultima = partes[partes.length - 1];
    if (ultima && ultima.classe === classe) {
      ultima.texto += texto;
    } else {
      partes.push({ texto: texto, classe: classe });
    }
    if (!quadroPedido) {
      quadroPedido = true;
      requestAnimationFrame(mostrarPendentes);
    }
  }

  function mostrarPendentes() {
    quadroPedido = false;
    for (const [elemento, partes] of pendentes) {
      for (const { texto, classe } of partes) {
        const ultima = elemento.lastElementChild;
        if (ultima && ultima.className === classe) {
          ultima.append(texto);
        } else {
          const parte = document.createElement('span');
          parte.className = classe;
          parte.textContent = texto;
          elemento.appendChild(parte);
        }
      }
      elemento.scrollTop = elemento.scrollHeight;
    }
    pendentes.clear();
  }

  function habilitarComandos(ativo) {
    campo.disabled = !ativo;
    $('#linha-form button').disabled = !ativo;
    for (const botao of document.querySelectorAll('[data-linha]')) {
      const so = botao.dataset.so;
      botao.disabled = !ativo || (so !== undefined && sessao !== null && sessao.nome !== so);
      botao.hidden = so !== undefined && sessao !== null && sessao.nome !== so;
    }
  }

  async function iniciar(nome) {
    if (sessao) {
      sessao.abandonada = true; // its output is no longer shown
      if (sessao.execucao) sessao.execucao.parar();
    }
    for (const botao of document.querySelectorAll('[data-programa]')) {
      botao.setAttribute('aria-pressed', String(botao.dataset.programa === nome));
    }
    pendentes.clear();
    consoleDoPrograma.textContent = '';
    erros.textContent = '';
    erros.hidden = true;
    $('#fim').hidden = true;
    $('#nome-do-programa').textContent = '(' + nome + ')';
    const atual = {
      nome: nome,
      linhas: [], // sent before the program started
      execucao: null, // once it has started: enviar(bytes), parar()
      saida: [], // what it wrote on standard output
      decodificadores: { 1: new TextDecoder(), 2: new TextDecoder() },
      abandonada: false,
    };
    sessao = atual;
    // Lines sent while the program loads wait for it, as typed-ahead input does.
    habilitarComandos(true);
    campo.focus();
    const arquivos = {};
    if (nome === 'reader') arquivos['dicionario.txt'] = await dicionarioEscolhido();
    await carregar(nome);
    if (atual.abandonada) return;
    atual.execucao = velhaExecutor.iniciar(
      nome,
      arquivos,
      function (descritor, bytes) {
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
      function (status) {
        terminar(atual, status);
      });
    $('#parar').disabled = false;
    // Lines sent while the program loaded, as typed-ahead input.
    for (const linha of atual.linhas) atual.execucao.enviar(linha);
    atual.linhas = [];
  }

  // status is null when the person stopped the program.
  function terminar(atual, status) {
    if (atual.abandonada) return;
    habilitarComandos(false);
    $('#parar').disabled = true;
    if (atual.nome === 'scribe' && status !== null) guardarListagem(atual.saida);
    $('#status').textContent = status === null ? atual.nome + ' was stopped.'
      : atual.nome + ' ended with status ' + status + '.';
    $('#fim').hidden = false;
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

  // A line reaches the program as its bytes and "\n", as a terminal sends it.
  function enviar(linha) {
    if (!sessao || campo.disabled) return;
    acrescentar(consoleDoPrograma, '> ' + linha + '\n', 'entrada');
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
  });
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
