// The board and its verdicts. The board is the running program's game as its record stands
// after each command, which the program hands the page (platform/pagina.h, mostrarOJogo),
// never read from the console's text. Each cell is a button named for what holds it
// ("cell 4: X"); a free cell plays there (j N), a taken one holds focus but is not offered
// (aria-disabled). The board is one Tab stop, its cells reached with the arrow keys. Below
// it, whose turn it is or how the game ended, announced as it changes.
//
// The verdicts come from the helper (ajudante.js): what each free cell leads to, the cell
// seeker's b plays, the rule of the dictionary reader was given, and the best play after
// each cell. With "Show why" on, each free cell shows its verdict, and describes the play
// that leads there.
'use strict';

var velhaTabuleiro = (function () {
  const t = velhaTextos.t;
  const botoes = Array.from(document.querySelectorAll('.tabuleiro [data-casa]'));
  const descricoes = Array.from(document.querySelectorAll('[data-depois]'));
  const situacao = document.querySelector('#situacao');
  const nota = document.querySelector('#nota');
  const legenda = document.querySelector('#legenda');
  const porque = document.querySelector('#porque');
  const painel = document.querySelector('#continuacao');
  const lado = 3; // cells in a row

  let jogo = null; // { casas: 'X..O.....', vez: 'X', fim: '-' }, once a program has told it
  let ultimaJogada = null; // the move that led to it, if one did: { casa, marca }
  let ativo = false; // whether a program is running and takes moves
  let travado = false; // the computer is to move: no cell is the person's to play
  let programa = null;
  let regras = null; // scribe's rule count, once told
  let resposta = null; // the helper's answer for the game shown, once it has come
  let foco = 4; // the cell that takes the board's one Tab stop
  let apontada = null; // the cell hovered or focused, whose best line the panel shows
  let vencedora = null; // the cells of the line a win completed, once the game is won
  const pergunta = velhaPartida.emTexto;

  // The helper's answer, taken if it is for the game shown (it may come after another).
  function responder(linha) {
    const lida = velhaPartida.lerResposta(linha);
    if (lida && jogo && lida.pergunta === pergunta(jogo)) {
      resposta = lida;
      desenhar();
    }
  }

  // A helper started late asks about the game it missed.
  velhaAjudante.aoComecar(() => {
    if (emJogo()) velhaAjudante.perguntar(pergunta(jogo));
  });

  function veredito(codigo) {
    if (codigo === 'e') return { texto: t('empate'), classe: 'empata' };
    const k = Number(codigo.slice(1));
    if (codigo[0] === 'v') return { texto: k === 0 ? t('venceAgora') : t('venceEm', k), classe: 'vence' };
    return { texto: t('perdeEm', k), classe: 'perde' };
  }

  function emJogo() {
    return jogo !== null && jogo.fim === '-';
  }

  // "then O 5, X 7, O 2": the best play after the side to move plays casa, or '' where the
  // game ends with it (or nothing is known).
  function depois(casa) {
    if (!porque.checked || !emJogo() || !resposta || resposta.casas[casa] === '-') return '';
    const jogadas = resposta.continuacoes[casa];
    if (jogadas.length === 0) return '';
    let marca = jogo.vez;
    const feitas = jogadas.map(function (celula) {
      marca = marca === 'X' ? 'O' : 'X';
      return marca + ' ' + celula;
    });
    return t('depois', feitas.join(', '));
  }

  function desenharCasa(botao, casa) {
    const marca = jogo ? jogo.casas[casa] : '.';
    const livre = marca === '.';
    const nome = [t('casa', casa, livre ? t('livre') : marca)];
    const linhas = [];
    botao.className = livre ? 'livre' : '';
    if (livre && emJogo() && resposta) {
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
    if (ultimaJogada && ultimaJogada.casa === casa) {
      nome.push(t('ultimaJogada'));
      linhas.push(t('ultimaJogada'));
      botao.classList.add('ultima');
    }
    if (vencedora && vencedora.includes(casa)) {
      nome.push(t('linhaVencedora'));
      linhas.push(t('linhaVencedora'));
      botao.classList.add('vencedora');
    }
    botao.setAttribute('aria-label', nome.join(', '));
    const oferecida = ativo && livre && emJogo() && !travado;
    botao.setAttribute('aria-disabled', String(!oferecida));
    botao.tabIndex = casa === foco ? 0 : -1;
    botao.textContent = livre ? String(casa) : marca;
    // Drawn by the style sheet under the cell's label, which stays its number or mark: the
    // verdict is in the cell's name already.
    if (linhas.length > 0) botao.dataset.porque = linhas.join('\n');
    else delete botao.dataset.porque;
    const descricao = depois(casa);
    descricoes[casa].textContent = descricao;
    if (descricao !== '') botao.setAttribute('aria-describedby', descricoes[casa].id);
    else botao.removeAttribute('aria-describedby');
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
    if (programa !== 'reader' || !emJogo() || !resposta) return '';
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

  // The best line of the cell pointed at, else of the best cell, beside the board.
  function desenharPainel() {
    const casa = apontada !== null && depois(apontada) !== '' ? apontada : resposta ? Number(resposta.melhor) : null;
    const texto = casa !== null && casa >= 0 ? depois(casa) : '';
    painel.textContent = texto === '' ? '' : t('depoisDaCasa', jogo.vez, casa, texto);
    painel.hidden = texto === '';
  }

  function desenhar() {
    botoes.forEach(desenharCasa);
    legenda.hidden = !porque.checked || !emJogo();
    if (jogo) legenda.textContent = t('legendaDoPorque', jogo.vez);
    const novaNota = textoDaNota();
    if (nota.textContent !== novaNota) nota.textContent = novaNota;
    desenharPainel();
  }

  // The arrow keys move the focus along rows and columns, Home and End to the corners.
  const passos = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: -lado, ArrowDown: lado };

  function mover(evento) {
    const casa = botoes.indexOf(evento.target);
    if (casa < 0) return;
    let destino = casa;
    if (evento.key === 'Home') destino = 0;
    else if (evento.key === 'End') destino = botoes.length - 1;
    else if (evento.key in passos) {
      const passo = passos[evento.key];
      const linha = Math.floor(casa / lado);
      const alvo = casa + passo;
      // Left and right stay in the row, up and down on the board.
      if (Math.abs(passo) === 1 ? Math.floor(alvo / lado) === linha && alvo >= 0 : alvo >= 0 && alvo < botoes.length) {
        destino = alvo;
      }
    } else {
      return;
    }
    evento.preventDefault();
    botoes[destino].focus(); // which makes it the board's Tab stop
  }

  function apontar(casa) {
    apontada = casa;
    desenharPainel();
  }

  botoes.forEach(function (botao, casa) {
    botao.addEventListener('keydown', mover);
    botao.addEventListener('focus', function () {
      foco = casa;
      botoes.forEach((b, c) => (b.tabIndex = c === foco ? 0 : -1));
      apontar(casa);
    });
    botao.addEventListener('mouseenter', () => apontar(casa));
    botao.addEventListener('mouseleave', () => apontar(null));
    botao.addEventListener('blur', () => apontar(null));
  });
  porque.addEventListener('change', () => desenhar());
  desenhar();
  velhaTextos.aoMudar(() => {
    anunciar();
    desenhar();
  });

  return {
    // The game as the program tells it: its cells, the side to move, how it ended, and the
    // cells played to reach it, in order (the last of them the move just made).
    mostrar: function (casas, vez, fim, jogadas) {
      const novo = { casas: casas, vez: vez, fim: fim };
      if (jogo && pergunta(jogo) === pergunta(novo) && jogo.fim === fim) return;
      const ultima = jogadas && jogadas.length > 0 ? jogadas[jogadas.length - 1] : null;
      ultimaJogada = ultima !== null && casas[ultima] !== '.' ? { casa: ultima, marca: casas[ultima] } : null;
      jogo = novo;
      vencedora = velhaPartida.linhaVencedora(casas);
      resposta = null;
      anunciar();
      desenhar();
      if (emJogo()) velhaAjudante.perguntar(pergunta(jogo));
    },
    regras: function (quantas) {
      regras = quantas;
      desenhar();
    },
    // A program starts (nome, with the files its helper reads) or ends (null).
    iniciar: function (nome, arquivos) {
      programa = nome;
      ativo = true;
      travado = false;
      jogo = null;
      ultimaJogada = null;
      vencedora = null;
      resposta = null;
      regras = null;
      situacao.textContent = '';
      velhaAjudante.iniciar(arquivos, responder);
      desenhar();
    },
    terminar: function () {
      ativo = false;
      velhaAjudante.parar();
      desenhar();
    },
    // From the person's move until the computer's answer is on the board, no cell is
    // offered, so that a quick second click is never played for the computer.
    travar: function (sim) {
      if (travado === sim) return;
      travado = sim;
      desenhar();
    },
    vez: () => (jogo ? jogo.vez : 'X'),
    emJogo: emJogo,
    jogo: () => jogo,
  };
})();
