#include "runtime/Dates.h"

#include <cstdio>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

namespace kalora {

namespace {

using std::chrono::year_month_day;

// Reads between min_digits and max_digits decimal digits at text[pos].
std::optional<int> ReadNumber(std::string_view text, size_t& pos, size_t min_digits,
                              size_t max_digits) {
  size_t start = pos;
  int value = 0;
  while (pos < text.size() && pos - start < max_digits && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
  }
  if (pos - start < min_digits) return std::nullopt;
  return value;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

year_month_day Parts(Date date) { return year_month_day{date}; }

Text Format(const char* pattern, int first, int second, int third) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, pattern, first, second, third);
  return buffer;
}

}  // namespace

std::optional<Date> MakeDate(int year, unsigned month, unsigned day) {
  if (year < 1 || year > 9999) return std::nullopt;
  year_month_day ymd{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
  if (!ymd.ok()) return std::nullopt;
  return Date{ymd};
}

std::optional<Date> TryParseDate(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  size_t end = text.find_last_not_of(' ');
  if (begin == std::string_view::npos) return std::nullopt;
  text = text.substr(begin, end - begin + 1);

  size_t pos = 0;
  auto day = ReadNumber(text, pos, 1, 2);
  if (!day || !Expect(text, pos, '/')) return std::nullopt;
  auto month = ReadNumber(text, pos, 1, 2);
  if (!month || !Expect(text, pos, '/')) return std::nullopt;
  auto year = ReadNumber(text, pos, 4, 4);
  if (!year || pos != text.size()) return std::nullopt;
  return MakeDate(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day));
}

Date ParseDate(std::string_view text) {
  if (auto date = TryParseDate(text)) return *date;
  throw ConvertError("'" + Text(text) + "' não é uma data válida"_cp);
}

std::optional<Date> TryParseDdmmyyyy(std::string_view text) {
  size_t pos = 0;
  auto day = ReadNumber(text, pos, 2, 2);
  auto month = ReadNumber(text, pos, 2, 2);
  auto year = ReadNumber(text, pos, 4, 4);
  if (!day || !month || !year || pos != text.size()) return std::nullopt;
  return MakeDate(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day));
}

Text FormatDate(Date date) {
  auto ymd = Parts(date);
  return Format("%02d/%02d/%04d", static_cast<int>(static_cast<unsigned>(ymd.day())),
                static_cast<int>(static_cast<unsigned>(ymd.month())), static_cast<int>(ymd.year()));
}

Text FormatDdmmyyyy(Date date) {
  auto ymd = Parts(date);
  return Format("%02d%02d%04d", static_cast<int>(static_cast<unsigned>(ymd.day())),
                static_cast<int>(static_cast<unsigned>(ymd.month())), static_cast<int>(ymd.year()));
}

Text FormatYyyymmdd(Date date) {
  auto ymd = Parts(date);
  return Format("%04d%02d%02d", static_cast<int>(ymd.year()),
                static_cast<int>(static_cast<unsigned>(ymd.month())),
                static_cast<int>(static_cast<unsigned>(ymd.day())));
}

}  // namespace kalora
