// The web build's system calls in the page: standard input is what Module.velha.entrada()
// promises, the bytes of the person's next line (it never ends: a program runs until it
// quits or the page stops its worker); standard output and error go to
// Module.velha.saida(descriptor, bytes), the files a program can open are those of
// Module.velha.arquivos (a Map, name to bytes), and the game goes to Module.velha.jogo and
// Module.velha.regras. The other half, sistema_node.js, is node's; sistema.js picks one
// when the program starts.
mergeInto(LibraryManager.library, {
  $VELHA_PAGINA__deps: ['$ERRNO_CODES'],
  $VELHA_PAGINA: {
    abertos: {}, // open files: descriptor -> {bytes, lidos}
    proximoDescritor: 3,
    entradaPendente: null, // bytes the page gave that are not read yet (none: null)

    ler: async function (descritor, destino, tamanho) {
      const pagina = VELHA_PAGINA;
      if (descritor === 0) {
        while (!pagina.entradaPendente) {
          const linha = await Module.velha.entrada();
          if (linha.length > 0) pagina.entradaPendente = linha;
        }
        const lidos = Math.min(tamanho, pagina.entradaPendente.length);
        HEAPU8.set(pagina.entradaPendente.subarray(0, lidos), destino);
        pagina.entradaPendente = pagina.entradaPendente.subarray(lidos);
        if (pagina.entradaPendente.length === 0) pagina.entradaPendente = null;
        return lidos;
      }
      const aberto = pagina.abertos[descritor];
      if (aberto === undefined) return -ERRNO_CODES.EBADF;
      const lidos = Math.min(tamanho, aberto.bytes.length - aberto.lidos);
      HEAPU8.set(aberto.bytes.subarray(aberto.lidos, aberto.lidos + lidos), destino);
      aberto.lidos += lidos;
      return lidos;
    },

    abrir: function (nome) {
      const arquivos = Module.velha.arquivos || new Map();
      if (!arquivos.has(nome)) return -ERRNO_CODES.ENOENT;
      const descritor = VELHA_PAGINA.proximoDescritor++;
      VELHA_PAGINA.abertos[descritor] = { bytes: arquivos.get(nome), lidos: 0 };
      return descritor;
    },

    fechar: function (descritor) {
      delete VELHA_PAGINA.abertos[descritor];
    },

    comum: function () {
      return 1; // the page's files are all regular
    },

    pagina: function () {
      return Module.velha && Module.velha.jogo ? 1 : 0;
    },

    escrever: function (descritor, bytes) {
      Module.velha.saida(descritor, bytes);
      return 0;
    },
  },
});
