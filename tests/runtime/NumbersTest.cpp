#include "runtime/Numbers.h"

#include <gtest/gtest.h>

#include <string_view>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

namespace kalora {
namespace {

TEST(StrToInt, AcceptsEveryForm) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"0", 0},           {"42", 42},          {"000012", 12},        {"   7", 7},
      {"+15", 15},        {"-15", -15},        {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},              {"$1F", 31},           {"x1f", 31},
      {"X1F", 31},        {"0x10", 16},        {"0XfF", 255},         {"$FFFFFFFF", -1},
      {"$7FFFFFFF", INT32_MAX},                {"  $A", 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToInt(c.text), c.value);
  }
}

TEST(StrToInt, RejectsAnythingElseWithTheMessageNamingTheText) {
  using namespace std::literals;
  const std::string_view cases[] = {"",        " ",       "-",         "+",         "12a",
                                    "1 ",      "1.0",     "2147483648", "-2147483649", "$",
                                    "0x",      "$100000000", "-$1",     "--1",       "\t1",
                                    "1e3",     "0x-1",    "١",
                                    "1\0002"sv};  // the whole text is quoted, past a code 0
  for (std::string_view text : cases) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(TryStrToInt(text).has_value());
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Message(), "'" + Text(text) + "' não é um valor inteiro válido"_cp);
      EXPECT_EQ(error.Kind(), "EConvertError");
    }
  }
}

}  // namespace
}  // namespace kalora
