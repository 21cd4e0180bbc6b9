#include "runtime/Cp1252.h"

namespace kalora {

namespace {

char ToCp1252OrQuestionMark(char32_t cp) {
  auto byte = UnicodeToCp1252(cp);
  return byte ? static_cast<char>(*byte) : '?';
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

Text Utf8ToCp1252(std::string_view utf8) {
  Text out;
  size_t pos = 0;
  while (pos < utf8.size()) out += ToCp1252OrQuestionMark(DecodeUtf8(utf8, pos));
  return out;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  // Every Windows-1252 character lies in the Basic Multilingual Plane.
  for (char c : text) out += static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

Text Utf16ToCp1252(std::u16string_view utf16) {
  Text out;
  out.reserve(utf16.size());
  for (char16_t unit : utf16) out += ToCp1252OrQuestionMark(unit);
  return out;
}

}  // namespace kalora
