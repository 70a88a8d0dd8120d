// The system calls of the web build (platform/sistema_web.cpp), linked as an Emscripten
// JavaScript library. Each hands its work to one of two halves, picked once when the
// program starts: sistema_pagina.js in the page, sistema_node.js under node, which runs
// the test suite with the process's own descriptors and files.
mergeInto(LibraryManager.library, {
  $VELHA__deps: ['$VELHA_NODE', '$VELHA_PAGINA'],
  $VELHA: {},
  $VELHA__postset: 'VELHA.lado = ENVIRONMENT_IS_NODE ? VELHA_NODE : VELHA_PAGINA;',

  // Waits, without blocking the page, for the next bytes of the descriptor.
  velha_ler__deps: ['$VELHA'],
  velha_ler: function (descritor, destino, tamanho) {
    return Asyncify.handleAsync(() => VELHA.lado.ler(descritor, destino, tamanho));
  },

  velha_abrir__deps: ['$VELHA'],
  velha_abrir: function (caminho) {
    return VELHA.lado.abrir(UTF8ToString(caminho));
  },

  velha_fechar__deps: ['$VELHA'],
  velha_fechar: function (descritor) {
    VELHA.lado.fechar(descritor);
  },

  velha_comum__deps: ['$VELHA'],
  velha_comum: function (descritor) {
    return VELHA.lado.comum(descritor);
  },

  velha_pagina__deps: ['$VELHA'],
  velha_pagina: function () {
    return VELHA.lado.pagina();
  },

  // Both called only where velha_pagina said there is a page.
  velha_jogo: function (casas, vez, fim, jogada) {
    Module.velha.jogo(UTF8ToString(casas), String.fromCharCode(vez), String.fromCharCode(fim), jogada);
  },

  velha_regras: function (quantas) {
    Module.velha.regras(quantas);
  },

  velha_pasta: function (destino, tamanho) {
    const pasta = Module.velha && Module.velha.pasta;
    if (!pasta || lengthBytesUTF8(pasta) >= tamanho) return 0;
    stringToUTF8(pasta, destino, tamanho);
    return 1;
  },

  // Standard output and error as bytes, in the chunks the C library flushes: the page
  // shows each as it comes, and node writes it to the descriptor unchanged. At exit the C
  // library flushes its streams through it, and it keeps nothing back. A build with a
  // file system (the unit tests', which redirect output through it) writes through that
  // instead, whose standard streams inicio.js sends to node's.
  fd_write__deps: ['$VELHA'].concat(SYSCALLS_REQUIRE_FILESYSTEM ? ['$FS', '$SYSCALLS'] : []),
  fd_write__postset: function () {
    addAtExit('___stdio_exit()');
  },
  fd_write: function (descritor, vetores, quantos, escritosEm) {
#if SYSCALLS_REQUIRE_FILESYSTEM
    try {
      HEAPU32[escritosEm >> 2] = SYSCALLS.doWritev(SYSCALLS.getStreamFromFD(descritor), vetores, quantos);
      return 0;
    } catch (e) {
      if (!(e instanceof FS.ErrnoError)) throw e;
      return e.errno;
    }
#else
    let total = 0;
    for (let i = 0; i < quantos; i++) total += HEAPU32[(vetores + 8 * i + 4) >> 2];
    const bytes = new Uint8Array(total);
    for (let i = 0, feitos = 0; i < quantos; i++) {
      const inicio = HEAPU32[(vetores + 8 * i) >> 2];
      const tamanho = HEAPU32[(vetores + 8 * i + 4) >> 2];
      bytes.set(HEAPU8.subarray(inicio, inicio + tamanho), feitos);
      feitos += tamanho;
    }
    const falha = VELHA.lado.escrever(descritor, bytes);
    if (falha) return falha;
    HEAPU32[escritosEm >> 2] = total;
    return 0;
#endif
  },
});
