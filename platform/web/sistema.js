// The system calls of the web build (platform/sistema_web.cpp), linked as an Emscripten
// JavaScript library.
//
// In the page, standard input is what Module.velha.entrada() promises (the bytes of the
// person's next line, or null once input has ended), standard output and error go to
// Module.velha.saida(descriptor, bytes), and the files a program can open are those of
// Module.velha.arquivos (name: bytes). Under node, which runs the test suite, the same
// calls use the process's own descriptors and files, so that the tests see exactly the
// bytes the page is given.
mergeInto(LibraryManager.library, {
  $VELHA__deps: ['$ERRNO_CODES'],
  $VELHA: {
    abertos: {}, // the page's open files: descriptor -> {bytes, lidos}
    proximoDescritor: 3,
    entradaPendente: null, // bytes the page gave that are not read yet (none: null)
    entradaAcabou: false,
    // node's error as a negated errno, which sistema_web.cpp turns into errno.
    erro: function (e) {
      return -(ERRNO_CODES[e.code] || ERRNO_CODES.EIO);
    },
    esperar: function (milissegundos) {
      return new Promise(function (pronto) {
        setTimeout(pronto, milissegundos);
      });
    },
    // node only: a pause that blocks, for a write that must finish before it returns.
    pausar: function (milissegundos) {
      Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, milissegundos);
    },
  },

  velha_ler__deps: ['$VELHA'],
  velha_ler: function (descritor, destino, tamanho) {
    return Asyncify.handleAsync(async function () {
      if (ENVIRONMENT_IS_NODE) {
        for (;;) {
          try {
            return require('fs').readSync(descritor, HEAPU8, destino, tamanho, null);
          } catch (e) {
            // A descriptor its opener made non-blocking, with nothing yet: wait for it as
            // a blocking read does, a timer at a time, without keeping the processor busy.
            if (e.code === 'EAGAIN') {
              await VELHA.esperar(10);
              continue;
            }
            if (e.code === 'EOF') return 0; // node on Windows, at a pipe's end
            return VELHA.erro(e);
          }
        }
      }
      if (descritor === 0) {
        while (!VELHA.entradaPendente && !VELHA.entradaAcabou) {
          const linha = await Module.velha.entrada();
          if (linha === null) VELHA.entradaAcabou = true;
          else if (linha.length > 0) VELHA.entradaPendente = linha;
        }
        if (!VELHA.entradaPendente) return 0;
        const lidos = Math.min(tamanho, VELHA.entradaPendente.length);
        HEAPU8.set(VELHA.entradaPendente.subarray(0, lidos), destino);
        VELHA.entradaPendente = VELHA.entradaPendente.subarray(lidos);
        if (VELHA.entradaPendente.length === 0) VELHA.entradaPendente = null;
        return lidos;
      }
      const aberto = VELHA.abertos[descritor];
      if (aberto === undefined) return -ERRNO_CODES.EBADF;
      const lidos = Math.min(tamanho, aberto.bytes.length - aberto.lidos);
      HEAPU8.set(aberto.bytes.subarray(aberto.lidos, aberto.lidos + lidos), destino);
      aberto.lidos += lidos;
      return lidos;
    });
  },

  velha_abrir__deps: ['$VELHA'],
  velha_abrir: function (caminho) {
    const nome = UTF8ToString(caminho);
    if (ENVIRONMENT_IS_NODE) {
      try {
        return require('fs').openSync(nome, 'r');
      } catch (e) {
        return VELHA.erro(e);
      }
    }
    const arquivos = Module.velha.arquivos || {};
    if (!Object.prototype.hasOwnProperty.call(arquivos, nome)) return -ERRNO_CODES.ENOENT;
    const descritor = VELHA.proximoDescritor++;
    VELHA.abertos[descritor] = { bytes: arquivos[nome], lidos: 0 };
    return descritor;
  },

  velha_fechar__deps: ['$VELHA'],
  velha_fechar: function (descritor) {
    if (!ENVIRONMENT_IS_NODE) {
      delete VELHA.abertos[descritor];
      return;
    }
    try {
      require('fs').closeSync(descritor);
    } catch (e) {
      // Closing only gives the descriptor back; there is nothing to do about a failure.
    }
  },

  velha_pagina: function () {
    return !ENVIRONMENT_IS_NODE && Module.velha && Module.velha.jogo ? 1 : 0;
  },

  velha_jogo: function (casas, vez, fim) {
    Module.velha.jogo(UTF8ToString(casas), String.fromCharCode(vez), String.fromCharCode(fim));
  },

  velha_regras: function (quantas) {
    if (Module.velha.regras) Module.velha.regras(quantas);
  },

  // The page's files are all regular; under node, as the system says.
  velha_comum: function (descritor) {
    if (!ENVIRONMENT_IS_NODE) return 1;
    try {
      return require('fs').fstatSync(descritor).isFile() ? 1 : 0;
    } catch (e) {
      return 0;
    }
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
    if (ENVIRONMENT_IS_NODE) {
      for (let escritos = 0; escritos < total; ) {
        try {
          escritos += require('fs').writeSync(descritor, bytes, escritos, total - escritos);
        } catch (e) {
          if (e.code === 'EAGAIN') {
            VELHA.pausar(1);
            continue;
          }
          return -VELHA.erro(e);
        }
      }
    } else {
      Module.velha.saida(descritor, bytes);
    }
    HEAPU32[escritosEm >> 2] = total;
    return 0;
#endif
  },
});
