#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "runtime/Dates.h"
#include "store/ParadoxFile.h"

namespace kalora::store {

struct TableText {
  std::string bytes;  // in the table's code page, without the NUL padding
  bool operator==(const TableText&) const = default;
};
struct TimeOfDay {
  std::int32_t milliseconds = 0;
  bool operator==(const TimeOfDay&) const = default;
};
struct Timestamp {
  double milliseconds = 0;  // since 0001-01-01 00:00 counted as day 1
  bool operator==(const Timestamp&) const = default;
};
struct Decimal {
  bool negative = false;
  std::string digits;  // 32 decimal digits, the last `decimals` of them after the point
  int decimals = 0;
  bool operator==(const Decimal&) const = default;
};
struct RawBytes {
  std::string bytes;
  bool operator==(const RawBytes&) const = default;
};

// A field's value as decoded from a record. monostate is NULL (and every blob field: the program
// reads none). Whole numbers of every width are int32_t, money and number are double.
using Value = std::variant<std::monostate, TableText, std::int32_t, double, Date, TimeOfDay, Timestamp, bool,
                           Decimal, RawBytes>;

Value DecodeValue(const FieldInfo& field, std::string_view record);
// Writes the value into the field's bytes of `record`. Throws std::invalid_argument when the
// value does not suit the field (the writer names the field and record).
void EncodeValue(const FieldInfo& field, const Value& value, std::string& record);

// Text forms shared by the table layer, the dump and the writer's descriptions.
std::string FormatIsoDate(Date date);          // yyyy-mm-dd
std::string FormatDayMonthYear(Date date);     // dd/mm/yyyy
std::string FormatTime(std::int64_t milliseconds);  // hh:mm:ss, ".fff" only when not whole
std::string FormatNumber(double value);        // shortest form that reads back the same, "." decimal
std::string FormatDecimal(const Decimal& value);
double DecimalToDouble(const Decimal& value);
// nullopt when the timestamp is out of any calendar's range.
std::optional<std::pair<Date, std::int64_t>> SplitTimestamp(const Timestamp& value);

}  // namespace kalora::store
