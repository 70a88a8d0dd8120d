// The page's own texts, in Portuguese and English (the programs speak Portuguese
// whatever the page does). The language is ?lang=pt or ?lang=en when the address names
// one, else the one the person last chose here, else the first of the browser's that the
// page speaks, else English. Elements name their text with data-t (its text),
// data-t-label (aria-label) and data-t-placeholder.
'use strict';

var velhaTextos = (function () {
  const textos = {
    en: {
      titulo: 'velha: tic-tac-toe in the browser',
      subtitulo: 'tic-tac-toe (“jogo da velha”)',
      apresentacao:
        'The three console programs, running in this page: seeker plays by searching every way the game can go, reader from a dictionary, scribe writes one. Pick one; the programs themselves speak Portuguese.',
      idioma: 'Language',
      programa: 'Program',
      dicionarioDoReader: 'reader’s dictionary',
      dicionarioCompleto: 'the complete dictionary',
      umArquivo: 'a file:',
      ultimaListagem: 'scribe’s last listing',
      tabuleiro: 'Board',
      nomeDoTabuleiro: 'board',
      mostrarPorque: 'Show why',
      legendaDoPorque:
        'On each free cell: how the game ends if {0} plays there and both sides then play perfectly; K counts the moves still to come. ★ best is the cell b plays; others with the same verdict are as good.',
      console: 'Console',
      nomeDoConsole: 'console',
      nomeDosErros: 'standard error',
      comando: 'Command',
      umaLinha: 'a line, then Enter',
      enviar: 'Send',
      comandos: 'commands',
      melhorJogada: 'best move',
      listar: 'list',
      novoJogo: 'New game',
      desfazer: 'Take back',
      recomecar: 'new game',
      computadorJoga: 'Computer plays',
      ninguem: 'nobody',
      jogadas: 'Moves',
      copiarEndereco: 'Copy the address',
      enderecoCopiado: 'Copied: {0}',
      enderecoParaCopiar: 'The address to share: {0}',
      comoJogar: 'How to play',
      comandosDoConsole: 'console commands',
      depois: 'then {0}',
      depoisDaCasa: '{0} in cell {1}: {2}.',
      ultimaJogada: 'last move',
      linhaVencedora: 'winning line',
      naoEJogo: 'The address {0} is not a game: {1}. A new page was opened instead.',
      programaDesconhecido: 'no program is called “{0}”',
      semPartida: '{0} keeps no game in the address',
      casaInvalida: '“{0}” is not a cell (0 to 8)',
      casaOcupada: 'cell {0} is played twice',
      depoisDoFim: 'cell {0} comes after the game ended',
      ladosDaListagem: 'scribe’s last listing holds rules for {0}: reader can answer only that side’s positions.',
      ladosNenhum: 'scribe’s last listing holds no rule.',
      eLados: 'X and O',
      jogoComputador: 'You play {0}; the computer plays {1}.',
      ajuda: 'help',
      sair: 'quit',
      parar: 'Stop',
      deNovo: 'Start again',
      salvarListagem: 'Save scribe’s listing as dicionario.txt',
      rodape: 'Nothing leaves this page: the programs run here, as WebAssembly.',
      explicacaoSeeker:
        'seeker plays the game with you. Play a free cell by clicking it (or with the arrow keys and Enter, or typing j N); b plays the best move for the side to move, found by searching every way the game can go, and says how the game will end. The computer moves by sending b; choose “nobody” to play both sides.',
      explicacaoReader:
        'reader plays the game with you from a dictionary: {0}. Play a free cell by clicking it; b plays the move the dictionary holds for the position. The computer moves by sending b; choose “nobody” to play both sides.',
      explicacaoScribe:
        'scribe writes a dictionary. b searches from the board as it stands and records the best move of the side to move (now {0}) in every position that side can meet; i lists the rules as the lines of dicionario.txt, which reader can play from at once. Play cells to search from another position; r starts again, empty, with O to move.',
      oCompleto: 'the complete dictionary, for both sides',
      oArquivo: 'the file {0}',
      aListagem: 'scribe’s last listing',
      mudancaDeDicionario: 'reader is playing from {0}; {1} takes effect when it starts again.',
      reiniciarReader: 'Start reader again',
      semArquivo: 'Choose a file for reader, or another dictionary.',
      ecoCortado: '… ({0} more characters, sent but not shown)',
      arquivoIlegivel: 'The file {0} could not be read ({1}); reader was not started.',
      arquivoMudou: 'The file {0} changed or was removed after it was chosen; choose it again. reader was not started.',
      casa: 'cell {0}: {1}',
      livre: 'free',
      venceAgora: 'wins now',
      venceEm: 'wins in {0}',
      empate: 'draw',
      perdeEm: 'loses in {0}',
      melhor: 'best',
      dicionario: 'dictionary',
      vezDe: '{0} to move.',
      jogouVezDe: '{0} played cell {1}; {2} to move.',
      venceu: '{0} won.',
      jogouVenceu: '{0} played cell {1}; {0} won.',
      empatou: 'Draw.',
      jogouEmpatou: '{0} played cell {1}; draw.',
      semRegra: 'The dictionary has no rule for this position: reader’s b cannot play here.',
      regraFora: 'The dictionary’s move, cell {0}, is not among the best.',
      regraOcupada: 'The dictionary’s move, cell {0}, is taken: reader’s b cannot play it.',
      regrasGravadas: 'Rules recorded so far: {0}.',
      parado: '{0} was stopped.',
      terminou: '{0} ended (status {1}).',
      terminouComErro: '{0} ended with an error (status {1}); its message is above.',
      naoCarregou: '{0} could not be loaded.',
    },
    pt: {
      titulo: 'velha: jogo da velha no navegador',
      subtitulo: 'jogo da velha',
      apresentacao:
        'Os três programas de console, rodando nesta página: o seeker joga examinando todos os rumos do jogo, o reader a partir de um dicionário, o scribe escreve um. Escolha um.',
      idioma: 'Idioma',
      programa: 'Programa',
      dicionarioDoReader: 'Dicionário do reader',
      dicionarioCompleto: 'o dicionário completo',
      umArquivo: 'um arquivo:',
      ultimaListagem: 'a última listagem do scribe',
      tabuleiro: 'Tabuleiro',
      nomeDoTabuleiro: 'tabuleiro',
      mostrarPorque: 'Mostrar porquê',
      legendaDoPorque:
        'Em cada casa livre: como o jogo termina se {0} jogar ali e os dois lados jogarem perfeitamente depois; K conta as jogadas que ainda faltam. ★ melhor é a casa que o b joga; outras com o mesmo veredito são tão boas quanto ela.',
      console: 'Console',
      nomeDoConsole: 'console',
      nomeDosErros: 'saída de erros',
      comando: 'Comando',
      umaLinha: 'uma linha, depois Enter',
      enviar: 'Enviar',
      comandos: 'comandos',
      melhorJogada: 'melhor jogada',
      listar: 'listar',
      novoJogo: 'Novo jogo',
      desfazer: 'Desfazer',
      recomecar: 'novo jogo',
      computadorJoga: 'Computador joga',
      ninguem: 'ninguém',
      jogadas: 'Jogadas',
      copiarEndereco: 'Copiar o endereço',
      enderecoCopiado: 'Copiado: {0}',
      enderecoParaCopiar: 'O endereço para compartilhar: {0}',
      comoJogar: 'Como jogar',
      comandosDoConsole: 'comandos do console',
      depois: 'depois {0}',
      depoisDaCasa: '{0} na casa {1}: {2}.',
      ultimaJogada: 'última jogada',
      linhaVencedora: 'linha vencedora',
      naoEJogo: 'O endereço {0} não é um jogo: {1}. Uma página nova foi aberta no lugar.',
      programaDesconhecido: 'nenhum programa se chama “{0}”',
      semPartida: 'o {0} não guarda jogo no endereço',
      casaInvalida: '“{0}” não é uma casa (0 a 8)',
      casaOcupada: 'a casa {0} é jogada duas vezes',
      depoisDoFim: 'a casa {0} vem depois do fim do jogo',
      ladosDaListagem: 'A última listagem do scribe tem regras para {0}: o reader só responde às posições desse lado.',
      ladosNenhum: 'A última listagem do scribe não tem nenhuma regra.',
      eLados: 'X e O',
      jogoComputador: 'Você joga de {0}; o computador joga de {1}.',
      ajuda: 'ajuda',
      sair: 'sair',
      parar: 'Parar',
      deNovo: 'Começar de novo',
      salvarListagem: 'Salvar a listagem do scribe como dicionario.txt',
      rodape: 'Nada sai desta página: os programas rodam aqui, como WebAssembly.',
      explicacaoSeeker:
        'O seeker joga com você. Jogue numa casa livre clicando nela (ou com as setas e Enter, ou digitando j N); b faz a melhor jogada para quem tem a vez, achada examinando todos os rumos do jogo, e diz como o jogo vai terminar. O computador joga enviando b; escolha “ninguém” para jogar pelos dois lados.',
      explicacaoReader:
        'O reader joga com você a partir de um dicionário: {0}. Jogue numa casa livre clicando nela; b faz a jogada que o dicionário guarda para a posição. O computador joga enviando b; escolha “ninguém” para jogar pelos dois lados.',
      explicacaoScribe:
        'O scribe escreve um dicionário. b busca a partir do tabuleiro como está e grava a melhor jogada de quem tem a vez (agora {0}) em cada posição que esse lado pode encontrar; i lista as regras como as linhas de dicionario.txt, com que o reader pode jogar logo em seguida. Jogue nas casas para buscar a partir de outra posição; r recomeça, vazio, com a vez de O.',
      oCompleto: 'o dicionário completo, para os dois lados',
      oArquivo: 'o arquivo {0}',
      aListagem: 'a última listagem do scribe',
      mudancaDeDicionario: 'O reader está jogando com {0}; {1} vale quando ele começar de novo.',
      reiniciarReader: 'Reiniciar o reader',
      semArquivo: 'Escolha um arquivo para o reader, ou outro dicionário.',
      ecoCortado: '… (mais {0} caracteres, enviados mas não mostrados)',
      arquivoIlegivel: 'Não foi possível ler o arquivo {0} ({1}); o reader não foi iniciado.',
      arquivoMudou:
        'O arquivo {0} mudou ou foi removido depois de escolhido; escolha-o de novo. O reader não foi iniciado.',
      casa: 'casa {0}: {1}',
      livre: 'livre',
      venceAgora: 'vence agora',
      venceEm: 'vence em {0}',
      empate: 'empate',
      perdeEm: 'perde em {0}',
      melhor: 'melhor',
      dicionario: 'dicionário',
      vezDe: 'Vez de {0}.',
      jogouVezDe: '{0} jogou na casa {1}; vez de {2}.',
      venceu: '{0} venceu.',
      jogouVenceu: '{0} jogou na casa {1}; {0} venceu.',
      empatou: 'Empate.',
      jogouEmpatou: '{0} jogou na casa {1}; empate.',
      semRegra: 'O dicionário não tem regra para esta posição: o b do reader não pode jogar aqui.',
      regraFora: 'A jogada do dicionário, casa {0}, não está entre as melhores.',
      regraOcupada: 'A jogada do dicionário, casa {0}, está ocupada: o b do reader não pode jogá-la.',
      regrasGravadas: 'Regras gravadas até agora: {0}.',
      parado: 'O {0} foi interrompido.',
      terminou: 'O {0} terminou (status {1}).',
      terminouComErro: 'O {0} terminou com erro (status {1}); a mensagem está acima.',
      naoCarregou: 'Não foi possível carregar o {0}.',
    },
  };
  const idiomas = Object.keys(textos);
  const guardado = 'velha-idioma';

  function escolhido() {
    const pedido = new URLSearchParams(location.search).get('lang');
    if (idiomas.includes(pedido)) return pedido;
    try {
      const ultimo = localStorage.getItem(guardado);
      if (idiomas.includes(ultimo)) return ultimo;
    } catch (e) {
      // Storage refused (a page from disk in some browsers): the browser's languages decide.
    }
    for (const idioma of navigator.languages || [navigator.language]) {
      const base = String(idioma).toLowerCase().split('-')[0];
      if (idiomas.includes(base)) return base;
    }
    return 'en';
  }

  let idioma = escolhido();
  const ouvintes = [];

  // The text of chave with {0}, {1}… replaced by valores.
  function t(chave, ...valores) {
    return textos[idioma][chave].replace(/\{(\d)\}/g, (_, n) => String(valores[Number(n)]));
  }

  function aplicar() {
    document.documentElement.lang = idioma;
    document.title = t('titulo');
    for (const elemento of document.querySelectorAll('[data-t]')) elemento.textContent = t(elemento.dataset.t);
    for (const elemento of document.querySelectorAll('[data-t-label]')) {
      elemento.setAttribute('aria-label', t(elemento.dataset.tLabel));
    }
    for (const elemento of document.querySelectorAll('[data-t-placeholder]')) {
      elemento.placeholder = t(elemento.dataset.tPlaceholder);
    }
  }

  return {
    t: t,
    idioma: () => idioma,
    aplicar: aplicar,
    // The person's choice, kept for the next visit; every listener redraws its texts.
    mudar: function (novo) {
      if (!idiomas.includes(novo) || novo === idioma) return;
      idioma = novo;
      try {
        localStorage.setItem(guardado, novo);
      } catch (e) {
        // Not kept: the page still changes.
      }
      aplicar();
      for (const ouvinte of ouvintes) ouvinte();
    },
    aoMudar: (ouvinte) => ouvintes.push(ouvinte),
  };
})();
