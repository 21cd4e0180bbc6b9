#include "generation/CheckDigits.h"

#include <cstdint>
#include <string>

namespace kalora::gen {

namespace {

using Weight = int32_t (*)(int32_t k);

int32_t CheckDigit(int32_t sum) {
  int32_t remainder = sum % 11;
  return remainder < 2 ? 0 : 11 - remainder;
}

bool TestCheckDigits(std::string_view numero, Weight first_weight, Weight second_weight) {
  int32_t first_sum = 0;
  int32_t second_sum = 0;
  int32_t k = 0;
  size_t body = numero.size() < 3 ? 0 : numero.size() - 2;
  for (char c : numero.substr(0, body)) {
    if (c < '0' || c > '9') continue;
    int32_t digit = c - '0';
    ++k;
    first_sum += digit * first_weight(k);
    second_sum += digit * second_weight(k);
  }
  int32_t c1 = CheckDigit(first_sum);
  int32_t c2 = CheckDigit(second_sum + 2 * c1);
  std::string expected = std::to_string(c1) + std::to_string(c2);
  return numero.size() >= 2 && numero.substr(numero.size() - 2) == expected;
}

}  // namespace

bool TestaCpf(std::string_view numero) {
  return TestCheckDigits(
      numero, [](int32_t k) { return 11 - k; }, [](int32_t k) { return 12 - k; });
}

bool TestaCgc(std::string_view numero) {
  return TestCheckDigits(
      numero, [](int32_t k) { return k < 5 ? 6 - k : 14 - k; },
      [](int32_t k) { return k < 6 ? 7 - k : 15 - k; });
}

}  // namespace kalora::gen
