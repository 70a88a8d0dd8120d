// Draws the step mode from the state: the buttons that start it (the search, or
// alpha-beta) and step it, how many moves it has tried, the path being searched, drawn
// small, each level on it with the move it is trying and its best score so far (and
// alpha-beta's alfa, beta and the condition that cuts), and each step said in a polite
// live region.
import { posicaoDoRamo } from './explorador.js';
import { posicaoMostrada } from './estado.js';
import { podeRastrear, situacaoDoRastro } from './passos.js';
import { outro } from './partida.js';
import { escrever, fixos, miniatura } from './elementos.js';
import { comSinal, deX, limitesDeX, texto } from './textos.js';

export function criarRastro(documento) {
  const { $ } = fixos(documento);
  return function desenhar(estado) {
    const t = (chave, ...valores) => texto(estado.idioma, chave, ...valores);
    const r = estado.rastro;
    const posicao = posicaoMostrada(estado);
    const cabe = podeRastrear(posicao);
    $('#passo-fora').hidden = cabe;
    $('#modos-do-passo').hidden = !cabe;
    $('#rastrear').setAttribute('aria-pressed', String(r !== null && !r.alfaBeta));
    $('#rastrear-ab').setAttribute('aria-pressed', String(r !== null && r.alfaBeta));
    $('#controles-do-passo').hidden = r === null;
    for (const elemento of ['#tentadas', '.caminho', '#niveis']) $(elemento).hidden = r === null;
    if (!r) {
      escrever($('#passo-dito'), '');
      return;
    }
    const eventos = r.eventos ?? [];
    $('#passo-atras').disabled = r.indice === 0;
    $('#passo-frente').disabled = !r.eventos || r.indice >= eventos.length;
    $('#tocar').disabled = !r.eventos;
    escrever($('#tocar'), r.tocando ? t('pausar') : t('tocar'));
    $('#velocidade').value = String(r.intervalo);
    if (!r.eventos) {
      escrever($('#tentadas'), t('buscando'));
      return;
    }
    const total = eventos.filter((evento) => evento.tipo === 'tentar').length;
    const { tentadas, niveis, ultimo } = situacaoDoRastro(r.raiz, eventos, r.indice);
    escrever($('#tentadas'), t('tentadas', tentadas, total));
    // The path: the moves being tried at each level, as a small board and in words.
    const caminho = niveis
      .map((nivel) => nivel.tentando)
      .filter((casa) => casa !== null)
      .join('');
    const jogadas = Array.from(caminho, (casa, n) => niveis[n].lado + ' ' + casa);
    $('#caminho-mini').replaceChildren(miniatura(documento, posicaoDoRamo(r.raiz, caminho).casas));
    escrever($('#caminho-texto'), t('caminhoAtual', jogadas.length > 0 ? jogadas.join(', ') : t('nenhumCaminho')));
    // Scores, alpha and beta from X's side, as the explorer's rows give them.
    const ladoDaRaiz = r.raiz.split(' ')[1];
    const itens = niveis.map(function (nivel) {
      const item = documento.createElement('li');
      const escolhe = t(nivel.lado === 'X' ? 'escolheMaior' : 'escolheMenor', nivel.lado);
      const tentando = nivel.tentando === null ? t('semValor') : nivel.lado + ' ' + nivel.tentando;
      const melhor = nivel.melhor === null ? t('semValor') : comSinal(deX(nivel.melhor, ladoDaRaiz));
      let linha = t('nivelDoPasso', nivel.profundidade, escolhe, tentando, melhor);
      if (r.alfaBeta) {
        const [alfa, beta] = limitesDeX(nivel.alfa, nivel.beta, ladoDaRaiz);
        linha += '; ' + t('limites', comSinal(alfa), comSinal(beta)) + corte(nivel.lado, alfa, beta, t);
      }
      item.textContent = linha;
      return item;
    });
    $('#niveis').replaceChildren(...itens);
    escrever($('#passo-dito'), ultimo ? dizer(ultimo, r, t) : t('antesDoPasso'));
  };
}

// Where a level stops, from X's side: X's once its best is at least beta, O's once at most
// alpha; nothing is said while the bound is infinite, as no score can reach it.
function corte(lado, alfa, beta, t) {
  const limite = lado === 'X' ? beta : alfa;
  if (!Number.isFinite(limite)) return t('semCorte');
  return t('corteQuando', (lado === 'X' ? '≥ ' : '≤ ') + comSinal(limite));
}

// A step in words: the move's name is its side (from its depth) and its cell; its scores
// from X's side.
function dizer(evento, r, t) {
  const vez = r.raiz.split(' ')[1];
  const lado = (profundidade) => (profundidade % 2 === 1 ? vez : outro(vez));
  const jogada = evento.caminho ? lado(evento.profundidade) + ' ' + evento.caminho.slice(-1) : '';
  const valor = (v) => comSinal(deX(v, vez));
  switch (evento.tipo) {
    case 'tentar':
      return t('eventoTentar', evento.profundidade, jogada);
    case 'final':
      return t('eventoFinal', jogada, valor(evento.valor));
    case 'subir':
      return t('eventoSubir', jogada, valor(evento.valor), evento.profundidade, valor(evento.melhor));
    case 'cortar': {
      const [alfa, beta] = limitesDeX(evento.alfa, evento.beta, vez);
      const quem = lado(evento.profundidade);
      return t(
        'eventoCortar',
        evento.profundidade,
        (quem === 'X' ? '≥ ' : '≤ ') + comSinal(quem === 'X' ? beta : alfa),
      );
    }
    default:
      return t('eventoEscolher', evento.profundidade, valor(evento.valor));
  }
}
