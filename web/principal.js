// The page: one state, changed only by the update (atualizar.js) for each event, drawn
// whole by desenho.js after each change; the effects the update asks for are carried out
// (efeitos.js) once the change is drawn. The three programs run in workers (executor.js),
// the console shows exactly what they write, and the board their game.
import { atualizar } from './atualizar.js';
import { criarDesenho } from './desenho.js';
import { bytesDoCompleto, criarEfeitos } from './efeitos.js';
import { estadoInicial } from './estado.js';
import { preparar } from './executor.js';
import { instalar } from './instalar.js';
import { ouvir } from './eventos.js';
import { idiomaInicial } from './textos.js';

function guardado(chave) {
  try {
    return localStorage.getItem('velha-' + chave);
  } catch {
    return null; // storage refused (a page from disk in some browsers): as on a first visit
  }
}

const lado = guardado('computador');
let estado = estadoInicial({
  idioma: idiomaInicial(location.search, guardado('idioma'), navigator.languages || [navigator.language]),
  computador: ['X', 'O', 'ninguem'].includes(lado) ? lado : 'O',
  consoleAberto: guardado('console') === 'true',
});
const desenhar = criarDesenho(document);
const fila = []; // events that came while one was being handled, in order
let ocupado = false;
// The first game's effects (its program's loading, the address), while they wait for a
// task of their own after its draw, so that no task of the start is long on a slow phone.
let adiados = [];

function despachar(evento) {
  fila.push(evento);
  if (ocupado) return;
  ocupado = true;
  try {
    while (fila.length > 0) {
      const { estado: novo, efeitos } = atualizar(estado, fila.shift());
      estado = novo;
      desenhar(estado);
      if (adiados) adiados.push(...efeitos);
      else for (const efeito of efeitos) executar(efeito);
    }
  } finally {
    ocupado = false;
  }
}
const executar = criarEfeitos(document, window, despachar, () => estado);

ouvir(document, window, despachar);
// A live game on arrival, drawn before the first paint: the address's, or seeker's with
// the computer as O. The rest of the start in tasks of its own, none long on a slow phone:
// the programs a person plays and the board's helper started ahead as a first start starts
// them (seeker with no file, reader with the complete dictionary; all but seeker once the
// page is idle, so that they do not slow its first game), and the offline worker last.
despachar({ tipo: 'abrir', fragmento: location.hash });
setTimeout(function () {
  const primeiros = adiados;
  adiados = null;
  for (const efeito of primeiros) executar(efeito);
}, 0);
setTimeout(function () {
  preparar('seeker', new Map(), [], '');
  const ocioso = window.requestIdleCallback || ((fazer) => setTimeout(fazer, 200));
  ocioso(() => instalar(despachar), { timeout: 3000 });
  ocioso(
    function () {
      preparar('why', new Map(), [], '');
      preparar('scribe', null, [], '');
      bytesDoCompleto().then(
        function (dados) {
          const completo = new Map([['dicionario.txt', dados]]);
          preparar('reader', completo, [], 'completo');
          preparar('why', completo, [], 'completo');
        },
        () => undefined, // said when reader needs it
      );
    },
    { timeout: 2000 },
  );
}, 0);
