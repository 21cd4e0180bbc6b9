// Whole numbers: TryStrToInt against a reference built on std::from_chars, StrToInt's error,
// and the decimal and hexadecimal forms of every value read (or of the first four bytes).
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "runtime/Numbers.h"
#include "tests/fuzz/FuzzCheck.h"

namespace kalora::fuzz {
namespace {

// All of text as one number of the type, or nothing.
template <typename T>
std::optional<T> WholeText(std::string_view text, int base) {
  T value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

std::optional<int32_t> Reference(std::string_view text) {
  size_t blanks = text.find_first_not_of(' ');
  if (blanks == std::string_view::npos) return {};
  text.remove_prefix(blanks);
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (!text.starts_with(prefix)) continue;
    // Unsigned: from_chars takes no sign here, as the hexadecimal form has none.
    auto value = WholeText<uint64_t>(text.substr(prefix.size()), 16);
    if (!value || *value > UINT32_MAX) return {};
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
  }
  // from_chars takes a "-" but no "+"; a "+" may not be followed by another sign.
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.starts_with('-')) return {};
  }
  auto value = WholeText<int64_t>(text, 10);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return {};
  return static_cast<int32_t>(*value);
}

Text Printed(const char* pattern, uint32_t value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

// Every way the program writes a value reads back as that value.
void CheckForms(int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  for (const Text& form : {std::to_string(value), " " + std::to_string(value),
                           Printed("$%X", bits), Printed("0x%08x", bits), Printed("X%x", bits)}) {
    Require(TryStrToInt(form) == value, "a written value reads back");
  }
  if (value >= 0) Require(TryStrToInt("+" + std::to_string(value)) == value, "a plus sign reads");
}

}  // namespace
}  // namespace kalora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kalora;
  using namespace kalora::fuzz;
  std::string_view text(reinterpret_cast<const char*>(data), size);

  std::optional<int32_t> value = TryStrToInt(text);
  Require(value == Reference(text), "TryStrToInt agrees with from_chars");
  try {
    int32_t strict = StrToInt(text);
    Require(value == strict, "StrToInt gives what TryStrToInt gives");
  } catch (const PlatformError& error) {
    Require(!value, "StrToInt fails only where TryStrToInt does");
    Require(error.Kind() == "EConvertError", "StrToInt raises EConvertError");
    Require(error.Message() == "'" + Text(text) + "' não é um valor inteiro válido"_cp,
            "StrToInt's error quotes the text");
  }
  if (value) CheckForms(*value);

  if (size >= sizeof(int32_t)) {
    int32_t raw;
    std::memcpy(&raw, data, sizeof raw);
    CheckForms(raw);
  }
  return 0;
}
