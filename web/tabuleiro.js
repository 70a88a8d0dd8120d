// The board and its verdicts. The board is the running program's game as its record stands
// after each command, which the program hands the page (platform/sistema.h, mostrarOJogo),
// never read from the console's text. Each cell is a button named for what holds it
// ("cell 4: X"); a free cell plays there (j N), a taken one is not offered. Below it,
// whose turn it is or how the game ended, announced as it changes.
//
// The verdicts come from a helper program (verdicts/servico.cpp) run beside the one being
// played, in a worker of its own: asked "CELLS SIDE", it answers with what each free cell
// leads to, from the search seeker plays by, the cell seeker's b plays, and the rule of the
// dictionary reader was given. With "Show why" on, each free cell shows its verdict.
'use strict';

var velhaTabuleiro = (function () {
  const t = velhaTextos.t;
  const botoes = Array.from(document.querySelectorAll('.tabuleiro [data-casa]'));
  const situacao = document.querySelector('#situacao');
  const nota = document.querySelector('#nota');
  const legenda = document.querySelector('#legenda');
  const porque = document.querySelector('#porque');

  let jogo = null; // { casas: 'X..O.....', vez: 'X', fim: '-' }, once a program has told it
  let ultimaJogada = null; // the move that led to it, if one did: { casa, marca }
  let ativo = false; // whether a program is running and takes moves
  let programa = null;
  let regras = null; // scribe's rule count, once told
  let resposta = null; // the helper's answer for the game shown, once it has come

  // The helper: its run, and what was asked of it that it has not answered yet.
  let ajudante = null;

  function pergunta(umJogo) {
    return umJogo.casas + ' ' + umJogo.vez;
  }

  // "OO.XX.... X - - v2 - - v0 p1 p1 p1 5 n": per cell "-", "e", "vK" or "pK", then the
  // best cell or "-", then the dictionary's rule, "n" (none) or "-" (no dictionary).
  function lerResposta(linha) {
    const partes = linha.split(' ');
    if (partes.length !== 13) return null;
    return { pergunta: partes[0] + ' ' + partes[1], casas: partes.slice(2, 11), melhor: partes[11], regra: partes[12] };
  }

  function iniciarAjudante(arquivos) {
    pararAjudante();
    const atual = { execucao: null, resto: '', decodificador: new TextDecoder(), parado: false };
    ajudante = atual;
    velhaExecutor.carregar('vereditos').then(function () {
      if (atual.parado) return;
      atual.execucao = velhaExecutor.iniciar('vereditos', arquivos, {
        escrever: function (descritor, bytes) {
          if (descritor !== 1) return;
          const linhas = (atual.resto + atual.decodificador.decode(bytes, { stream: true })).split('\n');
          atual.resto = linhas.pop();
          for (const linha of linhas) {
            const lida = lerResposta(linha);
            if (lida && jogo && lida.pergunta === pergunta(jogo)) {
              resposta = lida;
              desenhar();
            }
          }
        },
        jogo: function () {},
        regras: function () {},
        terminar: function () {
          atual.execucao = null;
        },
      });
      if (jogo) perguntar();
    }, function () {
      // Without the helper the board still plays; only the verdicts are missing.
    });
  }

  function pararAjudante() {
    if (!ajudante) return;
    ajudante.parado = true;
    if (ajudante.execucao) ajudante.execucao.parar();
    ajudante = null;
  }

  function perguntar() {
    if (ajudante && ajudante.execucao && jogo.fim === '-') {
      ajudante.execucao.enviar(new TextEncoder().encode(pergunta(jogo) + '\n'));
    }
  }

  function veredito(codigo) {
    if (codigo === 'e') return { texto: t('empate'), classe: 'empata' };
    const k = Number(codigo.slice(1));
    if (codigo[0] === 'v') return { texto: k === 0 ? t('venceAgora') : t('venceEm', k), classe: 'vence' };
    return { texto: t('perdeEm', k), classe: 'perde' };
  }

  function desenharCasa(botao, casa) {
    const marca = jogo ? jogo.casas[casa] : '.';
    const livre = marca === '.';
    const emJogo = jogo !== null && jogo.fim === '-';
    const nome = [t('casa', casa, livre ? t('livre') : marca)];
    const linhas = [];
    botao.className = livre ? 'livre' : '';
    if (livre && emJogo && resposta) {
      const codigo = resposta.casas[casa];
      if (codigo !== '-' && porque.checked) {
        const dito = veredito(codigo);
        nome.push(dito.texto);
        linhas.push(dito.texto);
        botao.classList.add(dito.classe);
        if (resposta.melhor === String(casa)) {
          nome.push(t('melhor'));
          linhas.push('★ ' + t('melhor'));
        }
      }
      if (programa === 'reader' && resposta.regra === String(casa)) {
        nome.push(t('dicionario'));
        linhas.push('▣ ' + t('dicionario'));
        botao.classList.add('regra');
      }
    }
    botao.setAttribute('aria-label', nome.join(', '));
    botao.disabled = !ativo || !livre || !emJogo;
    botao.textContent = livre ? String(casa) : marca;
    // Drawn by the style sheet under the cell's label, which stays its number or mark: the
    // verdict is in the cell's name already.
    if (linhas.length > 0) botao.dataset.porque = linhas.join('\n');
    else delete botao.dataset.porque;
  }

  function textoDaSituacao(jogada) {
    if (!jogo) return '';
    if (jogo.fim === '=') return jogada ? t('jogouEmpatou', jogada.marca, jogada.casa) : t('empatou');
    if (jogo.fim !== '-') return jogada ? t('jogouVenceu', jogo.fim, jogada.casa) : t('venceu', jogo.fim);
    return jogada ? t('jogouVezDe', jogada.marca, jogada.casa, jogo.vez) : t('vezDe', jogo.vez);
  }

  // The notes under the board: reader's rule where it is missing, names a taken cell or is
  // not among the best; scribe's rule count.
  function textoDaNota() {
    if (programa === 'scribe' && regras !== null) return t('regrasGravadas', regras);
    if (programa !== 'reader' || !jogo || jogo.fim !== '-' || !resposta) return '';
    if (resposta.regra === 'n') return t('semRegra');
    if (resposta.regra === '-') return '';
    const regra = Number(resposta.regra);
    if (resposta.casas[regra] === '-') return t('regraOcupada', regra);
    if (resposta.casas[regra] !== resposta.casas[Number(resposta.melhor)]) return t('regraFora', regra);
    return '';
  }

  // Said once for each game the program tells: a status region reads out each change.
  function anunciar() {
    situacao.textContent = textoDaSituacao(ultimaJogada);
  }

  function desenhar() {
    botoes.forEach(desenharCasa);
    legenda.hidden = !porque.checked || !jogo || jogo.fim !== '-';
    if (jogo) legenda.textContent = t('legendaDoPorque', jogo.vez);
    const novaNota = textoDaNota();
    if (nota.textContent !== novaNota) nota.textContent = novaNota;
  }

  // The one cell that a move filled between two games, if that is what happened.
  function jogadaEntre(antes, depois) {
    if (!antes) return null;
    let achada = null;
    for (let casa = 0; casa < depois.casas.length; ++casa) {
      if (antes.casas[casa] === depois.casas[casa]) continue;
      if (antes.casas[casa] !== '.' || achada !== null) return null;
      achada = { casa: casa, marca: depois.casas[casa] };
    }
    return achada;
  }

  porque.addEventListener('change', () => desenhar());
  desenhar();
  velhaTextos.aoMudar(() => {
    anunciar();
    desenhar();
  });

  return {
    // The game as the program tells it: its cells, the side to move, how it ended.
    mostrar: function (casas, vez, fim) {
      const novo = { casas: casas, vez: vez, fim: fim };
      if (jogo && pergunta(jogo) === pergunta(novo) && jogo.fim === fim) return;
      ultimaJogada = jogadaEntre(jogo, novo);
      jogo = novo;
      resposta = null;
      anunciar();
      desenhar();
      perguntar();
    },
    regras: function (quantas) {
      regras = quantas;
      desenhar();
    },
    // A program starts (nome, with the files its helper reads) or ends (null).
    iniciar: function (nome, arquivos) {
      programa = nome;
      ativo = true;
      jogo = null;
      ultimaJogada = null;
      resposta = null;
      regras = null;
      situacao.textContent = '';
      iniciarAjudante(arquivos);
      desenhar();
    },
    terminar: function () {
      ativo = false;
      pararAjudante();
      desenhar();
    },
    vez: () => (jogo ? jogo.vez : 'X'),
  };
})();
