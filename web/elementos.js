// What the draws share: a text set only where it differs, so that a draw that changes
// nothing costs no layout, and a position drawn small (the explorer's rows, the step
// mode's path), hidden from screen readers, whose text says it.

export function escrever(elemento, valor) {
  if (elemento.textContent !== valor) elemento.textContent = valor;
}

export function miniatura(documento, casas) {
  const quadro = documento.createElement('span');
  quadro.className = 'miniatura';
  quadro.setAttribute('aria-hidden', 'true');
  for (const marca of casas) {
    const casa = documento.createElement('span');
    casa.textContent = marca === '.' ? '' : marca;
    quadro.appendChild(casa);
  }
  return quadro;
}

// The page's fixed elements, each selector looked up once: a draw reads dozens of them.
// Only for elements that stay in the page as it was written (not a list's items).
export function fixos(documento) {
  const um = new Map();
  const varios = new Map();
  return {
    $: (seletor) => um.get(seletor) ?? um.set(seletor, documento.querySelector(seletor)).get(seletor),
    todos: (seletor) =>
      varios.get(seletor) ?? varios.set(seletor, Array.from(documento.querySelectorAll(seletor))).get(seletor),
  };
}
