#include "store/CodePages.h"

#include <vector>

#include "runtime/Cp1252.h"
#include "store/CodePageTables.h"

namespace kalora::store {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr int kWindows1252 = 1252;

const CodePageTable* FindTable(int code_page) {
  for (std::size_t i = 0; i < kCodePageTableCount; ++i) {
    if (kCodePageTables[i]->number == code_page) return kCodePageTables[i];
  }
  return nullptr;
}

char32_t Decode(const CodePageTable* table, unsigned char byte) {
  if (byte < 0x80) return byte;
  if (table == nullptr) return kReplacement;
  return table->upper[byte - 0x80];
}

std::optional<unsigned char> Encode(const CodePageTable* table, char32_t code_point) {
  if (code_point < 0x80) return static_cast<unsigned char>(code_point);
  if (table == nullptr) return std::nullopt;
  for (std::size_t i = 0; i < table->upper.size(); ++i) {
    if (table->upper[i] == code_point) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

// Decodes UTF-8 into code points; nullopt on a malformed sequence.
std::optional<std::vector<char32_t>> DecodeUtf8(std::string_view utf8) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      c = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      c = lead & 0x0F;
      extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      c = lead & 0x07;
      extra = 3;
    } else {
      return std::nullopt;
    }
    if (i + extra >= utf8.size() && extra > 0) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    out.push_back(c);
    i += extra + 1;
  }
  return out;
}

std::optional<std::string> EncodeAll(const std::vector<char32_t>& code_points, int code_page) {
  const CodePageTable* table = FindTable(code_page);
  std::string out;
  out.reserve(code_points.size());
  for (char32_t c : code_points) {
    auto byte = Encode(table, c);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

}  // namespace

bool IsKnownCodePage(int code_page) { return FindTable(code_page) != nullptr; }

namespace {
bool IsAscii(std::string_view bytes) {
  for (char ch : bytes) {
    if (static_cast<unsigned char>(ch) >= 0x80) return false;
  }
  return true;
}
}  // namespace

Text ToWindows1252(std::string bytes, int code_page) {
  // ASCII reads the same in every code page the tables use.
  if (code_page == kWindows1252 || IsAscii(bytes)) return bytes;
  const CodePageTable* from = FindTable(code_page);
  const CodePageTable* to = FindTable(kWindows1252);
  Text out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    auto byte = Encode(to, Decode(from, static_cast<unsigned char>(ch)));
    out += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

std::string ToUtf8(std::string_view bytes, int code_page) {
  const CodePageTable* table = FindTable(code_page);
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) AppendUtf8(out, Decode(table, static_cast<unsigned char>(ch)));
  return out;
}

std::optional<std::string> FromWindows1252(std::string_view text, int code_page) {
  if (code_page == kWindows1252 || IsAscii(text)) return std::string(text);
  const CodePageTable* from = FindTable(kWindows1252);
  std::vector<char32_t> code_points;
  code_points.reserve(text.size());
  for (char ch : text) code_points.push_back(Decode(from, static_cast<unsigned char>(ch)));
  return EncodeAll(code_points, code_page);
}

std::optional<std::string> FromUtf8(std::string_view utf8, int code_page) {
  auto code_points = DecodeUtf8(utf8);
  if (!code_points) return std::nullopt;
  return EncodeAll(*code_points, code_page);
}

}  // namespace kalora::store
