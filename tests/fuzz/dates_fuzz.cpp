// Dates: TryParseDate and TryParseDdmmyyyy against a reference of their own, ParseDate's
// error, and the three written forms of every date read (or of a day picked by four bytes).
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/Cp1252.h"
#include "runtime/Dates.h"
#include "runtime/Errors.h"
#include "tests/fuzz/FuzzCheck.h"

namespace kalora::fuzz {
namespace {

struct Parts {
  int day;
  int month;
  int year;
};

bool AllDigits(std::string_view text) { return text.find_first_not_of("0123456789") == text.npos; }

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

bool Valid(const Parts& p) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1) return false;
  bool leap = p.year % 4 == 0 && (p.year % 100 != 0 || p.year % 400 == 0);
  return p.day <= kDays[static_cast<size_t>(p.month - 1)] + (p.month == 2 && leap ? 1 : 0);
}

// "d/m/yyyy" with one or two digits for day and month, blanks around it.
std::optional<Parts> ReferenceShort(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == text.npos) return {};
  text = text.substr(begin, text.find_last_not_of(' ') - begin + 1);
  size_t first = text.find('/');
  size_t second = first == text.npos ? text.npos : text.find('/', first + 1);
  if (second == text.npos) return {};
  std::string_view day = text.substr(0, first);
  std::string_view month = text.substr(first + 1, second - first - 1);
  std::string_view year = text.substr(second + 1);
  if (day.empty() || day.size() > 2 || month.empty() || month.size() > 2 || year.size() != 4 ||
      !AllDigits(day) || !AllDigits(month) || !AllDigits(year)) {
    return {};
  }
  Parts parts{Number(day), Number(month), Number(year)};
  if (!Valid(parts)) return {};
  return parts;
}

std::optional<Parts> ReferenceEightDigits(std::string_view text) {
  if (text.size() != 8 || !AllDigits(text)) return {};
  Parts parts{Number(text.substr(0, 2)), Number(text.substr(2, 2)), Number(text.substr(4))};
  if (!Valid(parts)) return {};
  return parts;
}

Text Printed(const char* pattern, int first, int second, int third) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, pattern, first, second, third);
  return buffer;
}

void RequireSameDay(const std::optional<Date>& date, const std::optional<Parts>& parts) {
  Require(date.has_value() == parts.has_value(), "a date is read exactly when it is valid");
  if (!date) return;
  std::chrono::year_month_day ymd{*date};
  Require(static_cast<int>(ymd.year()) == parts->year &&
              static_cast<unsigned>(ymd.month()) == static_cast<unsigned>(parts->month) &&
              static_cast<unsigned>(ymd.day()) == static_cast<unsigned>(parts->day),
          "the date read is the one written");
}

// Every form the program writes reads back as the same day.
void CheckForms(Date date) {
  std::chrono::year_month_day ymd{date};
  int d = static_cast<int>(static_cast<unsigned>(ymd.day()));
  int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
  int y = static_cast<int>(ymd.year());
  Require(FormatDate(date) == Printed("%02d/%02d/%04d", d, m, y), "FormatDate is dd/mm/yyyy");
  Require(FormatDdmmyyyy(date) == Printed("%02d%02d%04d", d, m, y), "FormatDdmmyyyy");
  Require(FormatYyyymmdd(date) == Printed("%04d%02d%02d", y, m, d), "FormatYyyymmdd");
  Require(TryParseDate(FormatDate(date)) == date, "FormatDate reads back");
  Require(TryParseDate(" " + Printed("%d/%d/%04d", d, m, y) + "  ") == date,
          "the short form without zeros reads back");
  Require(ParseDate(FormatDate(date)) == date, "ParseDate reads FormatDate");
  Require(TryParseDdmmyyyy(FormatDdmmyyyy(date)) == date, "FormatDdmmyyyy reads back");
}

}  // namespace
}  // namespace kalora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kalora;
  using namespace kalora::fuzz;
  std::string_view text(reinterpret_cast<const char*>(data), size);

  std::optional<Date> date = TryParseDate(text);
  RequireSameDay(date, ReferenceShort(text));
  try {
    Require(ParseDate(text) == date, "ParseDate gives what TryParseDate gives");
  } catch (const PlatformError& error) {
    Require(!date, "ParseDate fails only where TryParseDate does");
    Require(error.Kind() == "EConvertError", "ParseDate raises EConvertError");
    Require(error.Message() == "'" + Text(text) + "' não é uma data válida"_cp,
            "ParseDate's error quotes the text");
  }
  if (date) CheckForms(*date);

  std::optional<Date> eight = TryParseDdmmyyyy(text);
  RequireSameDay(eight, ReferenceEightDigits(text));
  if (eight) CheckForms(*eight);

  if (size >= sizeof(uint32_t)) {
    // Any day from 01/01/0001 to 31/12/9999.
    constexpr Date kFirst = std::chrono::year{1} / 1 / 1;
    constexpr Date kLast = std::chrono::year{9999} / 12 / 31;
    uint32_t raw;
    std::memcpy(&raw, data, sizeof raw);
    auto span = static_cast<uint32_t>((kLast - kFirst).count()) + 1;
    CheckForms(kFirst + std::chrono::days{raw % span});
  }
  return 0;
}
