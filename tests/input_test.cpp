#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

#include "input/entrada.h"
#include "platform/sistema.h"
#include "tests/fluxo.h"

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)  // no signals or threads there
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>
#endif

namespace velha {
namespace {

// Every case is read once from memory and once a byte at a time, so that the byte a
// reader leaves unread lies at the start of a block as often as inside one.
template <class Ler>
void emMemoriaEEmPedacos(const std::string& texto, Ler ler) {
  Fluxo memoria(texto);
  ler(&memoria.fonte, "memoria");
  FluxoEmPedacos pedacos(texto, 1, false);
  ler(&pedacos.fonte, "pedacos");
}

TEST(LerPosicao, NumerosLidosComoPercentD) {
  const struct {
    const char* entrada;
    int valor;
    const char* resto;
  } casos[] = {
      {"4\n", 4, "\n"},
      {"  \n\t 7 x\n", 7, " x\n"},
      {"4x\n", 4, "x\n"},
      {"-1\n", -1, "\n"},
      {"+8", 8, ""},
      {"007\n", 7, "\n"},
      {"2147483647\n", INT_MAX, "\n"},
      {"-2147483648\n", INT_MIN, "\n"},
  };
  for (const auto& caso : casos) {
    emMemoriaEEmPedacos(caso.entrada, [&](FONTE* fonte, const char* como) {
      int valor = 12345;
      EXPECT_EQ(lerInteiro(fonte, &valor), leitura::lida) << caso.entrada << como;
      EXPECT_EQ(valor, caso.valor) << caso.entrada << como;
      EXPECT_EQ(restoDaFonte(fonte), caso.resto) << caso.entrada << como;
    });
  }
}

// lerInteiro stops at the byte that decides; lerPosicao then skips to the line end.
TEST(LerPosicao, TextoQueNaoENumeroParaNoByteQueDecide) {
  const std::string enorme(38, '9');
  const struct {
    std::string entrada;
    std::string resto;
    std::string depoisDaLinha;
  } casos[] = {
      {" x 4\nj 2\n", "x 4\nj 2\n", "\nj 2\n"},
      {"\n\nabc\nq\n", "abc\nq\n", "\nq\n"},
      {"-\n", "\n", "\n"},
      {"+-3 q\nq", "-3 q\nq", "\nq"},
      {"2147483648\nq", "\nq", "\nq"},
      {"-2147483649 9\n", "9 9\n", "\n"},
      {enorme + "\n", enorme.substr(9) + "\n", "\n"},
      {"x", "x", ""},
  };
  for (const auto& caso : casos) {
    for (const bool posicao : {false, true}) {
      emMemoriaEEmPedacos(caso.entrada, [&](FONTE* fonte, const char* como) {
        int valor = 12345;
        const leitura lida = posicao ? lerPosicao(fonte, &valor) : lerInteiro(fonte, &valor);
        EXPECT_EQ(lida, leitura::invalida) << caso.entrada << como;
        EXPECT_EQ(valor, 12345) << caso.entrada << como;
        EXPECT_EQ(restoDaFonte(fonte), posicao ? caso.depoisDaLinha : caso.resto)
            << caso.entrada << como;
      });
    }
  }
}

TEST(LerPosicao, FimDaEntradaAntesDoNumero) {
  for (const char* entrada : {"", "   ", " \n \n"}) {
    emMemoriaEEmPedacos(entrada, [&](FONTE* fonte, const char* como) {
      int valor = 0;
      EXPECT_EQ(lerInteiro(fonte, &valor), leitura::fimDaEntrada) << '"' << entrada << '"' << como;
    });
  }
}

TEST(LerComando, DescartarLinhaParaNoFimDaLinhaOuDaEntrada) {
  emMemoriaEEmPedacos("abc\nq", [](FONTE* fonte, const char* como) {
    char c = 0;
    ASSERT_TRUE(lerComando(fonte, &c)) << como;
    EXPECT_TRUE(descartarLinha(fonte, c)) << como;
    ASSERT_TRUE(lerComando(fonte, &c)) << como;
    EXPECT_EQ(c, 'q') << como;
    EXPECT_FALSE(lerComando(fonte, &c)) << como;
    EXPECT_EQ(estadoDe(*fonte), estadoDaFonte::terminada) << como;
  });
  Fluxo semFimDeLinha("abc");
  char c = 0;
  ASSERT_TRUE(lerComando(&semFimDeLinha.fonte, &c));
  EXPECT_FALSE(descartarLinha(&semFimDeLinha.fonte, c));
}

TEST(Fonte, ErroDeLeituraEncerraAFonteComOMotivo) {
  FluxoEmPedacos fluxo("bj", 1, true);
  char c = 0;
  EXPECT_TRUE(lerComando(&fluxo.fonte, &c));
  EXPECT_TRUE(lerComando(&fluxo.fonte, &c));
  EXPECT_FALSE(lerComando(&fluxo.fonte, &c));
  EXPECT_EQ(estadoDe(fluxo.fonte), estadoDaFonte::leituraFalhou);
  EXPECT_EQ(erroDe(fluxo.fonte), EIO);
  EXPECT_FALSE(lerComando(&fluxo.fonte, &c));
  EXPECT_EQ(fluxo.leituras, 3) << "a failed source is not read again";
}

// A reply must be out before the program waits for the next command, and a program whose
// output is lost must not wait at all.
TEST(Fonte, EsvaziaASaidaAntesDeCadaLeituraEParaQuandoElaFalha) {
  const char* arquivo = "input_test_saida.txt";
  std::FILE* saida = std::fopen(arquivo, "wb");
  ASSERT_NE(saida, nullptr);
  struct VERIFICADOR {
    const char* arquivo;
    std::string escritoAntes;
  } verificador{arquivo, ""};
  FONTE fonte;
  abrirFonte(
      &fonte,
      [](void* origem, unsigned char* destino, std::size_t) -> long {
        auto* v = static_cast<VERIFICADOR*>(origem);
        std::FILE* escrito = std::fopen(v->arquivo, "rb");
        for (int c; escrito != nullptr && (c = std::fgetc(escrito)) != EOF;) {
          v->escritoAntes += static_cast<char>(c);
        }
        if (escrito != nullptr) std::fclose(escrito);
        destino[0] = 'q';
        return 1;
      },
      &verificador, saida);
  std::fputs("resposta\n", saida);
  char c = 0;
  EXPECT_TRUE(lerComando(&fonte, &c));
  EXPECT_EQ(verificador.escritoAntes, "resposta\n");
  std::fclose(saida);

  // Writing to a stream opened for reading fails on every system, as a full disk would.
  std::FILE* perdida = std::fopen(arquivo, "rb");
  ASSERT_NE(perdida, nullptr);
  for (const std::size_t pedaco : {1, 100}) {
    FluxoEmPedacos fluxo("bj 4\n", pedaco, false, perdida);
    EXPECT_TRUE(lerComando(&fluxo.fonte, &c));
    EXPECT_EQ(std::fputc('x', perdida), EOF);
    // One byte a block, or all at hand: the command loop reads no further command.
    EXPECT_FALSE(lerComando(&fluxo.fonte, &c)) << pedaco;
    EXPECT_EQ(estadoDe(fluxo.fonte), estadoDaFonte::saidaFalhou) << pedaco;
    EXPECT_EQ(fluxo.leituras, 1) << pedaco;
    std::clearerr(perdida);
  }
  std::fclose(perdida);
  std::remove(arquivo);
}

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)  // no signals or threads there
// A wait for input that a signal interrupts, and one on a descriptor its opener made
// non-blocking, go on until the bytes come, as a plain blocking read does.
TEST(LerDoSistema, EsperaPelosBytesComoUmaLeituraBloqueante) {
  struct sigaction interromper {};
  interromper.sa_handler = [](int) {};  // without SA_RESTART, so that the read fails with EINTR
  struct sigaction antes {};
  ASSERT_EQ(sigaction(SIGUSR1, &interromper, &antes), 0);
  for (const bool naoBloqueante : {false, true}) {
    int tubo[2];
    ASSERT_EQ(pipe(tubo), 0);
    if (naoBloqueante) fcntl(tubo[0], F_SETFL, fcntl(tubo[0], F_GETFL) | O_NONBLOCK);
    const pthread_t leitor = pthread_self();
    std::thread escritor([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      pthread_kill(leitor, SIGUSR1);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      EXPECT_EQ(write(tubo[1], "j 4\n", 4), 4);
    });
    unsigned char lidos[8];
    EXPECT_EQ(lerDoSistema(tubo[0], lidos, sizeof lidos), 4) << "naoBloqueante " << naoBloqueante;
    escritor.join();
    close(tubo[0]);
    close(tubo[1]);
  }
  sigaction(SIGUSR1, &antes, nullptr);
}
#endif

}  // namespace
}  // namespace velha
