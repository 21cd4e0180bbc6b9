#include "store/TableDescription.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "runtime/Errors.h"
#include "store/CodePages.h"
#include "store/StorePaths.h"

namespace kalora::store {
namespace {

constexpr int kBcdDigits = 32;

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text) {
  Number value{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<Date> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto year = ParseWhole<int>(text.substr(0, 4));
  auto month = ParseWhole<unsigned>(text.substr(5, 2));
  auto day = ParseWhole<unsigned>(text.substr(8, 2));
  if (!year || !month || !day) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year{*year}, std::chrono::month{*month}, std::chrono::day{*day}};
  if (!date.ok()) return std::nullopt;
  return Date{date};
}

std::optional<std::int32_t> ParseTimeOfDay(std::string_view text) {
  if (text.size() < 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
  auto h = ParseWhole<int>(text.substr(0, 2));
  auto m = ParseWhole<int>(text.substr(3, 2));
  auto s = ParseWhole<int>(text.substr(6, 2));
  int ms = 0;
  if (text.size() > 8) {
    if (text[8] != '.' || text.size() != 12) return std::nullopt;
    auto fraction = ParseWhole<int>(text.substr(9, 3));
    if (!fraction) return std::nullopt;
    ms = *fraction;
  }
  if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
  return ((*h * 60 + *m) * 60 + *s) * 1000 + ms;
}

std::optional<Decimal> ParseDecimal(std::string_view text, int decimals) {
  Decimal value;
  value.decimals = decimals;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    value.negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const auto point = text.find('.');
  std::string whole(text.substr(0, point));
  std::string fraction(point == std::string_view::npos ? std::string_view() : text.substr(point + 1));
  if (whole.empty() && fraction.empty()) return std::nullopt;
  for (char c : whole + fraction) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  if (static_cast<int>(fraction.size()) > decimals) return std::nullopt;
  fraction.resize(static_cast<std::size_t>(decimals), '0');
  const auto first = whole.find_first_not_of('0');
  whole = first == std::string::npos ? "" : whole.substr(first);
  if (static_cast<int>(whole.size() + fraction.size()) > kBcdDigits) return std::nullopt;
  value.digits = std::string(kBcdDigits - whole.size() - fraction.size(), '0') + whole + fraction;
  return value;
}

std::optional<std::string> ParseHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    unsigned byte = 0;
    const auto result = std::from_chars(text.data() + i, text.data() + i + 2, byte, 16);
    if (result.ec != std::errc() || result.ptr != text.data() + i + 2) return std::nullopt;
    out += static_cast<char>(byte);
  }
  return out;
}

std::optional<WriterField> ParseFieldType(std::string_view token) {
  if (token.empty()) return std::nullopt;
  constexpr struct {
    char letter;
    FieldType type;
  } kLetters[] = {{'A', FieldType::kAlpha},   {'D', FieldType::kDate},     {'S', FieldType::kShort},
                  {'I', FieldType::kLong},    {'$', FieldType::kMoney},    {'N', FieldType::kNumber},
                  {'L', FieldType::kLogical}, {'T', FieldType::kTime},     {'@', FieldType::kTimestamp},
                  {'+', FieldType::kAutoInc}, {'#', FieldType::kBcd},      {'Y', FieldType::kBytes}};
  for (const auto& entry : kLetters) {
    if (entry.letter != token[0]) continue;
    WriterField field;
    field.type = entry.type;
    const bool sized = entry.type == FieldType::kAlpha || entry.type == FieldType::kBytes || entry.type == FieldType::kBcd;
    if (sized) {
      auto size = ParseWhole<int>(token.substr(1));
      if (!size) return std::nullopt;
      field.size = *size;
    } else if (token.size() != 1) {
      return std::nullopt;
    }
    return field;
  }
  return std::nullopt;
}

std::optional<int> ParseVersion(std::string_view text) {
  constexpr struct {
    std::string_view name;
    int version;
  } kVersions[] = {{"3.0", kVersion30}, {"3.5", kVersion35}, {"4.x", kVersion4x}, {"5.x", kVersion5x}, {"7.x", kVersion7x}};
  for (const auto& entry : kVersions) {
    if (entry.name == text) return entry.version;
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> SplitRecordLine(std::string_view line) {
  std::vector<std::string> values(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '|' || line[i + 1] == '\\')) {
      values.back() += line[++i];
    } else if (line[i] == '|') {
      values.emplace_back();
    } else {
      values.back() += line[i];
    }
  }
  return values;
}

