// A dictionary as the page shows it: its rules read as reader reads them, what they cover
// of the game, and the rule of a position. Pure: the update keeps what this makes in the
// page's state, and node tests it.
import { chaveDaPosicao, linhaVencedora, outro } from './partida.js';

const semRegra = '9'.charCodeAt(0); // the table's mark for a key with no rule
const zero = '0'.charCodeAt(0);
const totalDeChaves = 19683; // 3^9: a key past the table makes the file no dictionary
const chaveDoTabuleiroVazio = chaveDaPosicao('.........', 'X');

// The panel lists a dictionary's rules this many at a time, so that drawing them is quick.
export const regrasPorPagina = 50;
const espacos = new Set([0x20, 0x09, 0x0a, 0x0b, 0x0c, 0x0d]); // C's isspace
const eDigito = (byte) => byte >= zero && byte <= zero + 9;

// A rule's cell, or null for a byte that names none (reader then cannot play it).
const casaDaRegra = (byte) => (byte >= zero && byte < zero + 9 ? byte - zero : null);

// The rules of a file, read as reader reads it: "key rule" pairs split by any white space,
// a later pair overriding an earlier one, a rule "9" clearing its key, the text no
// dictionary at the first byte where a key should be that is none (or past the table), or
// a key without a rule. Gives { regras: Map key → { casa, byte } in the order the rules
// last stand in the file, invalida: the line of that first fault, or null }.
export function lerDicionario(bytes) {
  const regras = new Map();
  let i = 0;
  let linha = 1;
  const pular = () => {
    for (; i < bytes.length && espacos.has(bytes[i]); ++i) if (bytes[i] === 0x0a) ++linha;
  };
  const invalido = (naLinha) => ({ regras: new Map(), invalida: naLinha });
  for (;;) {
    pular();
    if (i === bytes.length) return { regras, invalida: null };
    const linhaDaChave = linha;
    if (bytes[i] === 0x2b || bytes[i] === 0x2d) ++i; // a sign, as "%d" takes one
    const inicio = i;
    let chave = 0;
    for (; i < bytes.length && eDigito(bytes[i]); ++i) chave = Math.min(chave * 10 + bytes[i] - zero, totalDeChaves);
    if (i === inicio || (chave !== 0 && bytes[inicio - 1] === 0x2d) || chave >= totalDeChaves) {
      return invalido(linhaDaChave);
    }
    pular();
    if (i === bytes.length) return invalido(linhaDaChave);
    const byte = bytes[i++];
    regras.delete(chave); // where it stands now is where it last stood
    if (byte !== semRegra) regras.set(chave, { casa: casaDaRegra(byte), byte });
  }
}

// scribe's output since its last game is a listing when it is lines "KEY CELL" only (a
// refused move writes its message and the board).
export function eListagem(bytes) {
  if (bytes.length === 0) return false;
  let i = 0;
  while (i < bytes.length) {
    const inicio = i;
    while (i < bytes.length && eDigito(bytes[i])) ++i;
    if (i === inicio || bytes[i] !== 0x20 || !eDigito(bytes[i + 1]) || bytes[i + 2] !== 0x0a) return false;
    i += 3;
  }
  return true;
}

// Walks the positions games reach before their end, X first, each once: jogadas(casas,
// vez) gives the cells played on from each.
function andarPeloJogo(jogadas) {
  const vistas = new Set();
  const andar = (casas, vez) => {
    if (vistas.has(casas) || linhaVencedora(casas) || !casas.includes('.')) return;
    vistas.add(casas);
    for (const casa of jogadas(casas, vez)) andar(casas.slice(0, casa) + vez + casas.slice(casa + 1), outro(vez));
  };
  andar('.........', 'X');
}
const livres = (casas) => Array.from(casas, (marca, casa) => (marca === '.' ? casa : -1)).filter((casa) => casa >= 0);

// Every such position: { vez, chave }. 4,520 of them, 2,423 with X to move; no two share a
// key (X to move, the two sides have as many marks; O to move, X has one more), so a key
// names one position.
let alcancaveis = null;
function posicoesDoJogo() {
  if (alcancaveis) return alcancaveis;
  const lista = [];
  andarPeloJogo(function (casas, vez) {
    lista.push({ vez, chave: chaveDaPosicao(casas, vez) });
    return livres(casas);
  });
  alcancaveis = { lista, chaves: new Set(lista.map((p) => p.chave)) };
  return alcancaveis;
}

// The rule of a position: { chave, regra (undefined where there is none), casa: the cell
// reader plays, null where it has no move (no rule, a rule naming no cell, or a taken one) }.
export function regraDaPosicao(regras, casas, vez) {
  const chave = chaveDaPosicao(casas, vez);
  const regra = regras.get(chave);
  const casa = regra && regra.casa !== null && casas[regra.casa] === '.' ? regra.casa : null;
  return { chave, regra, casa };
}

// The position a key stands for, as its rule is drawn: the marks of the side to move and
// of the other, read back from the key (a balanced base-3 digit per cell), X to move where
// the two have as many marks, else O; null for a key that is no position.
export function posicaoDaChave(chave) {
  const pesos = [9, 3, 1, 243, 81, 27, 6561, 2187, 729]; // cell c of row r: 27^r · 3^(2 − c mod 3)
  let resto = chave - chaveDoTabuleiroVazio;
  const valores = new Array(9).fill(0);
  for (let potencia = 1, n = 0; n < 9; ++n, potencia *= 3) {
    const digito = (((resto / potencia) % 3) + 3) % 3; // resto is a multiple of potencia here
    const valor = digito === 2 ? -1 : digito;
    valores[pesos.indexOf(potencia)] = valor;
    resto -= valor * potencia;
  }
  if (resto !== 0) return null;
  const minhas = valores.filter((v) => v === -1).length;
  const delas = valores.filter((v) => v === 1).length;
  const vez = minhas === delas ? 'X' : 'O';
  const outro = vez === 'X' ? 'O' : 'X';
  return { casas: valores.map((v) => (v === 0 ? '.' : v === -1 ? vez : outro)).join(''), vez };
}

// How many positions reader, playing lado from its rules against any moves, can reach
// where it has no move to play.
function semJogada(regras, lado) {
  let sem = 0;
  andarPeloJogo(function (casas, vez) {
    if (vez !== lado) return livres(casas);
    const { casa } = regraDaPosicao(regras, casas, vez);
    if (casa !== null) return [casa];
    ++sem;
    return [];
  });
  return sem;
}

// What the rules cover: { regras, X, O, deX, deO, fora, semJogada: { X, O } }: the
// positions with a rule of each side to move, of how many, the rules for positions no
// game reaches, and the positions reader can meet with no move to play, as either side.
export function cobertura(regras) {
  const { lista, chaves } = posicoesDoJogo();
  const conta = { regras: regras.size, X: 0, O: 0, deX: 0, deO: 0, fora: 0 };
  for (const { vez, chave } of lista) {
    conta['de' + vez] += 1;
    if (regras.has(chave)) conta[vez] += 1;
  }
  for (const chave of regras.keys()) if (!chaves.has(chave)) conta.fora += 1;
  return { ...conta, semJogada: { X: semJogada(regras, 'X'), O: semJogada(regras, 'O') } };
}

// A dictionary for the page's state: its bytes (to start reader with, or to save), its
// rules in the file's order and what they cover, read once.
export function modeloDoDicionario(bytes) {
  const { regras, invalida } = lerDicionario(bytes);
  return { bytes, regras, ordem: [...regras.keys()], invalida, cobertura: cobertura(regras) };
}
