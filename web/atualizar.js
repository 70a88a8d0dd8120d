// The page's one update: atualizar(estado, evento) gives the new state and the effects to
// carry out (efeitos.js carries them out), for every event: a person's action, what a
// program or the helper tells, a timer. Pure: node tests it with no page.
import {
  casaDestino,
  chaveDaPosicao,
  comPartida,
  desfeitas,
  eco,
  fragmento,
  lerFragmento,
  lerResposta,
} from './partida.js';
import {
  casaOferecida,
  dicionarioDoPainel,
  dicionarioEscolhido,
  emRepeticao,
  paginaMostrada,
  pergunta,
  regraDoTabuleiro,
  temPartida,
  vezDoComputador,
} from './estado.js';
import { eListagem, modeloDoDicionario } from './dicionario.js';
import {
  manipuladoresDaBusca,
  perguntasDaBusca,
  respostaDaBusca,
  seguirORastro,
  seguirOTabuleiro,
  pedirFoco,
  so,
} from './atualizar_busca.js';
import { mensagem } from './textos.js';

// The pause before the computer answers, so that the person sees their move land first.
export const pausaDoComputador = 350; // ms

// Starts programa afresh and replays the cells jogadas in it (seeker's and reader's game).
function iniciar(estado, programa, jogadas = []) {
  let dicionario = null;
  if (programa === 'reader') {
    dicionario = dicionarioEscolhido(estado);
    // No program runs with a dictionary the person did not choose; the one running goes on.
    if (!dicionario) return so({ ...estado, aviso: mensagem('semArquivo') });
  }
  const comJogo = comPartida.includes(programa);
  const execucao = estado.execucao + 1;
  return so(
    {
      ...estado,
      programa,
      execucao,
      rodando: 'rodando',
      status: null,
      partida: comJogo ? jogadas : estado.partida,
      repeticao: 1 + (comJogo ? jogadas.length : 0), // the game at its start, then one a move
      jogo: null,
      ultima: null,
      vista: null,
      resposta: null,
      pedido: null,
      esperando: false,
      pensando: false,
      aviso: null,
      copiado: null,
      regras: null,
      lados: [],
      dicionarioDoReader: dicionario ?? estado.dicionarioDoReader,
    },
    { tipo: 'iniciar', execucao, programa, jogadas: comJogo ? jogadas : [], dicionario },
  );
}

// An address's game ("#seeker/O/304"), on arrival or when the address changes; one that
// is no game opens a fresh game and says why.
function abrir(estado, texto) {
  const pedido = lerFragmento(texto);
  if (pedido === null) return estado.programa === null ? iniciar(estado, 'seeker') : so(estado);
  if (pedido.erro) {
    const motivos = {
      codificacao: mensagem('codificacao'),
      programa: mensagem('programaDesconhecido', eco(pedido.programa)),
      semPartida: mensagem('semPartida', pedido.programa),
      vazia: mensagem('parteVazia'),
      parte: mensagem('parte', eco(pedido.parte)),
      casa: mensagem('casaInvalida', eco(pedido.casa)),
      ocupada: mensagem('casaOcupada', pedido.casa),
      depoisDoFim: mensagem('depoisDoFim', pedido.casa),
    };
    const aberto = iniciar(estado, 'seeker');
    return so({ ...aberto.estado, aviso: mensagem('naoEJogo', eco(texto), motivos[pedido.erro]) }, ...aberto.efeitos);
  }
  const atual = estado.programa && fragmento(estado.programa, estado.partida, estado.computador);
  if (atual === fragmento(pedido.programa, pedido.jogadas, pedido.computador)) return so(estado);
  return iniciar({ ...estado, computador: pedido.computador }, pedido.programa, pedido.jogadas);
}

// What a run tells after each command: its game, and the cell the command played.
function contarJogo(estado, { casas, vez, fim, jogada, saida }) {
  const novo = { ...estado, jogo: { casas, vez, fim }, esperando: false, pensando: false, bDoReader: false };
  // reader's b played a cell: the rule it played by, the key of the position it played in.
  const antes = estado.jogo;
  novo.regraJogada =
    estado.bDoReader && jogada >= 0 && antes ? { casa: jogada, chave: chaveDaPosicao(antes.casas, antes.vez) } : null;
  const vazio = !/[XO]/.test(casas);
  if (vazio) novo.ultima = null;
  else if (jogada >= 0) novo.ultima = jogada;
  if (emRepeticao(estado)) {
    novo.repeticao = estado.repeticao - 1;
  } else if (temPartida(estado)) {
    if (vazio) novo.partida = [];
    else if (jogada >= 0) novo.partida = [...estado.partida, jogada];
  }
  return comListagem(novo, saida);
}

