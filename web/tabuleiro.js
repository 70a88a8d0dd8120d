// Draws the board from the state: each cell a button named for what holds it ("cell 4:
// X"), offered (aria-disabled false) only when a click plays it; with Show why on, each
// free cell's verdict, and the best line of the cell pointed at as numbered marks on the
// board; the line a win completes, struck through; above the board, how the game ended and
// whose turn it is. Only draws: what it shows comes from the state alone.
import { casaOferecida, posicaoMostrada, readerSemJogada, resultado } from './estado.js';
import { emTexto, outro, veredito } from './partida.js';
import { escrever, fixos } from './elementos.js';
import { texto } from './textos.js';

export function criarTabuleiro(documento) {
  const { $ } = fixos(documento);
  const botoes = Array.from(documento.querySelectorAll('.tabuleiro [data-casa]'));
  const descricoes = Array.from(documento.querySelectorAll('[data-depois]'));
  const risco = $('.risco');
  const linhas = $('#linhas');
  const botoesDeLinha = botoes.map(function (_, casa) {
    const botao = documento.createElement('button');
    botao.type = 'button';
    botao.dataset.linhaDe = String(casa);
    botao.textContent = String(casa);
    linhas.appendChild(botao);
    return botao;
  });

  // Sets what differs only, so that a draw that changes nothing costs no layout.
  function por(elemento, nome, valor) {
    if (valor === null) {
      if (elemento.hasAttribute(nome)) elemento.removeAttribute(nome);
    } else if (elemento.getAttribute(nome) !== valor) {
      elemento.setAttribute(nome, valor);
    }
  }

  return function desenhar(estado) {
    const t = (chave, ...valores) => texto(estado.idioma, chave, ...valores);
    const posicao = posicaoMostrada(estado);
    const emJogo = posicao !== null && posicao.fim === '-';
    // The helper's answer, if it is for the position shown.
    const resposta =
      emJogo && estado.resposta && estado.resposta.pergunta === emTexto(posicao) ? estado.resposta : null;
    const comPorque = estado.porque && resposta !== null;

    // The best line after a cell: its moves in turn, from the other side's answer.
    const linhaDe = (casa) =>
      resposta && resposta.casas[casa] !== '-'
        ? resposta.continuacoes[casa].map((celula, n) => ({
            celula,
            lado: n % 2 === 0 ? outro(posicao.vez) : posicao.vez,
          }))
        : [];
    // The cell pointed at (hovered, focused, or pressed among the line buttons) shows its
    // line on the board; the text beside the board says it, or else the best cell's.
    const marcada = estado.apontada !== null && linhaDe(estado.apontada).length > 0 ? estado.apontada : null;
    const apontada = marcada ?? resposta?.melhor ?? null;
    const passos = new Map(
      comPorque && marcada !== null ? linhaDe(marcada).map(({ celula, lado }, n) => [celula, { n: n + 1, lado }]) : [],
    );

    botoes.forEach(function (botao, casa) {
      const marca = posicao ? posicao.casas[casa] : '.';
      const livre = marca === '.';
      const nome = [t('casa', casa, livre ? t('livre') : marca)];
      const classes = [livre ? 'livre' : ''];
      let dito = '';
      if (livre && resposta) {
        const codigo = resposta.casas[casa];
        if (codigo !== '-' && estado.porque) {
          const { fim, lances } = veredito(codigo);
          dito =
            fim === 'empata'
              ? t('empate')
              : lances === 1 && fim === 'vence'
                ? t('venceAgora')
                : t(fim === 'vence' ? 'venceEm' : 'perdeEm', lances);
          nome.push(dito);
          classes.push({ vence: 'vence', perde: 'perde', empata: 'empata' }[fim]);
          if (resposta.melhor === casa) {
            nome.push(t('melhor'));
            dito += '\n★ ' + t('melhor');
          }
        }
        if (estado.programa === 'reader' && resposta.regra === String(casa)) {
          nome.push(t('dicionario'));
          dito += (dito ? '\n' : '') + '▣ ' + t('dicionario');
          classes.push('regra');
        }
      }
      if (posicao && posicao.ultima === casa) {
        nome.push(t('ultimaJogada'));
        classes.push('ultima');
      }
      if (posicao && posicao.linha && posicao.linha.includes(casa)) {
        nome.push(t('linhaVencedora'));
        classes.push('vencedora');
      }
      if (casa === marcada && passos.size > 0) classes.push('apontada');
      por(botao, 'class', classes.filter(Boolean).join(' ') || null);
      por(botao, 'aria-label', nome.join(', '));
      por(botao, 'aria-disabled', String(!casaOferecida(estado, casa)));
      por(botao, 'tabindex', casa === estado.foco ? '0' : '-1');
      escrever(botao, livre ? String(casa) : marca);
      // Drawn by the style sheet under the cell's number or mark: the verdict is in the
      // cell's name already, and the numbered step of the best line in its corner.
      por(botao, 'data-porque', dito || null);
      const passo = passos.get(casa);
      por(botao, 'data-passo', passo ? String(passo.n) : null);
      por(botao, 'data-lado-do-passo', passo ? passo.lado : null);
      const depois = comPorque ? linhaDe(casa).map(({ celula, lado }) => lado + ' ' + celula) : [];
      escrever(descricoes[casa], depois.length > 0 ? t('depois', depois.join(', ')) : '');
      por(botao, 'aria-describedby', depois.length > 0 ? descricoes[casa].id : null);
      // On a touch screen, where nothing is pointed at, a button shows each cell's line.
      botoesDeLinha[casa].hidden = depois.length === 0;
      por(botoesDeLinha[casa], 'aria-pressed', String(casa === marcada));
    });
    linhas.hidden = !comPorque;

    por(risco, 'data-linha', posicao && posicao.linha ? posicao.linha.join('') : null);
    por(risco, 'data-vencedor', posicao && posicao.linha ? posicao.fim : null); // in the winner's colour
    risco.hidden = !(posicao && posicao.linha);

    const painel = $('#continuacao');
    const linhaApontada = comPorque && apontada !== null ? linhaDe(apontada) : [];
    escrever(
      painel,
      linhaApontada.length > 0
        ? t(
            'depoisDaCasa',
            posicao.vez,
            apontada,
            t('depois', linhaApontada.map((p) => p.lado + ' ' + p.celula).join(', ')),
          )
        : '',
    );
    painel.hidden = linhaApontada.length === 0;
    $('#legenda').hidden = !estado.porque || !emJogo;
    if (posicao) escrever($('#legenda'), t('legendaDoPorque', posicao.vez));

    const fim = resultado(estado);
    escrever($('#resultado'), fim ? t(fim.chave, ...fim.valores) : '');
    // A loss in the loss colour, a win in the win's, a draw plain.
    const tons = { vocePerdeu: 'perde', voceVenceu: 'vence', empateFinal: 'empate', ladoVenceu: 'lado' };
    por($('#resultado'), 'data-tom', fim ? tons[fim.chave] : null);
    escrever($('#situacao'), situacao(estado, posicao, t));
    escrever($('#nota'), nota(estado, resposta, t));
    // Where reader has no move, seeker can play on from the same game.
    $('#seguir-com-seeker').hidden = readerSemJogada(estado) === null;
    const regra = estado.regraJogada;
    escrever($('#regra-jogada'), regra && estado.vista === null ? t('regraJogada', regra.casa, regra.chave) : '');
  };
}

