#include "runtime/Numbers.h"

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

namespace kalora {

namespace {

int DigitValue(char c, int base) {
  int value = c >= '0' && c <= '9'   ? c - '0'
              : c >= 'a' && c <= 'f' ? c - 'a' + 10
              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                     : 99;
  return value < base ? value : -1;
}

// Reads digits of the base up to the end; nothing when a character is not a digit, when there
// are no digits or when the value passes the limit.
std::optional<uint64_t> ReadDigits(std::string_view digits, int base, uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  return value;
}

std::optional<std::string_view> HexDigitsAfterPrefix(std::string_view text) {
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (text.starts_with(prefix)) return text.substr(prefix.size());
  }
  return std::nullopt;
}

}  // namespace

std::optional<int32_t> TryStrToInt(std::string_view text) {
  size_t blanks = text.find_first_not_of(' ');
  if (blanks == std::string_view::npos) return std::nullopt;
  text.remove_prefix(blanks);

  if (auto hex = HexDigitsAfterPrefix(text)) {
    auto value = ReadDigits(*hex, 16, 0xFFFFFFFFu);
    if (!value) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
  }
  bool negative = text.front() == '-';
  if (negative || text.front() == '+') text.remove_prefix(1);
  auto value = ReadDigits(text, 10, negative ? 2147483648u : 2147483647u);
  if (!value) return std::nullopt;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(*value))
                  : static_cast<int32_t>(*value);
}

int32_t StrToInt(std::string_view text) {
  if (auto value = TryStrToInt(text)) return *value;
  throw ConvertError("'" + Text(text) + "' não é um valor inteiro válido"_cp);
}

}  // namespace kalora
