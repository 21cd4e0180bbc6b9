#include "store/ParadoxFormat.h"

namespace kalora::store {
namespace {

struct TypeFacts {
  FieldType type;
  int fixed_width;  // 0: the descriptor gives the width
  std::string_view letter;
  std::string_view engine_name;
};

constexpr TypeFacts kTypeFacts[] = {
    {FieldType::kAlpha, 0, "A", "String"},
    {FieldType::kDate, 4, "D", "Date"},
    {FieldType::kShort, 2, "S", "SmallInt"},
    {FieldType::kLong, 4, "I", "Integer"},
    {FieldType::kMoney, 8, "$", "Currency"},
    {FieldType::kNumber, 8, "N", "Float"},
    {FieldType::kLogical, 1, "L", "Boolean"},
    {FieldType::kMemo, 0, "M", "Memo"},
    {FieldType::kBlob, 0, "B", "Blob"},
    {FieldType::kFormattedMemo, 0, "F", "FmtMemo"},
    {FieldType::kOle, 0, "O", "ParadoxOle"},
    {FieldType::kGraphic, 0, "G", "Graphic"},
    {FieldType::kTime, 4, "T", "Time"},
    {FieldType::kTimestamp, 8, "@", "DateTime"},
    {FieldType::kAutoInc, 4, "+", "AutoInc"},
    {FieldType::kBcd, kBcdWidth, "#", "BCD"},
    {FieldType::kBytes, 0, "Y", "Bytes"},
};

const TypeFacts& Facts(FieldType type) {
  for (const auto& facts : kTypeFacts) {
    if (facts.type == type) return facts;
  }
  return kTypeFacts[0];  // unreachable: every enumerator has a row
}

}  // namespace

std::optional<FieldType> FieldTypeFromCode(std::uint8_t code) {
  for (const auto& facts : kTypeFacts) {
    if (static_cast<std::uint8_t>(facts.type) == code) return facts.type;
  }
  return std::nullopt;
}

int FieldWidth(FieldType type, int descriptor_size) {
  const int fixed = Facts(type).fixed_width;
  return fixed != 0 ? fixed : descriptor_size;
}

bool IsBlob(FieldType type) {
  switch (type) {
    case FieldType::kMemo:
    case FieldType::kBlob:
    case FieldType::kFormattedMemo:
    case FieldType::kOle:
    case FieldType::kGraphic:
      return true;
    default:
      return false;
  }
}

std::string_view FieldLetter(FieldType type) { return Facts(type).letter; }

std::string_view EngineTypeName(FieldType type) { return Facts(type).engine_name; }

std::string_view VersionName(int file_version) {
  if (file_version <= kVersion30) return "3.0";
  if (file_version == kVersion35) return "3.5";
  if (file_version < kVersion5x) return "4.x";
  if (file_version < kVersion7x) return "5.x";
  return "7.x";
}

}  // namespace kalora::store
