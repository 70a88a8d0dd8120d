// Draws the Dictionary panel from the state: the dictionary's name, what its rules cover,
// how a key is read (the position on the board as the example), and a page of its rules,
// each a small board of its position with the cell it gives, the board's own rule marked
// current and scrolled to within the list. Only draws.
import { dicionarioDoPainel, modeloDe, paginaMostrada, posicaoMostrada, regraDoTabuleiro } from './estado.js';
import { posicaoDaChave, regrasPorPagina } from './dicionario.js';
import { chaveDaPosicao, linhasDaChave } from './partida.js';
import { escrever, fixos, miniatura } from './elementos.js';
import { numeros, texto } from './textos.js';

export function criarPainelDoDicionario(documento) {
  const { $, todos } = fixos(documento);
  const painel = $('#painel-do-dicionario');
  const lista = $('#regras');
  let desenhada = ''; // what the list was last drawn for, so that an unchanged list is left as it is
  let rolada = null; // the rule last scrolled to

  function item(chave, regra, atual, t) {
    const li = documento.createElement('li');
    const posicao = posicaoDaChave(chave);
    const quadro = miniatura(documento, posicao ? posicao.casas : '.........');
    if (regra.casa !== null) quadro.children[regra.casa].classList.add('regra-da-casa');
    const nome = documento.createElement('span');
    nome.textContent =
      regra.casa !== null
        ? t('regraItem', chave, regra.casa)
        : t('regraSemCasa', chave, String.fromCharCode(regra.byte));
    li.append(quadro, nome);
    if (atual) li.setAttribute('aria-current', 'true');
    li.dataset.chave = String(chave);
    return li;
  }

  return function desenhar(estado) {
    $('#abrir-dicionario').setAttribute('aria-expanded', String(estado.painelDoDicionario));
    painel.hidden = !estado.painelDoDicionario;
    if (!estado.painelDoDicionario) {
      desenhada = '';
      rolada = null;
      return;
    }
    const t = (chave, ...valores) => texto(estado.idioma, chave, ...valores);
    const n = (valor) => numeros(estado.idioma).format(valor);
    const dicionario = dicionarioDoPainel(estado);
    const modelo = modeloDe(estado, dicionario);
    const doScribe = estado.programa === 'scribe';
    const nome = dicionario
      ? t(dicionario.nome.chave, ...dicionario.nome.valores)
      : t(doScribe ? 'aListagem' : 'umArquivo');
    escrever($('#dicionario-titulo'), t('dicionarioTitulo', nome));

    let situacao = '';
    if (!dicionario) situacao = doScribe ? t('dicionarioDoScribe', n(estado.regras ?? 0)) : t('dicionarioSemArquivo');
    else if (!modelo)
      situacao = t(estado.dicionario.completo === 'falhou' ? 'dicionarioFalhou' : 'dicionarioCarregando');
    else if (modelo.invalida !== null) situacao = t('dicionarioInvalido', modelo.invalida);
    escrever($('#dicionario-estado'), situacao);

    // What the rules cover, counted against the positions a game reaches before its end.
    const c = modelo && modelo.invalida === null ? modelo.cobertura : null;
    const contas = !c
      ? []
      : [
          c.regras === 1 ? t('umaRegra') : t('nRegras', n(c.regras)),
          t('coberturaDoLado', 'X', n(c.X), n(c.deX)),
          t('coberturaDoLado', 'O', n(c.O), n(c.deO)),
          ...(c.fora === 0 ? [] : [c.fora === 1 ? t('umaFora') : t('nFora', n(c.fora))]),
          t('semJogada', n(c.semJogada.X), n(c.semJogada.O)),
        ];
    const ul = $('#dicionario-contas');
    if (Array.from(ul.children, (li) => li.textContent).join('\n') !== contas.join('\n')) {
      ul.replaceChildren(
        ...contas.map(function (conta) {
          const li = documento.createElement('li');
          li.textContent = conta;
          return li;
        }),
      );
    }
    $('#falta-um-lado').hidden = !c || (c.X === c.deX && c.O === c.deO);
    const daListagem =
      dicionario && estado.dicionario.listagem && dicionario.chave === estado.dicionario.listagem.chave;
    const emUso = estado.programa === 'reader' && estado.rodando === 'rodando' && estado.dicionarioDoReader;
    $('#jogar-com-listagem').hidden = !daListagem || (emUso && emUso.chave === dicionario.chave);

    // How a key is read: the position on the board while it is played, else the empty one.
    const posicao = posicaoMostrada(estado);
    const exemplo = posicao && posicao.fim === '-' ? posicao : { casas: '.........', vez: 'X' };
    const [a, b, d] = linhasDaChave(exemplo.casas, exemplo.vez);
    $('#chave-exemplo').replaceChildren(miniatura(documento, exemplo.casas));
    escrever($('#chave-linha-1'), t('chaveLinha1'));
    escrever($('#chave-linha-2'), t('chaveLinha2', exemplo.vez, a, b, d, chaveDaPosicao(exemplo.casas, exemplo.vez)));

    // A page of the rules, in the file's order; the board's rule current.
    const ordem = c ? modelo.ordem : [];
    const pagina = paginaMostrada(estado);
    const primeira = pagina * regrasPorPagina;
    const ultima = Math.min(ordem.length, primeira + regrasPorPagina);
    escrever($('#regras-titulo'), t('regrasDe', n(ordem.length ? primeira + 1 : 0), n(ultima), n(ordem.length)));
    for (const botao of todos('[data-regras]')) {
      botao.disabled = botao.dataset.regras === 'seguinte' ? ultima >= ordem.length : pagina === 0;
    }
    const daRegra = regraDoTabuleiro(estado);
    const atual = daRegra && modelo && modelo.regras.has(daRegra.chave) ? daRegra.chave : null;
    const chaveDoDesenho = [estado.idioma, dicionario && dicionario.chave, c !== null, pagina, atual].join(' ');
    if (chaveDoDesenho !== desenhada) {
      desenhada = chaveDoDesenho;
      lista.replaceChildren(
        ...ordem.slice(primeira, ultima).map((chave) => item(chave, modelo.regras.get(chave), chave === atual, t)),
      );
    }
    // The board's rule scrolled to within the list (not the page) when it changes.
    const corrente = lista.querySelector('[aria-current]');
    if (corrente && rolada !== atual) {
      lista.scrollTop = corrente.offsetTop - (lista.clientHeight - corrente.offsetHeight) / 2;
    }
    rolada = atual;
  };
}
