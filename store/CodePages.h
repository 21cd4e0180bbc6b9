#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/Text.h"

namespace kalora::store {

// Conversions between a table's code page and the program's texts. Code pages without a
// table here keep their ASCII bytes; their other bytes become '?' (Windows-1252) or U+FFFD.
bool IsKnownCodePage(int code_page);

// Table bytes to Windows-1252; characters Windows-1252 lacks become '?'. Bytes that read the
// same in both are handed back as they came.
Text ToWindows1252(std::string bytes, int code_page);
// Table bytes to UTF-8, losing nothing for a known code page.
std::string ToUtf8(std::string_view bytes, int code_page);
// Windows-1252 text to table bytes; nullopt when a character has no byte in the code page.
std::optional<std::string> FromWindows1252(std::string_view text, int code_page);
// UTF-8 text to table bytes; nullopt when a character has no byte or the UTF-8 is broken.
std::optional<std::string> FromUtf8(std::string_view utf8, int code_page);

}  // namespace kalora::store
