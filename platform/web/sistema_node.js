// The web build's system calls under node, which runs the test suite: the process's own
// descriptors and files, so that the tests see exactly the bytes the page is given. The
// other half, sistema_pagina.js, is the page's; sistema.js picks one when the program
// starts.
mergeInto(LibraryManager.library, {
  $VELHA_NODE__deps: ['$ERRNO_CODES'],
  $VELHA_NODE: {
    // node's error as a negated errno, which sistema_web.cpp turns into errno.
    erro: function (e) {
      return -(ERRNO_CODES[e.code] || ERRNO_CODES.EIO);
    },
    esperar: function (milissegundos) {
      return new Promise(function (pronto) {
        setTimeout(pronto, milissegundos);
      });
    },
    // A pause that blocks, for a write that must finish before it returns.
    pausar: function (milissegundos) {
      Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, milissegundos);
    },

    ler: async function (descritor, destino, tamanho) {
      for (;;) {
        try {
          return require('fs').readSync(descritor, HEAPU8, destino, tamanho, null);
        } catch (e) {
          // A descriptor its opener made non-blocking, with nothing yet: wait for it as a
          // blocking read does, a timer at a time, without keeping the processor busy.
          if (e.code === 'EAGAIN') {
            await VELHA_NODE.esperar(10);
            continue;
          }
          if (e.code === 'EOF') return 0; // node on Windows, at a pipe's end
          return VELHA_NODE.erro(e);
        }
      }
    },

    abrir: function (nome) {
      try {
        return require('fs').openSync(nome, 'r');
      } catch (e) {
        return VELHA_NODE.erro(e);
      }
    },

    fechar: function (descritor) {
      try {
        require('fs').closeSync(descritor);
      } catch (e) {
        // Closing only gives the descriptor back; there is nothing to do about a failure.
      }
    },

    comum: function (descritor) {
      try {
        return require('fs').fstatSync(descritor).isFile() ? 1 : 0;
      } catch (e) {
        return 0;
      }
    },

    pagina: function () {
      return 0; // no page shows the game
    },

    // All of bytes, to the descriptor: 0, or the errno of the failure.
    escrever: function (descritor, bytes) {
      for (let escritos = 0; escritos < bytes.length;) {
        try {
          escritos += require('fs').writeSync(descritor, bytes, escritos, bytes.length - escritos);
        } catch (e) {
          if (e.code === 'EAGAIN') {
            VELHA_NODE.pausar(1);
            continue;
          }
          return -VELHA_NODE.erro(e);
        }
      }
      return 0;
    },
  },
});