std::optional<Value> ParseFieldValue(const WriterField& field, std::string_view text, int code_page, std::string& error) {
  if (text.empty()) return Value{};
  switch (field.type) {
    case FieldType::kAlpha: {
      auto bytes = FromUtf8(text, code_page);
      if (!bytes) {
        error = "a character the code page " + std::to_string(code_page) + " cannot hold";
        return std::nullopt;
      }
      if (static_cast<int>(bytes->size()) > field.size) {
        error = "longer than " + std::to_string(field.size) + " characters";
        return std::nullopt;
      }
      return Value{TableText{*bytes}};
    }
    case FieldType::kDate:
      if (auto date = ParseIsoDate(text)) return Value{*date};
      error = "not a date yyyy-mm-dd";
      return std::nullopt;
    case FieldType::kShort:
    case FieldType::kLong:
    case FieldType::kAutoInc:
      if (auto number = ParseWhole<std::int32_t>(text)) return Value{*number};
      error = "not a whole number";
      return std::nullopt;
    case FieldType::kMoney:
    case FieldType::kNumber:
      if (auto number = ParseWhole<double>(text)) return Value{*number};
      error = "not a number";
      return std::nullopt;
    case FieldType::kLogical:
      if (text == "true") return Value{true};
      if (text == "false") return Value{false};
      error = "not true or false";
      return std::nullopt;
    case FieldType::kTime:
      if (auto ms = ParseTimeOfDay(text)) return Value{TimeOfDay{*ms}};
      error = "not a time hh:mm:ss";
      return std::nullopt;
    case FieldType::kTimestamp: {
      const auto space = text.find(' ');
      auto date = ParseIsoDate(text.substr(0, space));
      auto ms = space == std::string_view::npos ? std::optional<std::int32_t>(0) : ParseTimeOfDay(text.substr(space + 1));
      if (date && ms) {
        const double day = static_cast<double>(date->time_since_epoch().count()) + kDayNumberOf1970;
        return Value{Timestamp{day * static_cast<double>(kMillisecondsPerDay) + *ms}};
      }
      error = "not a timestamp yyyy-mm-dd hh:mm:ss";
      return std::nullopt;
    }
    case FieldType::kBcd:
      if (auto number = ParseDecimal(text, field.size)) return Value{*number};
      error = "not a decimal number with at most " + std::to_string(field.size) + " decimals";
      return std::nullopt;
    case FieldType::kBytes:
      if (auto bytes = ParseHex(text); bytes && static_cast<int>(bytes->size()) <= field.size) return Value{RawBytes{*bytes}};
      error = "not hexadecimal bytes that fit the field";
      return std::nullopt;
    default:
      error = "a field type the writer does not write";
      return std::nullopt;
  }
}

TableDescription ParseTableDescription(std::string_view text, std::string_view source_name) {
  TableDescription description;
  TableLayout& layout = description.layout;
  int line_number = 0;
  const auto fail = [&](const std::string& what) {
    throw PlatformError("EDBEngineError", PathText(PathFromUtf8(source_name)) + ", line " + std::to_string(line_number) +
                                              ": " + what);
  };
  std::size_t start = 0;
  if (text.starts_with("\xEF\xBB\xBF")) start = 3;
  while (start <= text.size()) {
    const auto end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    const auto space = trimmed.find(' ');
    const std::string_view word = trimmed.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : Trimmed(trimmed.substr(space + 1));
    if (word == "table") {
      description.table_file = std::string(rest);
    } else if (word == "version") {
      auto version = ParseVersion(rest);
      if (!version) fail("version must be 3.0, 3.5, 4.x, 5.x or 7.x");
      layout.file_version = *version;
    } else if (word == "codepage") {
      auto code_page = ParseWhole<int>(rest);
      if (!code_page || !IsKnownCodePage(*code_page)) fail("unknown code page '" + std::string(rest) + "'");
      layout.code_page = *code_page;
    } else if (word == "blocksize" || word == "indexblocksize") {
      auto size = ParseWhole<int>(rest);
      if (!size || *size < 1 || *size > 32) fail("block size must be 1 to 32 (KB)");
      (word == "blocksize" ? layout.block_size_kb : layout.index_block_size_kb) = *size;
    } else if (word == "field") {
      const auto name_start = rest.find(' ');
      auto field = ParseFieldType(rest.substr(0, name_start));
      if (!field || name_start == std::string_view::npos) fail("field needs a type (A20, D, I, $ ...) and a name");
      auto name = FromUtf8(Trimmed(rest.substr(name_start + 1)), layout.code_page);
      if (!name || name->empty()) fail("bad field name");
      field->name = *name;
      layout.fields.push_back(*field);
    } else if (word == "key") {
      auto count = ParseWhole<int>(rest);
      if (!count || *count < 0 || *count > static_cast<int>(layout.fields.size())) fail("key must count declared fields");
      layout.key_field_count = *count;
    } else if (word == "record") {
      std::string_view fields_text = line.substr(line.find("record") + 6);
      if (!fields_text.empty() && fields_text.front() == ' ') fields_text.remove_prefix(1);
      const std::vector<std::string> values = SplitRecordLine(fields_text);
      if (values.size() != layout.fields.size()) {
        fail(std::to_string(values.size()) + " values for " + std::to_string(layout.fields.size()) + " fields");
      }
      std::vector<Value> record;
      for (std::size_t i = 0; i < values.size(); ++i) {
        std::string error;
        auto value = ParseFieldValue(layout.fields[i], values[i], layout.code_page, error);
        if (!value) fail("field " + std::to_string(i + 1) + " '" + values[i] + "': " + error);
        record.push_back(std::move(*value));
      }
      description.records.push_back(std::move(record));
    } else {
      fail("unknown line '" + std::string(word) + "'");
    }
  }
  if (description.table_file.empty()) {
    line_number = 0;
    fail("no table line");
  }
  return description;
}

TableDescription ReadTableDescription(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw PlatformError("EDBEngineError", PathText(file) + ": cannot open the description");
  std::ostringstream text;
  text << in.rdbuf();
  return ParseTableDescription(text.str(), PathToUtf8(file));
}

}  // namespace kalora::store
