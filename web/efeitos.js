// Carries out what the update asks for: starts a program and sends it lines (sessao.js),
// asks the helper, writes the address, keeps a choice for the next visit, waits, reads a
// chosen file, loads the complete dictionary, copies the address, saves a listing. What
// comes of them returns as events.
import { criarAjudante } from './ajudante.js';
import * as executor from './executor.js';
import * as registro from './console.js';
import { usarVersaoNova } from './instalar.js';
import { criarSessao } from './sessao.js';
import { texto } from './textos.js';

// The complete dictionary's bytes, from dicionario.js, loaded once when first needed (reader,
// or the page's idle preparations), so that nothing but the page and seeker loads before
// the first move.
let completo = null;
export function bytesDoCompleto() {
  completo ??= executor.carregar('dicionario').then(
    () => new TextEncoder().encode(globalThis.velhaDicionarioCompleto || ''),
    (erro) => {
      completo = null; // tried again when next needed
      throw erro;
    },
  );
  return completo;
}

// What a chosen file is known by: its SHA-256, made once when it is read, where the
// browser offers it (a page from a server that is not this machine may not), else the
// number of its reading.
let leituras = 0;
async function chaveDe(nome, bytes) {
  ++leituras;
  let soma = 'leitura-' + leituras;
  if (globalThis.crypto && crypto.subtle) {
    const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
    soma = Array.from(hash, (b) => b.toString(16).padStart(2, '0')).join('');
  }
  return 'arquivo:' + nome + ':' + soma;
}

export function criarEfeitos(documento, janela, despachar, estadoAtual) {
  const $ = (seletor) => documento.querySelector(seletor);
  // A dictionary's bytes, which the state holds but for the complete one's before it loads.
  const dados = (dicionario) => (dicionario.modelo ? dicionario.modelo.bytes : bytesDoCompleto());
  const sessao = criarSessao({
    logs: { saida: $('#console'), erros: $('#erros') },
    despachar,
    cortado: (n) => texto(estadoAtual().idioma, 'ecoCortado', n),
  });
  const ajudante = criarAjudante(despachar);

  const feitos = {
    iniciar(efeito) {
      sessao.iniciar(efeito, efeito.dicionario ? dados(efeito.dicionario) : null);
    },
    // The helper reads reader's dictionary under the name reader's default has.
    ajudante({ dicionario }) {
      const arquivos = dicionario
        ? Promise.resolve(dados(dicionario)).then((lidos) => new Map([['dicionario.txt', lidos]]))
        : new Map();
      ajudante.iniciar(arquivos, dicionario ? dicionario.chave : '');
    },
    enviar: (efeito) => sessao.enviar(efeito),
    parar: (efeito) => sessao.parar(efeito),
    perguntar: (efeito) => ajudante.perguntar(efeito.posicao),
    endereco({ fragmento }) {
      // The update asks only when the address changes: it is written as asked.
      const { location, history } = janela;
      history.replaceState(null, '', fragmento ?? location.pathname + location.search);
    },
    esperar: ({ ms, evento }) => janela.setTimeout(() => despachar(evento), ms),
    guardar({ chave, valor }) {
      try {
        janela.localStorage.setItem('velha-' + chave, valor);
      } catch {
        // Not kept (storage refused): the page still changes.
      }
    },
    rolarConsole: () => registro.rolarAoFim($('#console')),
    async ler({ arquivo }) {
      try {
        const dados = new Uint8Array(await arquivo.arrayBuffer());
        const chave = await chaveDe(arquivo.name, dados);
        despachar({ tipo: 'arquivoLido', nome: arquivo.name, chave, bytes: dados });
      } catch (erro) {
        despachar({ tipo: 'arquivoIlegivel', nome: arquivo.name, erro: erro.message });
      }
    },
    async copiar() {
      const endereco = janela.location.href;
      try {
        await janela.navigator.clipboard.writeText(endereco);
        despachar({ tipo: 'copiado', endereco, copiou: true });
      } catch {
        // No clipboard here (a page from disk, a browser that asks first): shown to copy.
        despachar({ tipo: 'copiado', endereco, copiou: false });
      }
    },
    usarVersaoNova,
    // The complete dictionary, for the panel that shows it.
    carregarCompleto() {
      bytesDoCompleto().then(
        (lidos) => despachar({ tipo: 'completoCarregado', bytes: lidos }),
        () => despachar({ tipo: 'completoNaoCarregou' }),
      );
    },
    salvar({ bytes }) {
      const endereco = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
      const ligacao = documento.createElement('a');
      ligacao.href = endereco;
      ligacao.download = 'dicionario.txt';
      documento.body.appendChild(ligacao);
      ligacao.click();
      ligacao.remove();
      janela.setTimeout(() => URL.revokeObjectURL(endereco), 0);
    },
  };

  return (efeito) => feitos[efeito.tipo](efeito);
}