// scribe's output since its last game, when that was a listing: offered to reader at once.
function comListagem(estado, saida) {
  if (!saida || !eListagem(saida)) return estado;
  const lados = [...estado.lados].sort().reverse(); // X before O
  const listagens = estado.dicionario.listagens + 1;
  const listagem = { chave: 'listagem-' + listagens, lados, modelo: modeloDoDicionario(saida) };
  return { ...estado, dicionario: { ...estado.dicionario, listagem, listagens } };
}

// The position shown, stepped through the game: 0 is the empty board, the game's length
// (or null) the game in play.
function ver(estado, vista) {
  if (!temPartida(estado) || emRepeticao(estado)) return so(estado);
  const ultima = estado.partida.length;
  const nova = vista === null || vista >= ultima ? null : Math.max(0, vista);
  return so({ ...estado, vista: nova });
}

function passo(estado, para) {
  const atual = estado.vista ?? estado.partida.length;
  const vistas = { primeira: 0, anterior: atual - 1, proxima: atual + 1, ultima: null };
  return ver(estado, vistas[para]);
}

const manipuladores = {
  abrir: (e, ev) => abrir(e, ev.fragmento),
  escolherPrograma(e, { programa }) {
    if (programa === e.programa && e.rodando === 'rodando') return so(e);
    return iniciar(e, programa, comPartida.includes(programa) ? e.partida : []);
  },
  novoJogo: (e) => iniciar(e, e.programa),
  deNovo: (e) => iniciar(e, e.programa, temPartida(e) ? e.partida : []),
  desfazer: (e) => iniciar(e, e.programa, desfeitas(e.partida, e.computador)),
  jogarDaqui: (e) => (e.vista === null ? so(e) : iniciar(e, e.programa, e.partida.slice(0, e.vista))),
  reiniciarReader: (e) => iniciar(e, 'reader', e.partida),
  casa(e, { casa }) {
    if (!casaOferecida(e, casa)) return so(e); // taken, or the computer's turn: never played for it
    if (e.vista !== null) return iniciar(e, e.programa, [...e.partida.slice(0, e.vista), casa]);
    return so({ ...e, esperando: true, aviso: null }, { tipo: 'enviar', execucao: e.execucao, linha: 'j ' + casa });
  },
  linha(e, { linha }) {
    if (e.rodando !== 'rodando') return so(e);
    const bDoReader = e.programa === 'reader' && linha.trim() === 'b';
    return so({ ...e, vista: null, bDoReader }, { tipo: 'enviar', execucao: e.execucao, linha });
  },
  parar: (e) => (e.rodando === 'rodando' ? so(e, { tipo: 'parar', execucao: e.execucao }) : so(e)),
  jogo: (e, ev) => so(contarJogo(e, ev)),
  regras(e, { quantas }) {
    // b leaves the game as it was: the side to move is the side it recorded.
    const gravou = quantas > (e.regras ?? 0) && e.jogo && !e.lados.includes(e.jogo.vez);
    return so({ ...e, regras: quantas, lados: gravou ? [...e.lados, e.jogo.vez] : e.lados });
  },
  // What a stopped scribe wrote is cut short: no listing, whatever it looks like.
  fim: (e, { status, saida }) =>
    so(
      pedirFoco(
        {
          ...comListagem(e, status === null ? null : saida),
          rodando: 'terminado',
          status,
          esperando: false,
          pensando: false,
        },
        'deNovo',
      ),
    ),
  naoCarregou: (e, { nome }) => so({ ...e, rodando: 'terminado', status: null, aviso: mensagem('naoCarregou', nome) }),
  resposta(e, { linha }) {
    const daBusca = respostaDaBusca(e, linha);
    if (daBusca) return daBusca;
    const lida = lerResposta(linha);
    return so(lida && lida.pergunta === pergunta(e) ? { ...e, resposta: lida } : e);
  },
  // A helper just started asks about what it missed: the position, and the explorer's rows.
  ajudantePronto(e) {
    const perguntas = [...(pergunta(e) ? [pergunta(e)] : []), ...perguntasDaBusca(e)];
    return so(e, ...perguntas.map((posicao) => ({ tipo: 'perguntar', posicao })));
  },
  ...manipuladoresDaBusca,
  vezDoComputador(e, { numero }) {
    if (numero !== e.pedidos || !e.pensando) return so(e);
    if (!vezDoComputador(e)) return so({ ...e, pensando: false });
    return so({ ...e, bDoReader: e.programa === 'reader' }, { tipo: 'enviar', execucao: e.execucao, linha: 'b' });
  },
  computador: (e, { lado }) =>
    so(
      { ...e, computador: lado, pedido: null, pensando: false },
      { tipo: 'guardar', chave: 'computador', valor: lado },
    ),
  idioma: (e, { idioma }) => so({ ...e, idioma }, { tipo: 'guardar', chave: 'idioma', valor: idioma }),
  porque: (e, { sim }) => so({ ...e, porque: sim }),
  console: (e) =>
    so(
      { ...e, consoleAberto: !e.consoleAberto },
      { tipo: 'guardar', chave: 'console', valor: String(!e.consoleAberto) },
      ...(e.consoleAberto ? [] : [{ tipo: 'rolarConsole' }]),
    ),
  ver: (e, { vista }) => ver(e, vista),
  passo: (e, { para }) => passo(e, para),
  apontar: (e, { casa }) => so({ ...e, apontada: casa }),
  // A cell's line button, on a touch screen: pressed again, it hides the line.
  alternarLinha: (e, { casa }) => so({ ...e, apontada: e.apontada === casa ? null : casa }),
  focar: (e, { casa }) => so({ ...e, foco: casa }),
  // The board's arrows move its one Tab stop, and the focus with it.
  teclaNoTabuleiro(e, { casa, tecla }) {
    const destino = casaDestino(casa, tecla);
    return destino === null ? so(e) : so(pedirFoco({ ...e, foco: destino, apontada: destino }, 'casa'));
  },
  // The arrows, Home and End in Moves walk the history, the focus on the move shown.
  teclaNasJogadas(e, { tecla }) {
    const para = { ArrowLeft: 'anterior', ArrowRight: 'proxima', Home: 'primeira', End: 'ultima' }[tecla];
    if (!para) return so(e);
    const andou = passo(e, para);
    return so(pedirFoco(andou.estado, 'jogadas'), ...andou.efeitos);
  },
  escolherDicionario: (e, { escolha }) => so({ ...e, dicionario: { ...e.dicionario, escolha } }),
  arquivoEscolhido: (e, { arquivo }) =>
    so({ ...e, dicionario: { ...e.dicionario, escolha: 'arquivo' } }, { tipo: 'ler', arquivo }),
  arquivoLido: (e, { nome, chave, bytes }) =>
    so({
      ...e,
      aviso: null,
      dicionario: { ...e.dicionario, escolha: 'arquivo', arquivo: { nome, chave, modelo: modeloDoDicionario(bytes) } },
    }),
  completoCarregado: (e, { bytes }) =>
    so({ ...e, dicionario: { ...e.dicionario, completo: modeloDoDicionario(bytes) } }),
  completoNaoCarregou: (e) => so({ ...e, dicionario: { ...e.dicionario, completo: 'falhou' } }),
  painelDoDicionario: (e) => so({ ...e, painelDoDicionario: !e.painelDoDicionario }),
  // The panel's pages of rules: the first, or a step from the one shown.
  paginaDeRegras: (e, { para }) =>
    so({ ...e, paginaDeRegras: para === 'primeira' ? 0 : paginaMostrada(e) + (para === 'seguinte' ? 1 : -1) }),
  // scribe's listing, played from at once.
  jogarComListagem: (e) =>
    e.dicionario.listagem
      ? iniciar({ ...e, dicionario: { ...e.dicionario, escolha: 'listagem' } }, 'reader', e.partida)
      : so(e),
  arquivoIlegivel: (e, { nome, erro }) =>
    so({ ...e, aviso: mensagem('arquivoIlegivel', nome, erro), dicionario: { ...e.dicionario, arquivo: null } }),
  copiar: (e) => so(e, { tipo: 'copiar' }),
  copiado: (e, { endereco, copiou }) =>
    so({ ...e, copiado: mensagem(copiou ? 'enderecoCopiado' : 'enderecoParaCopiar', endereco) }),
  // A new build is ready (its worker waiting): offered, and used only when asked for.
  versaoNova: (e) => so({ ...e, versaoNova: true }),
  usarVersaoNova: (e) => so(e, { tipo: 'usarVersaoNova' }),
  salvarListagem: (e) =>
    e.dicionario.listagem ? so(e, { tipo: 'salvar', bytes: e.dicionario.listagem.modelo.bytes }) : so(e),
};

