// Whole numbers from text.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/Text.h"

namespace kalora {

// After any leading blanks: an optional sign and decimal digits, or one of the prefixes "$",
// "x", "X", "0x", "0X" and hexadecimal digits, with nothing after them. The value must fit in
// 32 bits; a hexadecimal one may use all 32 bits ("$FFFFFFFF" is -1).
std::optional<int32_t> TryStrToInt(std::string_view text);

// As above; anything else raises "'%s' não é um valor inteiro válido".
int32_t StrToInt(std::string_view text);

}  // namespace kalora
