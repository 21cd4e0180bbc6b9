#include "store/Table.h"

#include <charconv>
#include <cstring>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "store/Aliases.h"
#include "store/CodePages.h"
#include "store/StorePaths.h"

namespace kalora::store {
namespace {

constexpr char kDatabaseError[] = "EDatabaseError";
constexpr char kEngineError[] = "EDBEngineError";

enum class Family { kText, kWhole, kFloating, kDateTime, kBcd, kBoolean, kBytes, kBlob };

Family FamilyOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::kString:
      return Family::kText;
    case FieldKind::kSmallInt:
    case FieldKind::kInteger:
    case FieldKind::kAutoInc:
      return Family::kWhole;
    case FieldKind::kFloat:
    case FieldKind::kCurrency:
      return Family::kFloating;
    case FieldKind::kDate:
    case FieldKind::kTime:
    case FieldKind::kDateTime:
      return Family::kDateTime;
    case FieldKind::kBcd:
      return Family::kBcd;
    case FieldKind::kBoolean:
      return Family::kBoolean;
    case FieldKind::kBytes:
      return Family::kBytes;
  }
  return Family::kBlob;
}

Family FamilyOf(FieldType type) {
  switch (type) {
    case FieldType::kAlpha:
      return Family::kText;
    case FieldType::kShort:
    case FieldType::kLong:
    case FieldType::kAutoInc:
      return Family::kWhole;
    case FieldType::kMoney:
    case FieldType::kNumber:
      return Family::kFloating;
    case FieldType::kDate:
    case FieldType::kTime:
    case FieldType::kTimestamp:
      return Family::kDateTime;
    case FieldType::kBcd:
      return Family::kBcd;
    case FieldType::kLogical:
      return Family::kBoolean;
    case FieldType::kBytes:
      return Family::kBytes;
    default:
      return Family::kBlob;
  }
}

// A field's value as the data engine's AsString gives it.
Text TextOf(Value value, int code_page) {
  struct Visitor {
    int code_page;
    Text operator()(std::monostate) const { return {}; }
    Text operator()(TableText& v) const { return ToWindows1252(std::move(v.bytes), code_page); }
    Text operator()(std::int32_t v) const { return std::to_string(v); }
    Text operator()(double v) const { return FormatNumber(v); }
    Text operator()(Date v) const { return FormatDayMonthYear(v); }
    Text operator()(TimeOfDay v) const { return FormatTime(v.milliseconds); }
    Text operator()(const Timestamp& v) const {
      auto split = SplitTimestamp(v);
      if (!split) return FormatNumber(v.milliseconds);
      return FormatDayMonthYear(split->first) + " " + FormatTime(split->second);
    }
    Text operator()(bool v) const { return v ? "True" : "False"; }
    Text operator()(const Decimal& v) const { return FormatDecimal(v); }
    Text operator()(const RawBytes& v) const { return v.bytes; }
  };
  return std::visit(Visitor{code_page}, value);
}

}  // namespace

std::string_view FieldKindName(FieldKind kind) {
  switch (kind) {
    case FieldKind::kString: return "String";
    case FieldKind::kSmallInt: return "SmallInt";
    case FieldKind::kInteger: return "Integer";
    case FieldKind::kAutoInc: return "AutoInc";
    case FieldKind::kFloat: return "Float";
    case FieldKind::kCurrency: return "Currency";
    case FieldKind::kDate: return "Date";
    case FieldKind::kTime: return "Time";
    case FieldKind::kDateTime: return "DateTime";
    case FieldKind::kBcd: return "BCD";
    case FieldKind::kBoolean: return "Boolean";
    case FieldKind::kBytes: return "Bytes";
  }
  return "Unknown";
}

Table::Table(std::string component_name, Text table_file, std::string alias, std::vector<FieldDeclaration> fields)
    : component_name_(std::move(component_name)),
      table_file_(std::move(table_file)),
      alias_(std::move(alias)),
      declared_(std::move(fields)) {}

Table::~Table() = default;

void Table::Fail(const char* kind, const std::string& message) const {
  throw PlatformError(kind, component_name_ + ": " + message);
}

void Table::Open() {
  if (Active()) return;
  std::filesystem::path folder;
  try {
    folder = ResolveAlias(alias_);
  } catch (const PlatformError& error) {
    Fail(kEngineError, error.what());
  }
  OpenIn(folder);
}

void Table::OpenIn(const std::filesystem::path& folder) {
  if (Active()) return;
  const std::filesystem::path file = FindInFolder(folder, Cp1252ToUtf8(table_file_));
  if (file.empty()) {
    Fail(kEngineError, "table file not found: " + PathText(folder / PathFromUtf8(Cp1252ToUtf8(table_file_))));
  }
  std::unique_ptr<ParadoxTable> table;
  try {
    table = std::make_unique<ParadoxTable>(ParadoxTable::OpenFile(file, OpenOptions{default_code_page_}));
  } catch (const PlatformError& error) {
    Fail(error.Kind().c_str(), error.what());
  }
  CheckDeclaredFields(*table);
  table_ = std::move(table);
  try {
    SetCurrent(table_->First());
  } catch (const PlatformError& error) {
    table_.reset();
    Fail(error.Kind().c_str(), error.what());
  }
}

