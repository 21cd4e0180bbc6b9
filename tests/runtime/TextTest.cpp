#include <gtest/gtest.h>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "runtime/Text.h"

namespace kalora {
namespace {

TEST(Slice, PositionsAreOneBasedInclusiveAndStopAtTheEnd) {
  EXPECT_EQ(Slice("E14BE0910", 1, 3), "E14");
  EXPECT_EQ(Slice("E14BE0910", 4, 11), "BE0910");
  EXPECT_EQ(Slice("E14", 4, 11), "");
  EXPECT_EQ(Slice("E14", 3, 3), "4");
  EXPECT_EQ(Slice("", 1, 1), "");
}

TEST(TrimControls, DropsCodesUpTo32AtBothEnds) {
  EXPECT_EQ(TrimControls(" \t\r\nJosé da Silva \x1F"), "José da Silva");
  EXPECT_EQ(TrimControls("   "), "");
}

TEST(Cp1252, LiteralsAreWindows1252AndConvertAtTheEdges) {
  Text geracao = "Geração"_cp;
  EXPECT_EQ(geracao, "Gera\xE7\xE3o");
  EXPECT_EQ(Cp1252ToUtf8(geracao), "Gera\xC3\xA7\xC3\xA3o");
  EXPECT_EQ(Cp1252ToUtf16(geracao), u"Geração");
  EXPECT_EQ(Utf8ToCp1252("Gera\xC3\xA7\xC3\xA3o"), geracao);
  EXPECT_EQ(Utf16ToCp1252(u"Geração"), geracao);
  EXPECT_EQ(Cp1252ToUtf8("\x80\x9C"), "€œ");
  EXPECT_EQ(Utf8ToCp1252("€ ☺"), "\x80 ?");
}

TEST(Errors, IoMessagesByCode) {
  struct Case {
    int code;
    Text message;
  } cases[] = {{2, "Arquivo não encontrado"_cp},
               {3, "Nome de arquivo inválido"_cp},
               {4, "Muitos arquivos abertos"},
               {5, "Acesso ao arquivo negado"},
               {100, "Leitura além do fim do arquivo"_cp},
               {101, "Disco cheio"},
               {106, "Entrada de valor numérico inválida"_cp},
               {32, "Erro de I/O 32"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(InOutError(c.code).Message(), c.message);
    EXPECT_EQ(InOutError(c.code).Kind(), "EInOutError");
  }
  EXPECT_EQ(ListIndexError(7).Message(), "Lista de índices fora de faixa (7)"_cp);
}

TEST(Errors, ErrorBoxAddsAFullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(ErrorBoxText("Disco cheio"), "Disco cheio.");
  EXPECT_EQ(ErrorBoxText("Lista (7)"), "Lista (7)");
  EXPECT_EQ(ErrorBoxText("Pronto."), "Pronto.");
  EXPECT_EQ(ErrorBoxText("Falha!"), "Falha!");
  EXPECT_EQ(ErrorBoxText("'x' não é uma data válida"_cp), "'x' não é uma data válida."_cp);
  EXPECT_EQ(ErrorBoxText("ação"_cp), "ação."_cp);
  EXPECT_EQ(ErrorBoxText("10/"), "10/.");
  EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace kalora
