// The page's texts in the language chosen: the language is ?lang=pt or ?lang=en when the
// address names one, else the one the person last chose here, else the first of the
// browser's that the page speaks, else English.
import { en } from './textos_en.js';
import { pt } from './textos_pt.js';

const traducoes = { en, pt };

export const idiomas = Object.keys(traducoes);

export function idiomaInicial(busca, guardado, doNavegador) {
  const pedido = new URLSearchParams(busca).get('lang');
  if (idiomas.includes(pedido)) return pedido;
  if (idiomas.includes(guardado)) return guardado;
  for (const idioma of doNavegador) {
    const base = String(idioma).toLowerCase().split('-')[0];
    if (idiomas.includes(base)) return base;
  }
  return 'en';
}

// The text of chave in idioma with {0}, {1}… replaced by valores; a value that is itself
// a message ({ chave, valores }) is put in that language first.
export function texto(idioma, chave, ...valores) {
  return traducoes[idioma][chave].replace(/\{(\d)\}/g, function (_, n) {
    const valor = valores[Number(n)];
    return valor !== null && typeof valor === 'object' ? texto(idioma, valor.chave, ...valor.valores) : String(valor);
  });
}

// A message to say later, in whatever language is chosen then.
export const mensagem = (chave, ...valores) => ({ chave, valores });

// A score as the page writes it: one minus sign, U+2212, and the infinities as ±∞.
export function comSinal(valor) {
  if (valor === Infinity) return '+∞';
  if (valor === -Infinity) return '−∞';
  return valor < 0 ? '−' + String(-valor) : String(valor);
}

// The page shows every score from X's side (above 0 X wins, X picks the highest): seeker's
// own scores are the side to move's at the explored position (below 0 it wins), turned in
// sign where that side is X. alfa and beta trade places as they turn.
export const sinalDeX = (ladoDaRaiz) => (ladoDaRaiz === 'X' ? -1 : 1);
export const deX = (valor, ladoDaRaiz) => (valor === null || valor === 0 ? valor : sinalDeX(ladoDaRaiz) * valor);
export const limitesDeX = (alfa, beta, ladoDaRaiz) => (sinalDeX(ladoDaRaiz) === 1 ? [alfa, beta] : [-beta, -alfa]);

// Numbers as each language writes them (4,520; 4.520), one formatter a language.
const formatos = new Map();
export function numeros(idioma) {
  if (!formatos.has(idioma)) formatos.set(idioma, new Intl.NumberFormat(idioma === 'pt' ? 'pt-BR' : 'en'));
  return formatos.get(idioma);
}
