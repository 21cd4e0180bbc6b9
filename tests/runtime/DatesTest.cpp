#include "runtime/Dates.h"

#include <gtest/gtest.h>

#include <string_view>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

namespace kalora {
namespace {

Date D(int y, unsigned m, unsigned d) { return *MakeDate(y, m, d); }

TEST(Dates, ParsesTheShortFormAndWritesTheThreeForms) {
  struct Case {
    const char* text;
    Date date;
    const char* short_form;
    const char* ddmmyyyy;
    const char* yyyymmdd;
  } cases[] = {
      {"01/03/2010", D(2010, 3, 1), "01/03/2010", "01032010", "20100301"},
      {"5/11/2010", D(2010, 11, 5), "05/11/2010", "05112010", "20101105"},
      {" 29/02/2020 ", D(2020, 2, 29), "29/02/2020", "29022020", "20200229"},
      {"31/12/0001", D(1, 12, 31), "31/12/0001", "31120001", "00011231"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDate(c.text), c.date);
    EXPECT_EQ(FormatDate(c.date), c.short_form);
    EXPECT_EQ(FormatDdmmyyyy(c.date), c.ddmmyyyy);
    EXPECT_EQ(FormatYyyymmdd(c.date), c.yyyymmdd);
    EXPECT_EQ(TryParseDdmmyyyy(c.ddmmyyyy), c.date);
  }
}

TEST(Dates, RejectsTextsThatAreNotDates) {
  using namespace std::literals;
  const std::string_view cases[] = {"", "  /  /    ", "29/02/2019", "32/01/2010", "00/01/2010",
                                    "01/13/2010", "01/01/10", "01-01-2010", "01/01/2010x",
                                    "2010/01/01", "01/01/0000", "1/1/20100",
                                    "01/01\000/2010"sv};  // quoted whole, past a code 0
  for (std::string_view text : cases) {
    SCOPED_TRACE(text);
    try {
      ParseDate(text);
      ADD_FAILURE() << "accepted";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Message(), "'" + Text(text) + "' não é uma data válida"_cp);
    }
  }
  for (const char* text : {"1032010", "010320100", "32012010", "0103201a"}) {
    EXPECT_FALSE(TryParseDdmmyyyy(text).has_value()) << text;
  }
}

TEST(Dates, DayArithmeticCrossesMonthAndYearEnds) {
  EXPECT_EQ(FormatDate(D(2010, 1, 31) + std::chrono::days{1}), "01/02/2010");
  EXPECT_EQ(FormatDate(D(2009, 12, 31) + std::chrono::days{1}), "01/01/2010");
  EXPECT_EQ(FormatDate(D(2010, 3, 1) - std::chrono::days{1}), "28/02/2010");
}

}  // namespace
}  // namespace kalora
