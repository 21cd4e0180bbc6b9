#include "generation/CheckDigits.h"

#include <gtest/gtest.h>

namespace kalora::gen {
namespace {

struct Case {
  const char* numero;
  bool valid;
};

TEST(CheckDigits, Cpf) {
  const Case cases[] = {
      {"12345678909", true},   {"12345678900", false},  {"12345678919", false},
      {"52998224725", true},   {"11144477735", true},   {"11144477742", false},
      {"529.982.247-25", true}, {"111.444.777-35", true}, {"111.444.777-42", false},
      {"00000000000", true},   {"11111111111", true},   {"99999999999", true},
      {"5299822472-5", false},  // the last two characters are compared as they stand
      {"", false},             {"0", false},            {"00", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.numero);
    EXPECT_EQ(TestaCpf(c.numero), c.valid);
  }
}

TEST(CheckDigits, Cnpj) {
  const Case cases[] = {
      {"11222333000181", true},     {"11222333000182", false}, {"11444777000161", true},
      {"11.222.333/0001-81", true}, {"11.444.777/0001-61", true}, {"00000000000000", true},
      {"11222333000118", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.numero);
    EXPECT_EQ(TestaCgc(c.numero), c.valid);
  }
}

// A remainder of 0 or 1 gives the check digit 0; 2 to 10 give 11 minus the remainder.
TEST(CheckDigits, RemaindersBelowTwoGiveZero) {
  // 100000000: first sum 10 (remainder 10, c1 = 1); second sum 11 + 2 = 13 (remainder 2, c2 = 9).
  EXPECT_TRUE(TestaCpf("10000000019"));
  // 000000001: first sum 2 (c1 = 9); second sum 3 + 18 = 21 (remainder 10, c2 = 1).
  EXPECT_TRUE(TestaCpf("00000000191"));
  // 000000010: first sum 3 (c1 = 8); second sum 4 + 16 = 20 (remainder 9, c2 = 2).
  EXPECT_TRUE(TestaCpf("00000001082"));
  // 000000011 -> sum 5 -> c1 6; second 7 + 12 = 19 -> r 8 -> c2 3.
  EXPECT_TRUE(TestaCpf("00000001163"));
  // 000000006: first sum 12 (remainder 1, c1 = 0); second 18 (remainder 7, c2 = 4).
  EXPECT_TRUE(TestaCpf("00000000604"));
}

}  // namespace
}  // namespace kalora::gen
