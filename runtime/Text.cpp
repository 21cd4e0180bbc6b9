#include "runtime/Text.h"

namespace kalora {

Text Slice(std::string_view text, size_t first, size_t last) {
  if (first == 0 || last < first || first > text.size()) return {};
  return Text(text.substr(first - 1, last - first + 1));
}

Text TrimControls(std::string_view text) {
  auto is_control = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && is_control(text[begin])) ++begin;
  while (end > begin && is_control(text[end - 1])) --end;
  return Text(text.substr(begin, end - begin));
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace kalora