// What every event may change besides its own: the helper's question when the position
// shown changes, the address when the game does, and the computer's move when its side is
// to move in a position it has not yet been asked about.
function acertar(antes, { estado, efeitos }) {
  let e = estado;
  const feitos = [...efeitos];
  const perguntada = pergunta(e);
  if (perguntada !== pergunta(antes) || e.execucao !== antes.execucao) {
    e = { ...e, resposta: null };
    if (perguntada) feitos.push({ tipo: 'perguntar', posicao: perguntada });
  }
  // The helper runs beside the program once its verdicts are shown (Show why), reader's rule
  // is noted or the search explored: a first game needs none, nor the time its loading takes.
  const ajuda = (x) => x.rodando === 'rodando' && (x.porque || x.programa === 'reader' || x.explorador !== null);
  for (const seguir of [seguirOTabuleiro, seguirORastro]) {
    const seguida = seguir(e);
    e = seguida.estado;
    feitos.push(...seguida.efeitos);
  }
  if (ajuda(e) && (!ajuda(antes) || e.execucao !== antes.execucao)) {
    feitos.push({ tipo: 'ajudante', dicionario: e.programa === 'reader' ? e.dicionarioDoReader : null });
  }
  // The complete dictionary is loaded when the panel shows it or reader plays from it.
  const doCompleto = (x) => x && x.chave === 'completo';
  const precisa =
    (e.painelDoDicionario && doCompleto(dicionarioDoPainel(e))) ||
    (e.programa === 'reader' && doCompleto(e.dicionarioDoReader));
  if (precisa && e.dicionario.completo === null) {
    e = { ...e, dicionario: { ...e.dicionario, completo: 'pedido' } };
    feitos.push({ tipo: 'carregarCompleto' });
  }
  // The panel's page follows the board's rule again once the position or the dictionary changes.
  const seguida = (x) => {
    const regra = regraDoTabuleiro(x);
    const dicionario = dicionarioDoPainel(x);
    return (regra ? regra.chave : '') + ' ' + (dicionario ? dicionario.chave : '');
  };
  if (e.paginaDeRegras !== null && seguida(e) !== seguida(antes)) e = { ...e, paginaDeRegras: null };
  const endereco = (x) => (x.programa ? fragmento(x.programa, x.partida, x.computador) : null);
  if (endereco(e) !== endereco(antes)) feitos.push({ tipo: 'endereco', fragmento: endereco(e) });
  if (vezDoComputador(e) && !e.pensando) {
    const posicao = pergunta(e);
    if (posicao !== e.pedido) {
      const numero = e.pedidos + 1;
      e = { ...e, pedido: posicao, pedidos: numero, pensando: true };
      const evento = { tipo: 'vezDoComputador', execucao: e.execucao, numero };
      feitos.push({ tipo: 'esperar', ms: pausaDoComputador, evento });
    }
  }
  return { estado: e, efeitos: feitos };
}

// What a run tells is heard only while it is the run: a run replaced (a take back, another
// program chosen while it loaded) may still be telling.
const daExecucao = new Set(['jogo', 'regras', 'fim', 'naoCarregou', 'vezDoComputador']);

export function atualizar(estado, evento) {
  const manipulador = manipuladores[evento.tipo];
  if (!manipulador) throw new Error('unknown event ' + evento.tipo);
  if (daExecucao.has(evento.tipo) && evento.execucao !== estado.execucao) return so(estado);
  return acertar(estado, manipulador(estado, evento));
}
