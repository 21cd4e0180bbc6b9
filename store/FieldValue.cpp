#include "store/FieldValue.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>

namespace kalora::store {
namespace {

constexpr int kBcdDigits = 32;
constexpr unsigned char kBcdPositive = 0x80;
constexpr unsigned char kBcdNotNull = 0x40;
constexpr unsigned char kBcdDecimalsMask = 0x3F;
constexpr unsigned char kLogicalFalse = 0x80;
constexpr unsigned char kLogicalTrue = 0x81;
constexpr int kMaxExactDecimals = 15;  // beyond this the stored digits came from a double

bool AllZero(std::string_view bytes) {
  for (char c : bytes) {
    if (c != 0) return false;
  }
  return true;
}

std::uint64_t BigEndian(std::string_view bytes) {
  std::uint64_t value = 0;
  for (char c : bytes) value = (value << 8) | static_cast<unsigned char>(c);
  return value;
}

void PutBigEndian(std::uint64_t value, char* out, int size) {
  for (int i = size - 1; i >= 0; --i) {
    out[i] = static_cast<char>(value & 0xFF);
    value >>= 8;
  }
}

// Integers: big-endian with the top bit inverted.
std::int32_t DecodeInteger(std::string_view bytes) {
  const int bits = static_cast<int>(bytes.size()) * 8;
  const std::uint64_t raw = BigEndian(bytes) ^ (std::uint64_t{1} << (bits - 1));
  const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
  const auto value = static_cast<std::int64_t>(raw) - static_cast<std::int64_t>((raw & sign) << 1);
  return static_cast<std::int32_t>(value);
}

void EncodeInteger(std::int64_t value, char* out, int size) {
  const int bits = size * 8;
  const std::uint64_t mask = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  const std::uint64_t raw = (static_cast<std::uint64_t>(value) & mask) ^ (std::uint64_t{1} << (bits - 1));
  PutBigEndian(raw, out, size);
}

// Doubles: non-negative values have the sign bit set; negative values have every bit inverted.
double DecodeDouble(std::string_view bytes) {
  std::uint64_t raw = BigEndian(bytes);
  constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
  raw = (raw & kSign) != 0 ? raw & ~kSign : ~raw;
  return std::bit_cast<double>(raw);
}

void EncodeDouble(double value, char* out) {
  std::uint64_t raw = std::bit_cast<std::uint64_t>(value);
  constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
  raw = (raw & kSign) == 0 ? raw | kSign : ~raw;
  PutBigEndian(raw, out, 8);
}

Date DateFromDayNumber(std::int64_t day_number) {
  return Date{std::chrono::days{static_cast<int>(day_number - kDayNumberOf1970)}};
}

std::int64_t DayNumber(Date date) {
  return static_cast<std::int64_t>(date.time_since_epoch().count()) + kDayNumberOf1970;
}

Decimal DecodeDecimal(std::string_view bytes) {
  Decimal value;
  const auto lead = static_cast<unsigned char>(bytes[0]);
  value.negative = (lead & kBcdPositive) == 0;
  value.decimals = std::min<int>(lead & kBcdDecimalsMask, kBcdDigits);
  bool ended = false;  // the engine leaves non-decimal nibbles after the digits it kept
  for (int i = 0; i < kBcdDigits; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[1 + i / 2]);
    int nibble = i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    if (value.negative) nibble = 0x0F - nibble;
    if (nibble > 9) ended = true;
    value.digits += ended ? '0' : static_cast<char>('0' + nibble);
  }
  return value;
}

void EncodeDecimal(const Decimal& value, int decimals, char* out) {
  // Align the digits to the field's decimals.
  std::string digits = value.digits;
  const int shift = decimals - value.decimals;
  if (shift > 0) {
    digits = digits.substr(static_cast<std::size_t>(shift)) + std::string(static_cast<std::size_t>(shift), '0');
  } else if (shift < 0) {
    digits = std::string(static_cast<std::size_t>(-shift), '0') + digits.substr(0, digits.size() + shift);
  }
  out[0] = static_cast<char>((value.negative ? 0 : kBcdPositive) | kBcdNotNull | (decimals & kBcdDecimalsMask));
  for (int i = 0; i < kBcdDigits; ++i) {
    int nibble = digits[static_cast<std::size_t>(i)] - '0';
    if (value.negative) nibble = 0x0F - nibble;
    auto& byte = reinterpret_cast<unsigned char&>(out[1 + i / 2]);
    byte = static_cast<unsigned char>(i % 2 == 0 ? (nibble << 4) : (byte | nibble));
  }
}

// Proleptic Gregorian civil date from days since 1970-01-01, in 64 bits so that any stored
// value formats without overflow.
struct Civil {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<std::uint64_t>(z - era * 146097);
  const std::uint64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const std::uint64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::uint64_t mp = (5 * doy + 2) / 153;
  const auto d = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
  const auto m = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
  return {y + (m <= 2 ? 1 : 0), m, d};
}

std::string Padded(std::int64_t value, int width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

}  // namespace

Value DecodeValue(const FieldInfo& field, std::string_view record) {
  const std::string_view bytes = record.substr(static_cast<std::size_t>(field.offset), static_cast<std::size_t>(field.width));
  if (IsBlob(field.type)) return std::monostate{};
  if (field.type == FieldType::kBcd) {
    if ((static_cast<unsigned char>(bytes[0]) & kBcdNotNull) == 0) return std::monostate{};
    return DecodeDecimal(bytes);
  }
  if (AllZero(bytes)) return std::monostate{};
  switch (field.type) {
    case FieldType::kAlpha: {
      const auto end = bytes.find('\0');
      return TableText{std::string(bytes.substr(0, end))};
    }
    case FieldType::kDate:
      return DateFromDayNumber(DecodeInteger(bytes));
    case FieldType::kShort:
    case FieldType::kLong:
    case FieldType::kAutoInc:
      return DecodeInteger(bytes);
    case FieldType::kMoney:
    case FieldType::kNumber:
      return DecodeDouble(bytes);
    case FieldType::kLogical:
      return static_cast<unsigned char>(bytes[0]) != kLogicalFalse;
    case FieldType::kTime:
      return TimeOfDay{DecodeInteger(bytes)};
    case FieldType::kTimestamp:
      return Timestamp{DecodeDouble(bytes)};
    case FieldType::kBytes:
      return RawBytes{std::string(bytes)};
    default:
      return std::monostate{};
  }
}

void EncodeValue(const FieldInfo& field, const Value& value, std::string& record) {
  char* out = record.data() + field.offset;
  std::memset(out, 0, static_cast<std::size_t>(field.width));
  if (std::holds_alternative<std::monostate>(value)) return;
  const auto wrong = [] { throw std::invalid_argument("value of another type"); };
  switch (field.type) {
    case FieldType::kAlpha:
    case FieldType::kBytes: {
      const std::string* bytes = nullptr;
      if (const auto* text = std::get_if<TableText>(&value)) bytes = &text->bytes;
      if (const auto* raw = std::get_if<RawBytes>(&value)) bytes = &raw->bytes;
      if (bytes == nullptr) wrong();
      if (static_cast<int>(bytes->size()) > field.width) throw std::invalid_argument("longer than the field");
      std::memcpy(out, bytes->data(), bytes->size());
      return;
    }
    case FieldType::kDate: {
      const auto* date = std::get_if<Date>(&value);
      if (date == nullptr) wrong();
      EncodeInteger(DayNumber(*date), out, 4);
      return;
    }
    case FieldType::kShort:
    case FieldType::kLong:
    case FieldType::kAutoInc:
    case FieldType::kTime: {
      std::int64_t number = 0;
      if (const auto* i = std::get_if<std::int32_t>(&value)) {
        number = *i;
      } else if (const auto* t = std::get_if<TimeOfDay>(&value); t != nullptr && field.type == FieldType::kTime) {
        number = t->milliseconds;
      } else {
        wrong();
      }
      const int width = field.width;
      const std::int64_t limit = std::int64_t{1} << (width * 8 - 1);
      if (number <= -limit || number >= limit) throw std::invalid_argument("out of the field's range");
      EncodeInteger(number, out, width);
      return;
    }
    case FieldType::kMoney:
    case FieldType::kNumber:
    case FieldType::kTimestamp: {
      double number = 0;
      if (const auto* d = std::get_if<double>(&value)) {
        number = *d;
      } else if (const auto* i = std::get_if<std::int32_t>(&value)) {
        number = *i;
      } else if (const auto* ts = std::get_if<Timestamp>(&value); ts != nullptr && field.type == FieldType::kTimestamp) {
        number = ts->milliseconds;
      } else {
        wrong();
      }
      EncodeDouble(number, out);
      return;
    }
    case FieldType::kLogical: {
      const auto* b = std::get_if<bool>(&value);
      if (b == nullptr) wrong();
      out[0] = static_cast<char>(*b ? kLogicalTrue : kLogicalFalse);
      return;
    }
    case FieldType::kBcd: {
      const auto* d = std::get_if<Decimal>(&value);
      if (d == nullptr || d->digits.size() != kBcdDigits) wrong();
      EncodeDecimal(*d, std::min(field.descriptor_size, kBcdDigits), out);
      return;
    }
    default:
      throw std::invalid_argument("blob fields are not written");
  }
}

std::string FormatIsoDate(Date date) {
  const Civil c = CivilFromDays(date.time_since_epoch().count());
  return Padded(c.year, 4) + "-" + Padded(c.month, 2) + "-" + Padded(c.day, 2);
}

std::string FormatDayMonthYear(Date date) {
  const Civil c = CivilFromDays(date.time_since_epoch().count());
  return Padded(c.day, 2) + "/" + Padded(c.month, 2) + "/" + Padded(c.year, 4);
}

std::string FormatTime(std::int64_t milliseconds) {
  const bool negative = milliseconds < 0;
  const std::int64_t ms = negative ? -milliseconds : milliseconds;
  std::string out = negative ? "-" : "";
  out += Padded(ms / 3'600'000, 2) + ":" + Padded(ms / 60'000 % 60, 2) + ":" + Padded(ms / 1000 % 60, 2);
  if (ms % 1000 != 0) {
    out += '.';
    out += Padded(ms % 1000, 3);
  }
  return out;
}

std::string FormatNumber(double value) {
  // Plain digits for every everyday magnitude; an exponent only where they would run long.
  const double magnitude = std::fabs(value);
  const bool plain = magnitude == 0 || (magnitude >= 1e-6 && magnitude < 1e21);
  char buffer[400];
  const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                            : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string FormatDecimal(const Decimal& value) {
  if (value.decimals > kMaxExactDecimals) return FormatNumber(DecimalToDouble(value));
  const std::size_t point = value.digits.size() - static_cast<std::size_t>(value.decimals);
  std::string whole = value.digits.substr(0, point);
  const std::string fraction = value.digits.substr(point);
  const auto first = whole.find_first_not_of('0');
  whole = first == std::string::npos ? "0" : whole.substr(first);
  const bool zero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;
  std::string out = value.negative && !zero ? "-" : "";
  out += whole;
  if (!fraction.empty()) out += "." + fraction;
  return out;
}

double DecimalToDouble(const Decimal& value) {
  const std::size_t point = value.digits.size() - static_cast<std::size_t>(value.decimals);
  std::string text = value.digits.substr(0, point);
  text += '.';
  text.append(value.digits, point);
  double number = std::strtod(text.c_str(), nullptr);
  return value.negative ? -number : number;
}

std::optional<std::pair<Date, std::int64_t>> SplitTimestamp(const Timestamp& value) {
  constexpr double kLimit = 1e17;  // far beyond year 9999, well inside int64
  if (!std::isfinite(value.milliseconds) || std::fabs(value.milliseconds) > kLimit) return std::nullopt;
  const auto total = static_cast<std::int64_t>(std::llround(value.milliseconds));
  std::int64_t day = total / kMillisecondsPerDay;
  std::int64_t ms = total % kMillisecondsPerDay;
  if (ms < 0) {
    ms += kMillisecondsPerDay;
    --day;
  }
  const std::int64_t since_1970 = day - kDayNumberOf1970;
  if (since_1970 < std::numeric_limits<int>::min() || since_1970 > std::numeric_limits<int>::max()) return std::nullopt;
  return std::pair{DateFromDayNumber(day), ms};
}

}  // namespace kalora::store
