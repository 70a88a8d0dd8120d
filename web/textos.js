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
