// The console's logs, drawn a frame at a time. What a program writes reaches the page in
// batches (executor.js) and goes into its log at the next animation frame, in blocks of
// whole lines; what must follow that text on screen (the board it led to) waits for it.

// What reaches a log waits for the next animation frame, and then goes in at once: a
// listing of thousands of lines is a few text nodes and one scroll, not thousands of
// elements each followed by a layout.
const pendentes = new Map(); // log element -> [{ texto, classe }], in order
const depois = []; // what is shown once the text before it is, in order
let quadroPedido = false;

function pedirQuadro() {
  if (!quadroPedido) {
    quadroPedido = true;
    requestAnimationFrame(mostrarPendentes);
  }
}

// texto at the end of the log elemento, in a part of class classe.
export function acrescentar(elemento, texto, classe) {
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
// Out of sight (below the board, on a phone) a log's blocks are not laid out and its end
// cannot be scrolled to: it is scrolled there once it comes into sight.
const foraDeVista = new WeakSet(); // the logs out of sight
const aRolarAoAparecer = new WeakSet();
const vigia =
  typeof IntersectionObserver === 'undefined'
    ? null
    : new IntersectionObserver(function (entradas) {
        for (const { target: log, isIntersecting: emVista } of entradas) {
          if (!emVista) {
            foraDeVista.add(log);
          } else if (foraDeVista.delete(log) && aRolarAoAparecer.delete(log)) {
            ateOFim(log, 0);
          }
        }
      });
const vigiados = new WeakSet();
// Its blocks are laid out some frames after they come into sight, each taller than the
// estimate it had: the end is scrolled to at each frame for a moment, unless the person
// scrolls it meanwhile.
const quadrosAteOFim = 30;
function ateOFim(log, vezes, posta = null) {
  if (posta !== null && log.scrollTop < posta - 1) return; // scrolled by hand
  log.scrollTop = log.scrollHeight;
  const agora = log.scrollTop;
  if (vezes < quadrosAteOFim) requestAnimationFrame(() => ateOFim(log, vezes + 1, agora));
}

function mostrarPendentes() {
  quadroPedido = false;
  for (const elemento of aRolar) {
    elemento.scrollTop = elemento.scrollHeight;
    if (vigia && !vigiados.has(elemento)) {
      vigiados.add(elemento);
      vigia.observe(elemento);
    }
    if (foraDeVista.has(elemento)) aRolarAoAparecer.add(elemento);
  }
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
  // What waits for the text that led to it.
  if (pendentes.size > 0) return;
  for (const mostrar of depois.splice(0)) mostrar();
}

// mostrar() once every text added so far is on screen, after what waits already.
export function depoisDoTexto(mostrar) {
  depois.push(mostrar);
  pedirQuadro();
}

// Nothing more to draw: a program that starts again begins with an empty console.
export function esquecer() {
  pendentes.clear();
  depois.length = 0;
}

// The log elemento at its latest line, as when it is opened again.
export function rolarAoFim(elemento) {
  aRolar.add(elemento);
  pedirQuadro();
}
