// Reading the printer's memory file: what it holds, and a clear message for each bad line.
#include "simulator/Memoria.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/TestEnvironment.h"

namespace kalora::sim {
namespace {

using kalora::testing::Fixture;

TEST(MemoriaTest, SmallMemoryHoldsItsCouponsWithTheirTotals) {
  Memoria memoria = ReadMemoria(Fixture("simulator/memoria-pequena.txt").string());
  EXPECT_EQ(memoria.serie, "BE091010100011223344");
  EXPECT_EQ(memoria.modelo, "MP-4000 TH FI");
  ASSERT_EQ(memoria.cupons.size(), 5u);
  struct Expected {
    int32_t coo, crz;
    int64_t subtotal, total;
    bool cancelado;
  };
  const Expected kExpected[] = {{1001, 120, 1399, 1399, false},
                                {1002, 120, 1590, 1590, true},
                                {1003, 121, 4614, 4614 - 200 + 69, false},
                                {1004, 121, 1194, 1194 - 119, false},
                                {1005, 121, 1200, 1200, false}};
  for (size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const Cupom& cupom = memoria.cupons[i];
    EXPECT_EQ(cupom.coo, kExpected[i].coo);
    EXPECT_EQ(cupom.crz, kExpected[i].crz);
    EXPECT_EQ(cupom.Subtotal(), kExpected[i].subtotal);
    EXPECT_EQ(cupom.Total(), kExpected[i].total);
    EXPECT_EQ(cupom.cancelado, kExpected[i].cancelado);
  }
  EXPECT_EQ(memoria.cupons[2].itens[0].Total(), 2042) << "0.512 kg x 39.899 truncated";
}

TEST(MemoriaTest, BadLinesAreRefusedNamingFileLineAndField) {
  const std::string kHeader =
      "serie=BE0001\nmodelo=MP-4000 TH FI\ncnpj=11222333000181\nie=1\n";
  const std::string kCupom = "cupom;000010;000005;01/11/2026;08:00:00\n";
  const std::string kItem = "item;1;PAO;1;UN;1.00;0.00;0.00;F1\n";
  const std::string kPaid = "pagamento;Dinheiro;1.00\n";
  struct Case {
    std::string text;
    std::string message;
  };
  const Case kCases[] = {
      {"serie=BE0001\n", "m.txt: the header needs 'modelo'"},
      {"cor=azul\n", "m.txt, line 1: unknown header key 'cor'"},
      {"cnpj=11222333000182\n", "m.txt, line 1: cnpj '11222333000182' has wrong check digits"},
      {"falha=fumaca\n", "m.txt, line 1: unknown fault switch 'fumaca'"},
      {kHeader + "item;1;PAO;1;UN;1.00;0;0;F1\n", "m.txt, line 5: 'item' before the first coupon"},
      {kHeader + "cupom;000010;000005;31/11/2026;08:00:00\n",
       "m.txt, line 5: '31/11/2026' is not a date dd/mm/yyyy"},
      {kHeader + "cupom;000010;000005;01/11/2026;24:00:00\n",
       "m.txt, line 5: '24:00:00' is not a time hh:mm:ss"},
      {kHeader + kCupom + kItem + kPaid + kCupom, "m.txt, line 8: COO 10 does not follow 10"},
      {kHeader + kCupom + "item;1;PAO;1;UN;1.0;0;0;F1\n",
       "m.txt, line 6: a price has 2 or 3 decimal places ('1.0')"},
      {kHeader + kCupom + "item;1;PAO;1.5000;UN;1.00;0;0;F1\n",
       "m.txt, line 6: quantity '1.5000' must be digits with up to 3 decimal places"},
      {kHeader + kCupom + kItem, "m.txt: coupon COO 10: the payments fall short"},
      {kHeader + kCupom + kItem + "desconto;V;2.00\n" + kPaid,
       "m.txt: coupon COO 10: the discount is above the subtotal"},
      {kHeader + kCupom + "item;1;PAO;1;UN;1.00;0;0;F1;cancelado\n" + kPaid,
       "m.txt: coupon COO 10: no item that is not cancelled"},
      {kHeader + kCupom + kItem + kPaid + "serie=X\n",
       "m.txt, line 8: header line after the first coupon"},
      {kHeader + kCupom + "item;1;PAO\x1A;1;UN;1.00;0;0;F1\n",
       "m.txt, line 6: control character in the line"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    try {
      ParseMemoria(c.text, "m.txt");
      ADD_FAILURE() << "accepted";
    } catch (const MemoriaError& error) {
      EXPECT_THAT(error.what(), ::testing::StartsWith(c.message));
    }
  }
}

TEST(MemoriaTest, MissingFileIsNamed) {
  EXPECT_THROW(
      {
        try {
          ReadMemoria("sem-memoria.txt");
        } catch (const MemoriaError& error) {
          EXPECT_STREQ(error.what(), "sem-memoria.txt: cannot open the file");
          throw;
        }
      },
      MemoriaError);
}

TEST(MemoriaTest, FaultSwitchesOfAList) {
  Falhas falhas = ParseFalhas(" download, espelho ,lento:250");
  EXPECT_TRUE(falhas.download);
  EXPECT_TRUE(falhas.espelho);
  EXPECT_FALSE(falhas.registros);
  EXPECT_EQ(falhas.lento_ms, 250);
  EXPECT_EQ(ParseFalhas("lento").lento_ms, kLentoMsPadrao);
  EXPECT_THROW(ParseFalhas("lento:x"), std::invalid_argument);
}

}  // namespace
}  // namespace kalora::sim