void Table::Close() {
  table_.reset();
  current_.clear();
}

void Table::CheckDeclaredFields(ParadoxTable& table) {
  std::vector<FieldInfo> found;
  for (const auto& declaration : declared_) {
    const FieldInfo* match = nullptr;
    for (const auto& field : table.Fields()) {
      if (SameIgnoringCase(field.name, declaration.name)) {
        match = &field;
        break;
      }
    }
    if (match == nullptr) Fail(kDatabaseError, "Field '" + declaration.name + "' not found");
    if (FamilyOf(declaration.kind) != FamilyOf(match->type)) {
      Fail(kDatabaseError, "Type mismatch for field '" + declaration.name + "', expecting: " +
                               std::string(FieldKindName(declaration.kind)) +
                               " actual: " + std::string(EngineTypeName(match->type)));
    }
    found.push_back(*match);
  }
  declared_fields_ = std::move(found);
}

void Table::RequireOpen() const {
  if (!Active()) Fail(kDatabaseError, "Cannot perform this operation on a closed dataset");
}

void Table::SetCurrent(const std::optional<RecordPosition>& position) {
  if (position) {
    current_.assign(table_->Record(*position));  // keeps its storage from one lookup to the next
  } else {
    current_.clear();
  }
}

const FieldInfo& Table::DeclaredField(std::string_view name) const {
  // The program spells its fields as declared; other spellings are rare.
  for (std::size_t i = 0; i < declared_.size(); ++i) {
    if (declared_[i].name == name) return declared_fields_[i];
  }
  for (std::size_t i = 0; i < declared_.size(); ++i) {
    if (SameIgnoringCase(declared_[i].name, name)) return declared_fields_[i];
  }
  Fail(kDatabaseError, "Field '" + std::string(name) + "' not found");
}

bool Table::Locate(std::string_view field_name, const Text& value) {
  RequireOpen();
  const FieldInfo& field = DeclaredField(field_name);
  try {
    for (auto position = table_->First(); position; position = table_->Next(*position)) {
      const std::string_view record = table_->Record(*position);
      if (TextOf(DecodeValue(field, record), table_->CodePage()) == value) {
        SetCurrent(position);
        return true;
      }
    }
  } catch (const PlatformError& error) {
    Fail(error.Kind().c_str(), error.what());
  }
  return false;
}

// The raw bytes the index holds for these values, into key_; false when no record can hold
// them (a text the code page cannot write or longer than the field, a number out of its range).
bool Table::EncodeKey(std::initializer_list<KeyValue> values) {
  // The key fields are the record's first fields: their bytes are the record's first bytes.
  key_.clear();
  if (values.size() != 0) {
    const FieldInfo& last = table_->Fields()[values.size() - 1];
    key_.resize(static_cast<std::size_t>(last.offset + last.width), '\0');
  }
  std::size_t i = 0;
  for (const KeyValue& key_value : values) {
    const FieldInfo& field = table_->Fields()[i++];
    Value value;
    const auto mismatch = [&](std::string_view actual) {
      Fail(kDatabaseError, "Type mismatch for field '" + field.name + "', expecting: " +
                               std::string(EngineTypeName(field.type)) + " actual: " + std::string(actual));
    };
    if (const auto* text = std::get_if<std::string_view>(&key_value)) {
      if (field.type != FieldType::kAlpha) mismatch("String");
      auto encoded = FromWindows1252(*text, table_->CodePage());
      if (!encoded || encoded->find('\0') != std::string::npos) return false;
      value = TableText{std::move(*encoded)};
    } else if (const auto* number = std::get_if<std::int32_t>(&key_value)) {
      if (FamilyOf(field.type) != Family::kWhole) mismatch("Integer");
      value = *number;
    } else {
      if (field.type != FieldType::kDate) mismatch("Date");
      value = std::get<Date>(key_value);
    }
    try {
      EncodeValue(field, value, key_);
    } catch (const std::invalid_argument&) {
      return false;
    }
  }
  return true;
}

bool Table::FindKey(std::initializer_list<KeyValue> values) {
  RequireOpen();
  if (!table_->IsKeyed()) Fail(kDatabaseError, "No index currently active");
  if (static_cast<int>(values.size()) > table_->KeyFieldCount()) Fail(kDatabaseError, "Field index out of range");
  if (!EncodeKey(values)) return false;
  try {
    const auto position = table_->FindKeyPrefix(key_);
    if (!position) return false;
    SetCurrent(position);
  } catch (const PlatformError& error) {
    Fail(error.Kind().c_str(), error.what());
  }
  return true;
}

Value Table::FieldValue(std::string_view field) const {
  RequireOpen();
  const FieldInfo& info = DeclaredField(field);
  if (current_.empty()) return std::monostate{};
  return DecodeValue(info, current_);
}

Text Table::AsText(std::string_view field) const { return TextOf(FieldValue(field), table_ ? table_->CodePage() : 1252); }

bool Table::IsNull(std::string_view field) const { return std::holds_alternative<std::monostate>(FieldValue(field)); }

}  // namespace kalora::store
