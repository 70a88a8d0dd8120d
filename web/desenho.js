// Draws the page from the state: its texts in the language chosen, the choices, the
// buttons each program offers, the moves and the position of the history shown, the
// console's panel and the messages. The board is tabuleiro.js's. Only draws: no command
// is sent and no state is read back from the page.
import { dicionarioEscolhido, emRepeticao, posicaoMostrada, temPartida } from './estado.js';
import { podeDesfazer } from './partida.js';
import { criarArvore } from './arvore.js';
import { criarPainelDoDicionario } from './painel_do_dicionario.js';
import { criarRastro } from './rastro.js';
import { criarTabuleiro } from './tabuleiro.js';
import { escrever, fixos } from './elementos.js';
import { texto } from './textos.js';

export function criarDesenho(documento) {
  const { $, todos } = fixos(documento);
  const desenharTabuleiro = criarTabuleiro(documento);
  const desenharArvore = criarArvore(documento);
  const desenharRastro = criarRastro(documento);
  const desenharPainelDoDicionario = criarPainelDoDicionario(documento);
  // index.html is written in English, as textos_en.js words it (a test holds the two
  // together): a first draw in English sets no text.
  let idiomaAplicado = 'en';

  function aplicarTextos(t, idioma) {
    documento.documentElement.lang = idioma;
    documento.title = t('titulo');
    for (const elemento of todos('[data-t]')) elemento.textContent = t(elemento.dataset.t);
    for (const elemento of todos('[data-t-label]')) elemento.setAttribute('aria-label', t(elemento.dataset.tLabel));
    for (const elemento of todos('[data-t-placeholder]')) elemento.placeholder = t(elemento.dataset.tPlaceholder);
  }

  const dito = (t, recado) => (recado ? t(recado.chave, ...recado.valores) : '');

  function desenharJogadas(estado, t) {
    const lista = $('#jogadas');
    const itens = estado.partida.map((casa, n) => (n % 2 === 0 ? 'X ' : 'O ') + casa);
    if (Array.from(lista.children, (item) => item.textContent).join() !== itens.join()) {
      lista.replaceChildren(
        ...itens.map(function (rotulo, n) {
          const item = documento.createElement('li');
          const botao = documento.createElement('button');
          botao.type = 'button';
          botao.dataset.vista = String(n + 1);
          botao.textContent = rotulo;
          item.appendChild(botao);
          return item;
        }),
      );
    }
    // The move whose position is shown; none while the empty board of the history is.
    const vista = estado.vista ?? estado.partida.length;
    // The list is one Tab stop, the arrows inside: the move shown holds it (the first while
    // the empty board is).
    Array.from(lista.querySelectorAll('button')).forEach(function (botao, n) {
      if (n + 1 === vista) botao.setAttribute('aria-current', 'step');
      else botao.removeAttribute('aria-current');
      botao.tabIndex = n + 1 === Math.max(vista, 1) ? 0 : -1;
    });
    const andando = !emRepeticao(estado) && estado.partida.length > 0;
    for (const botao of todos('[data-ir]')) {
      const volta = botao.dataset.ir === 'primeira' || botao.dataset.ir === 'anterior';
      botao.disabled = !andando || (volta ? vista === 0 : estado.vista === null);
    }
    $('#vendo').hidden = estado.vista === null;
    // How to go on from it: a free cell where the person is to move, else the computer
    // answers once "Play on from here" is pressed.
    const posicao = estado.vista === null ? null : posicaoMostrada(estado);
    if (posicao) {
      escrever($('#vendo-texto'), t(posicao.vez === estado.computador ? 'computadorDaqui' : 'seguirDaqui'));
    }
  }

  function desenharDicionario(estado, t) {
    const { escolha, listagem } = estado.dicionario;
    $('#dicionario').hidden = estado.programa !== 'reader';
    for (const opcao of todos('input[name="dicionario"]')) opcao.checked = opcao.value === escolha;
    $('#usar-listagem').disabled = !listagem;
    $('#salvar-listagem').disabled = !listagem;
    const lados = listagem ? (listagem.lados.length === 2 ? t('eLados') : listagem.lados.join('')) : '';
    const sobreALista = !listagem ? '' : listagem.lados.length === 0 ? t('ladosNenhum') : t('ladosDaListagem', lados);
    escrever($('#lados-da-listagem'), sobreALista);
    escrever($('#listagem'), sobreALista);
    $('#listagem').hidden = !listagem || estado.programa !== 'scribe';
    // A dictionary chosen while reader runs is used when it starts again, as it reads its
    // dictionary once, at start: said, with a button that starts it again.
    const escolhido = dicionarioEscolhido(estado);
    const emUso = estado.dicionarioDoReader;
    const mudou =
      estado.programa === 'reader' &&
      estado.rodando === 'rodando' &&
      emUso &&
      (!escolhido || escolhido.chave !== emUso.chave);
    $('#mudanca').hidden = !mudou;
    if (mudou) {
      const novo = escolhido ? dito(t, escolhido.nome) : t('umArquivo');
      escrever($('#mudanca-texto'), t('mudancaDeDicionario', dito(t, emUso.nome), novo));
    }
  }

  function explicacao(estado, t) {
    if (estado.programa === 'reader' && estado.dicionarioDoReader) {
      return t('explicacaoReader', dito(t, estado.dicionarioDoReader.nome));
    }
    if (estado.programa === 'scribe') return t('explicacaoScribe', estado.jogo ? estado.jogo.vez : 'X');
    return t('explicacaoSeeker');
  }

  function frase(estado, t) {
    if (estado.status === null) return t('parado', estado.programa);
    if (estado.status === 0) return t('terminou', estado.programa, 0);
    return t('terminouComErro', estado.programa, estado.status);
  }

  // The one place the focus is moved: where the state sends it (a key, a program's end),
  // and back to the same place when a redraw removed the element that held it.
  let focoAplicado = 0;
  const ondeFoca = {
    casa: (estado) => `.tabuleiro [data-casa="${estado.foco}"]`,
    arvore: () => '#arvore [tabindex="0"]',
    jogadas: () => '#jogadas [tabindex="0"]',
    deNovo: () => '#de-novo',
  };
  function focar(estado, perdido) {
    const pedido = estado.focoPedido;
    let onde = null;
    if (pedido && pedido.numero !== focoAplicado) {
      focoAplicado = pedido.numero;
      onde = pedido.onde;
    } else if (perdido && documento.activeElement === documento.body) {
      onde = perdido;
    }
    const elemento = onde && documento.querySelector(ondeFoca[onde](estado));
    if (elemento && elemento.offsetParent !== null && documento.activeElement !== elemento) elemento.focus();
  }

  return function desenhar(estado) {
    const dentro = ['arvore', 'jogadas'].find((onde) => $('#' + onde).contains(documento.activeElement)) ?? null;
    desenharTudo(estado);
    focar(estado, dentro);
  };

  function desenharTudo(estado) {
    const t = (chave, ...valores) => texto(estado.idioma, chave, ...valores);
    if (idiomaAplicado !== estado.idioma) {
      aplicarTextos(t, estado.idioma);
      idiomaAplicado = estado.idioma;
    }
    $('#idioma').value = estado.idioma;
    // scribe's b records rules, and it plays no side: its own labels.
    escrever($('#rotulo-b'), t(estado.programa === 'scribe' ? 'gravarRegras' : 'melhorJogada'));
    $('#escolha-do-computador').hidden = estado.programa === 'scribe';
    $('#computador').value = estado.computador;
    $('#porque').checked = estado.porque;
    for (const botao of todos('[data-programa]')) {
      botao.setAttribute('aria-pressed', String(botao.dataset.programa === estado.programa));
    }
    const rodando = estado.rodando === 'rodando';
    const partida = temPartida(estado);
    escrever($('#nome-do-programa'), estado.programa ? '(' + estado.programa + ')' : '');
    $('#linha').disabled = !rodando;
    $('#linha-form button').disabled = !rodando;
    for (const botao of todos('[data-linha]')) {
      const so = botao.dataset.so;
      botao.hidden = so !== undefined && estado.programa !== so;
      botao.disabled = !rodando || (so !== undefined && estado.programa !== so);
    }
    // b is for the game in play, and not while the computer's own is on its way.
    $('[data-linha="b"]').disabled =
      !rodando || estado.vista !== null || estado.pensando || !estado.jogo || estado.jogo.fim !== '-';
    $('#novo-jogo').hidden = !partida;
    $('#desfazer').hidden = !partida;
    $('#novo-jogo').disabled = !partida;
    $('#desfazer').disabled =
      !partida || emRepeticao(estado) || estado.pensando || !podeDesfazer(estado.partida, estado.computador);
    $('.partida').hidden = !partida;
    desenharJogadas(estado, t);
    desenharDicionario(estado, t);
    escrever($('#explicacao'), explicacao(estado, t));
    $('#parar').disabled = !rodando;
    $('#fim').hidden = estado.rodando !== 'terminado';
    escrever($('#status'), estado.rodando === 'terminado' ? frase(estado, t) : '');
    $('#versao-nova').hidden = !estado.versaoNova;
    $('#aviso').hidden = estado.aviso === null;
    escrever($('#aviso'), dito(t, estado.aviso));
    escrever($('#copiado'), dito(t, estado.copiado));
    $('#painel-do-console').hidden = !estado.consoleAberto;
    $('#abrir-console').setAttribute('aria-expanded', String(estado.consoleAberto));
    documento.body.classList.toggle('com-console', estado.consoleAberto);
    documento.body.classList.toggle('com-passo', estado.rastro !== null);
    // The search is explored from a position still being played.
    const posicao = posicaoMostrada(estado);
    $('#explorar').disabled = estado.explorador === null && (!posicao || posicao.fim !== '-');
    desenharTabuleiro(estado);
    desenharArvore(estado);
    desenharRastro(estado);
    desenharPainelDoDicionario(estado);
  }
}