// Whose turn it is, or how the game ended, after the move that led there; or which
// position of the game's history is shown.
function situacao(estado, posicao, t) {
  if (!posicao) return '';
  const ultima = posicao.ultima;
  const marca = ultima !== null ? posicao.casas[ultima] : null;
  // A position of the history, in one line as in play, so that the board stays put.
  if (estado.vista !== null) {
    return estado.vista === 0
      ? t('vendoInicio', posicao.vez)
      : t('vendoPosicao', estado.vista, estado.partida.length, marca, ultima, posicao.vez);
  }
  if (posicao.fim === '=') return ultima !== null ? t('jogouEmpatou', marca, ultima) : t('empatou');
  if (posicao.fim !== '-') return ultima !== null ? t('jogouVenceu', posicao.fim, ultima) : t('venceu', posicao.fim);
  return ultima !== null ? t('jogouVezDe', marca, ultima, posicao.vez) : t('vezDe', posicao.vez);
}

// The notes under the board: reader's rule where it is missing or names a taken cell (its
// dictionary read in the page), or is not among the best (the helper's answer); scribe's
// rule count.
function nota(estado, resposta, t) {
  if (estado.programa === 'scribe' && estado.regras !== null) return t('regrasGravadas', estado.regras);
  if (estado.programa !== 'reader') return '';
  const sem = readerSemJogada(estado);
  if (sem && !sem.regra) return t('semRegra', sem.chave);
  if (sem) return sem.regra.casa === null ? t('regraSemCasaNota', sem.chave) : t('regraOcupada', sem.regra.casa);
  if (!resposta || resposta.regra === '-' || resposta.regra === 'n') return '';
  const regra = Number(resposta.regra);
  if (resposta.melhor !== null && resposta.casas[regra] !== resposta.casas[resposta.melhor])
    return t('regraFora', regra);
  return '';
}
