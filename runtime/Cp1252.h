// Windows-1252, the code page of every text inside the program.
//
// Source files are UTF-8; a literal with accented letters is written "Geração"_cp and becomes
// its Windows-1252 bytes at compile time (a letter outside the code page fails the build).
// Conversions to other encodings happen only at the edges: UTF-16 for the Win32 W functions,
// UTF-8 for a Linux terminal and for CSV.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/Text.h"

namespace kalora {

namespace cp1252_detail {

// Unicode code points of the bytes 0x80..0x9F; 0 where the code page leaves the byte unused.
inline constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace cp1252_detail

// The Unicode code point of a Windows-1252 byte (unused bytes map to the same C1 control).
constexpr char32_t Cp1252ToUnicode(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  char32_t mapped = cp1252_detail::kHighControls[byte - 0x80];
  return mapped != 0 ? mapped : byte;
}

// The Windows-1252 byte of a code point, or nothing when the code page lacks it.
constexpr std::optional<unsigned char> UnicodeToCp1252(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<unsigned char>(code_point);
  }
  for (unsigned i = 0; i < 32; ++i) {
    if (Cp1252ToUnicode(static_cast<unsigned char>(0x80 + i)) == code_point) {
      return static_cast<unsigned char>(0x80 + i);
    }
  }
  return std::nullopt;
}

// Decodes one UTF-8 sequence at text[pos], advancing pos; U+FFFD for a malformed one.
constexpr char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos++);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0 || pos + static_cast<size_t>(extra) > text.size()) return 0xFFFD;
  char32_t cp = lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    unsigned char next = byte(pos);
    if ((next & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (next & 0x3F);
    ++pos;
  }
  return cp;
}

template <size_t N>
struct Utf8Literal {
  char bytes[N] = {};
  constexpr Utf8Literal(const char (&text)[N]) {  // NOLINT: implicit by design
    for (size_t i = 0; i < N; ++i) bytes[i] = text[i];
  }
};

template <Utf8Literal kSource>
struct Cp1252Literal {
  static constexpr auto kBytes = [] {
    std::array<char, sizeof(kSource.bytes)> out{};
    std::string_view text(kSource.bytes, sizeof(kSource.bytes) - 1);
    size_t in = 0;
    size_t at = 0;
    while (in < text.size()) {
      auto byte = UnicodeToCp1252(DecodeUtf8(text, in));
      if (!byte) throw "character outside Windows-1252 in a _cp literal";
      out[at++] = static_cast<char>(*byte);
    }
    return out;
  }();
};

inline namespace literals {
template <Utf8Literal kSource>
constexpr const char* operator""_cp() {
  return Cp1252Literal<kSource>::kBytes.data();
}
}  // namespace literals

// The UTF-8 bytes of a code point, appended to out.
void AppendUtf8(std::string& out, char32_t code_point);

std::string Cp1252ToUtf8(std::string_view text);
// Characters outside the code page become "?".
Text Utf8ToCp1252(std::string_view utf8);
std::u16string Cp1252ToUtf16(std::string_view text);
Text Utf16ToCp1252(std::u16string_view utf16);

}  // namespace kalora
