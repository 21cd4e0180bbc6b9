#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kalora::store {

// Field type codes as stored in the field descriptors of a table's header.
enum class FieldType : std::uint8_t {
  kAlpha = 0x01,
  kDate = 0x02,
  kShort = 0x03,
  kLong = 0x04,
  kMoney = 0x05,
  kNumber = 0x06,
  kLogical = 0x09,
  kMemo = 0x0C,
  kBlob = 0x0D,
  kFormattedMemo = 0x0E,
  kOle = 0x0F,
  kGraphic = 0x10,
  kTime = 0x14,
  kTimestamp = 0x15,
  kAutoInc = 0x16,
  kBcd = 0x17,
  kBytes = 0x18,
};

// File type byte at header offset 04.
enum class FileType : std::uint8_t {
  kKeyedData = 0,
  kPrimaryIndex = 1,
  kUnkeyedData = 2,
};

constexpr int kBcdWidth = 17;
constexpr std::int32_t kDayNumberOf1970 = 719163;  // 0001-01-01 is day 1
constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// File version byte at header offset 39.
constexpr int kVersion30 = 3;
constexpr int kVersion35 = 4;
constexpr int kVersion4x = 5;   // 5-9
constexpr int kVersion5x = 10;  // 10-11
constexpr int kVersion7x = 12;

std::optional<FieldType> FieldTypeFromCode(std::uint8_t code);
// Bytes the field takes in a record, given the size in its descriptor.
int FieldWidth(FieldType type, int descriptor_size);
bool IsBlob(FieldType type);
// The letter the table designer shows ("A", "D", "$", "+", "#" ...).
std::string_view FieldLetter(FieldType type);
// The data engine's own name of the type ("String", "Integer", "Currency" ...), as its messages show it.
std::string_view EngineTypeName(FieldType type);
// "3.0", "3.5", "4.x", "5.x", "7.x".
std::string_view VersionName(int file_version);

}  // namespace kalora::store
