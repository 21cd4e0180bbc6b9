#include "generation/CustomerDocument.h"

#include <gtest/gtest.h>

namespace kalora::gen {
namespace {

TEST(CustomerDocument, KeepsOnlyValidNumbersPaddedToFourteen) {
  struct Case {
    const char* stored;
    const char* digits;
    DocumentKind kind;
    const char* field;
  } cases[] = {
      {"529.982.247-25", "52998224725", DocumentKind::kCpf, "00052998224725"},
      {"52998224725", "52998224725", DocumentKind::kCpf, "00052998224725"},
      {"11.222.333/0001-81", "11222333000181", DocumentKind::kCnpj, "11222333000181"},
      {"111.444.777-42", "11144477742", DocumentKind::kNone, "00000000000000"},
      {"1234567890", "1234567890", DocumentKind::kNone, "00000000000000"},
      {"CPF: 123456789012", "123456789012", DocumentKind::kNone, "00000000000000"},
      {"", "", DocumentKind::kNone, "00000000000000"},
      {"00000000000000", "00000000000000", DocumentKind::kCnpj, "00000000000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    CustomerDocument document = ReadCustomerDocument(c.stored);
    EXPECT_EQ(document.digits, c.digits);
    EXPECT_EQ(document.kind, c.kind);
    EXPECT_EQ(document.field, c.field);
  }
}

TEST(CustomerDocument, DRRfKeepsTheDigitsInTheirOrder) {
  EXPECT_EQ(DRRf("a1b2.3-4/5 ç6"), "123456");
  EXPECT_EQ(DRRf("--"), "");
}

}  // namespace
}  // namespace kalora::gen
