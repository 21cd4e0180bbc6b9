// Texts of the program: 8-bit strings holding Windows-1252 bytes, with value semantics.
#pragma once

#include <string>
#include <string_view>

namespace kalora {

using Text = std::string;

// Characters first..last of a text, 1-based and inclusive. Positions past the end yield only
// what is there, possibly nothing.
Text Slice(std::string_view text, size_t first, size_t last);

// The text without leading and trailing characters of code 32 or below.
Text TrimControls(std::string_view text);

// Equal but for the case of the letters A to Z, as names of files and fields are compared.
bool SameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace kalora
