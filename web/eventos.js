// The person's actions, read from the page's events and handed to the update as events
// of the page's own: the one place that listens to the page. The arrow keys move the
// focus across the board and the moves, as the focus is the browser's.
import { casaDestino } from './partida.js';

export function ouvir(documento, janela, despachar) {
  const $ = (seletor) => documento.querySelector(seletor);
  const todos = (seletor) => Array.from(documento.querySelectorAll(seletor));
  const clicar = (seletor, evento) => $(seletor).addEventListener('click', () => despachar(evento()));

  const casas = todos('.tabuleiro [data-casa]');
  casas.forEach(function (botao, casa) {
    botao.addEventListener('click', () => despachar({ tipo: 'casa', casa }));
    botao.addEventListener('keydown', function (evento) {
      if (casaDestino(casa, evento.key) === null) return;
      evento.preventDefault();
      despachar({ tipo: 'teclaNoTabuleiro', casa, tecla: evento.key });
    });
    botao.addEventListener('focus', function () {
      despachar({ tipo: 'focar', casa });
      despachar({ tipo: 'apontar', casa });
    });
    botao.addEventListener('mouseenter', () => despachar({ tipo: 'apontar', casa }));
    botao.addEventListener('mouseleave', () => despachar({ tipo: 'apontar', casa: null }));
    botao.addEventListener('blur', () => despachar({ tipo: 'apontar', casa: null }));
  });
  // On a touch screen nothing is pointed at: a button per cell shows its line, until
  // pressed again.
  $('#linhas').addEventListener('click', function (evento) {
    const botao = evento.target.closest('[data-linha-de]');
    if (!botao) return;
    despachar({ tipo: 'alternarLinha', casa: Number(botao.dataset.linhaDe) });
  });

  for (const botao of todos('[data-linha]')) {
    botao.addEventListener('click', () => despachar({ tipo: 'linha', linha: botao.dataset.linha }));
  }
  for (const botao of todos('[data-programa]')) {
    botao.addEventListener('click', () => despachar({ tipo: 'escolherPrograma', programa: botao.dataset.programa }));
  }
  clicar('#novo-jogo', () => ({ tipo: 'novoJogo' }));
  clicar('#desfazer', () => ({ tipo: 'desfazer' }));
  clicar('#de-novo', () => ({ tipo: 'deNovo' }));
  clicar('#parar', () => ({ tipo: 'parar' }));
  clicar('#reiniciar-reader', () => ({ tipo: 'reiniciarReader' }));
  clicar('#copiar', () => ({ tipo: 'copiar' }));
  clicar('#salvar-listagem', () => ({ tipo: 'salvarListagem' }));
  clicar('#abrir-dicionario', () => ({ tipo: 'painelDoDicionario' }));
  for (const botao of todos('[data-regras]')) {
    botao.addEventListener('click', () => despachar({ tipo: 'paginaDeRegras', para: botao.dataset.regras }));
  }
  clicar('#jogar-com-listagem', () => ({ tipo: 'jogarComListagem' }));
  clicar('#seguir-com-seeker', () => ({ tipo: 'escolherPrograma', programa: 'seeker' }));
  clicar('#abrir-console', () => ({ tipo: 'console' }));
  clicar('#jogar-daqui', () => ({ tipo: 'jogarDaqui' }));
  clicar('#explorar', () => ({ tipo: 'explorar' }));
  clicar('#rastrear', () => ({ tipo: 'rastrear', alfaBeta: false }));
  clicar('#rastrear-ab', () => ({ tipo: 'rastrear', alfaBeta: true }));
  clicar('#passo-atras', () => ({ tipo: 'avancar', sentido: -1 }));
  clicar('#passo-frente', () => ({ tipo: 'avancar', sentido: 1 }));
  clicar('#tocar', () => ({ tipo: 'tocar' }));
  $('#ordem').addEventListener('change', (evento) => despachar({ tipo: 'ordem', ordem: evento.target.value }));
  $('#velocidade').addEventListener('change', (evento) =>
    despachar({ tipo: 'velocidade', ms: Number(evento.target.value) }),
  );

  // The explorer's tree: a click opens or closes a row; the keys move as the tree
  // pattern says, the focus following the row the state holds.
  const arvore = $('#arvore');
  const ramoDe = (evento) => evento.target.closest('[data-caminho]');
  arvore.addEventListener('click', function (evento) {
    const ramo = ramoDe(evento);
    if (!ramo) return;
    despachar({ tipo: 'focarRamo', caminho: ramo.dataset.caminho });
    despachar({ tipo: 'ramo', caminho: ramo.dataset.caminho });
  });
  arvore.addEventListener('focusin', function (evento) {
    const ramo = ramoDe(evento);
    if (ramo) despachar({ tipo: 'focarRamo', caminho: ramo.dataset.caminho });
  });
  arvore.addEventListener('keydown', function (evento) {
    if (evento.key === 'Enter' || evento.key === ' ') {
      const ramo = ramoDe(evento);
      if (ramo) despachar({ tipo: 'ramo', caminho: ramo.dataset.caminho });
    } else if (['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Home', 'End'].includes(evento.key)) {
      despachar({ tipo: 'teclaNaArvore', tecla: evento.key });
    } else {
      return;
    }
    evento.preventDefault();
  });

  // The history: a move of the list shows the position after it; the arrows, Home and End
  // step through it from any of the list's buttons.
  $('.partida').addEventListener('click', function (evento) {
    const botao = evento.target.closest('[data-vista], [data-ir]');
    if (!botao) return;
    if (botao.dataset.ir) despachar({ tipo: 'passo', para: botao.dataset.ir });
    else despachar({ tipo: 'ver', vista: Number(botao.dataset.vista) });
  });
  $('#jogadas').addEventListener('keydown', function (evento) {
    if (!['ArrowLeft', 'ArrowRight', 'Home', 'End'].includes(evento.key)) return;
    evento.preventDefault();
    despachar({ tipo: 'teclaNasJogadas', tecla: evento.key });
  });

  clicar('#recarregar', () => ({ tipo: 'usarVersaoNova' }));
  $('#computador').addEventListener('change', (evento) => despachar({ tipo: 'computador', lado: evento.target.value }));
  $('#idioma').addEventListener('change', (evento) => despachar({ tipo: 'idioma', idioma: evento.target.value }));
  $('#porque').addEventListener('change', (evento) => despachar({ tipo: 'porque', sim: evento.target.checked }));
  for (const opcao of todos('input[name="dicionario"]')) {
    opcao.addEventListener('change', () => despachar({ tipo: 'escolherDicionario', escolha: opcao.value }));
  }
  $('#arquivo').addEventListener('change', function (evento) {
    const arquivo = evento.target.files[0];
    if (arquivo) despachar({ tipo: 'arquivoEscolhido', arquivo });
  });
  $('#linha-form').addEventListener('submit', function (evento) {
    evento.preventDefault();
    const campo = $('#linha');
    despachar({ tipo: 'linha', linha: campo.value });
    campo.value = '';
  });
  janela.addEventListener('hashchange', () => despachar({ tipo: 'abrir', fragmento: janela.location.hash }));
}
