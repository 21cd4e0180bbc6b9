#include "store/ParadoxFile.h"

#include <algorithm>

#include "runtime/Errors.h"
#include "store/CodePages.h"

namespace kalora::store {
namespace {

constexpr int kFixedHeaderSize = 0x58;
constexpr int kExtendedHeaderSize = 0x78;  // data files of 4.x and later
constexpr int kBlockHeaderSize = 6;
constexpr int kShortTableNameSize = 79;
constexpr int kLongTableNameSize = 261;  // 7.x
constexpr int kMaxBlockSizeKb = 32;
constexpr int kMaxIndexLevels = 16;
constexpr char kEngineErrorKind[] = "EDBEngineError";

std::uint32_t Le(const std::string& bytes, int offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(offset + i)]);
  }
  return value;
}

std::string Hex(unsigned value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out = "0x";
  out += kDigits[(value >> 4) & 0xF];
  out += kDigits[value & 0xF];
  return out;
}

}  // namespace

ParadoxFile::ParadoxFile(std::unique_ptr<ByteSource> source, Text name, FileRole role, int default_code_page)
    : source_(std::move(source)), name_(std::move(name)) {
  if (!source_) Fail("cannot open the file");
  const std::uint64_t file_size = source_->Size();
  if (file_size < kFixedHeaderSize) Fail("file too short for a table header");
  std::string fixed(kFixedHeaderSize, '\0');
  source_->ReadAt(0, fixed.data(), fixed.size());
  const int header_size = static_cast<int>(Le(fixed, 0x02, 2));
  if (header_size < kFixedHeaderSize || static_cast<std::uint64_t>(header_size) > file_size) {
    Fail("header size " + std::to_string(header_size) + " does not fit the file");
  }
  std::string bytes(static_cast<std::size_t>(header_size), '\0');
  source_->ReadAt(0, bytes.data(), bytes.size());
  ParseHeader(bytes, role, default_code_page);
  ParseFields(bytes, role);
}

void ParadoxFile::Fail(const std::string& what) const {
  throw PlatformError(kEngineErrorKind, name_ + ": " + what);
}

void ParadoxFile::ParseHeader(const std::string& bytes, FileRole role, int default_code_page) {
  TableHeader& h = header_;
  h.record_size = static_cast<int>(Le(bytes, 0x00, 2));
  h.header_size = static_cast<int>(bytes.size());
  h.file_type = static_cast<int>(Le(bytes, 0x04, 1));
  const int block_kb = static_cast<int>(Le(bytes, 0x05, 1));
  h.record_count = Le(bytes, 0x06, 4);
  h.blocks_used = static_cast<int>(Le(bytes, 0x0A, 2));
  h.blocks_in_file = static_cast<int>(Le(bytes, 0x0C, 2));
  h.first_block = static_cast<int>(Le(bytes, 0x0E, 2));
  h.last_block = static_cast<int>(Le(bytes, 0x10, 2));
  h.index_root = static_cast<int>(Le(bytes, 0x1E, 2));
  h.index_levels = static_cast<int>(Le(bytes, 0x20, 1));
  h.field_count = static_cast<int>(Le(bytes, 0x21, 2));
  h.key_field_count = static_cast<int>(Le(bytes, 0x23, 2));
  h.file_version = static_cast<int>(Le(bytes, 0x39, 1));

  if (h.file_version < kVersion30 || h.file_version > kVersion7x) {
    Fail("not a table file of a known version (version byte " + std::to_string(h.file_version) + ")");
  }
  const bool data = role == FileRole::kData;
  if (data && h.file_type != static_cast<int>(FileType::kKeyedData) &&
      h.file_type != static_cast<int>(FileType::kUnkeyedData)) {
    Fail("not a data table (file type " + std::to_string(h.file_type) + ")");
  }
  if (!data && h.file_type != static_cast<int>(FileType::kPrimaryIndex)) {
    Fail("not a primary index (file type " + std::to_string(h.file_type) + ")");
  }
  if (block_kb < 1 || block_kb > kMaxBlockSizeKb) Fail("block size of " + std::to_string(block_kb) + " KB");
  h.block_size = block_kb * 1024;
  if (h.record_size < 1 || h.record_size > h.block_size - kBlockHeaderSize) {
    Fail("record size " + std::to_string(h.record_size) + " does not fit a block");
  }
  if (h.field_count < 1) Fail("no fields");

  const bool extended = data && h.file_version >= kVersion4x;
  if (extended && h.header_size < kExtendedHeaderSize) Fail("header too short for its version");
  const bool encrypted = data && (extended ? Le(bytes, 0x5C, 4) != 0 : Le(bytes, 0x25, 4) != 0);
  if (encrypted) Fail("the table is password-protected (encrypted); it cannot be read");

  if (data) {
    if (h.key_field_count > h.field_count) Fail("more key fields than fields");
    if (IsKeyed() && h.key_field_count < 1) Fail("keyed table without key fields");
    if (!IsKeyed()) h.key_field_count = 0;
  } else {
    if (h.index_levels > kMaxIndexLevels) Fail("index of " + std::to_string(h.index_levels) + " levels");
    h.key_field_count = h.field_count;
  }
  h.code_page = extended ? static_cast<int>(Le(bytes, 0x6A, 2)) : 0;
  code_page_ = h.code_page != 0 ? h.code_page : default_code_page;
}

void ParadoxFile::ParseFields(const std::string& bytes, FileRole role) {
  TableHeader& h = header_;
  const bool data = role == FileRole::kData;
  const int size = h.header_size;
  int pos = data && h.file_version >= kVersion4x ? kExtendedHeaderSize : kFixedHeaderSize;
  if (pos + 2 * h.field_count > size) Fail("field descriptors run past the header");

  int offset = 0;
  for (int i = 0; i < h.field_count; ++i, pos += 2) {
    const auto code = static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(pos)]);
    const int descriptor_size = static_cast<unsigned char>(bytes[static_cast<std::size_t>(pos + 1)]);
    auto type = FieldTypeFromCode(code);
    if (!type) Fail("field " + std::to_string(i + 1) + " has an unknown type " + Hex(code));
    FieldInfo field;
    field.type = *type;
    field.descriptor_size = descriptor_size;
    field.width = FieldWidth(*type, descriptor_size);
    if (field.width < 1) Fail("field " + std::to_string(i + 1) + " has size 0");
    field.offset = offset;
    offset += field.width;
    fields_.push_back(field);
  }
  const int expected = data ? h.record_size : h.record_size - kBlockHeaderSize;
  if (offset != expected) {
    Fail("fields take " + std::to_string(offset) + " bytes but records have " + std::to_string(expected));
  }
  if (!data) return;

  pos += 4 + 4 * h.field_count;
  pos += h.file_version >= kVersion7x ? kLongTableNameSize : kShortTableNameSize;
  for (auto& field : fields_) {
    if (pos >= size) Fail("field names run past the header");
    const auto end = bytes.find('\0', static_cast<std::size_t>(pos));
    if (end == std::string::npos) Fail("field names run past the header");
    field.name = ToWindows1252(bytes.substr(pos, end - pos), code_page_);
    pos = static_cast<int>(end) + 1;
  }
  // 4.x+: field numbers, then the sort order's name; informative only.
  if (h.file_version >= kVersion4x) {
    pos += 2 * h.field_count;
    if (pos < size) {
      const auto end = bytes.find('\0', static_cast<std::size_t>(pos));
      if (end != std::string::npos) h.sort_order = bytes.substr(pos, end - pos);
    }
  }
}

int ParadoxFile::PrefixWidth(int count) const {
  int width = 0;
  for (int i = 0; i < count && i < static_cast<int>(fields_.size()); ++i) width += fields_[i].width;
  return width;
}

Block ParadoxFile::ReadBlock(int number) { return ReadBlockBytes(number, false); }

Block ParadoxFile::ReadBlockStart(int number) { return ReadBlockBytes(number, true); }

Block ParadoxFile::ReadBlockBytes(int number, bool first_record_only) {
  const TableHeader& h = header_;
  if (number < 1 || number > h.blocks_in_file) {
    Fail("block " + std::to_string(number) + " is outside the file's " + std::to_string(h.blocks_in_file) +
         " blocks");
  }
  const std::uint64_t start =
      static_cast<std::uint64_t>(h.header_size) + static_cast<std::uint64_t>(number - 1) * h.block_size;
  const std::uint64_t file_size = source_->Size();
  if (start + kBlockHeaderSize > file_size) Fail("block " + std::to_string(number) + " lies past the end of the file");
  const auto available = static_cast<int>(std::min<std::uint64_t>(h.block_size, file_size - start));

  // One read for the block's head and records: the head alone would cost a read of its own.
  const int wanted_bytes = first_record_only ? std::min(available, kBlockHeaderSize + h.record_size) : available;
  Block block;
  std::string& bytes = block.records;
  bytes.resize(static_cast<std::size_t>(wanted_bytes));
  if (source_->ReadAt(start, bytes.data(), bytes.size()) != bytes.size()) {
    Fail("block " + std::to_string(number) + " could not be read");
  }
  block.number = number;
  block.next = static_cast<int>(Le(bytes, 0, 2));
  block.prev = static_cast<int>(Le(bytes, 2, 2));
  const auto add_data_size = static_cast<std::int16_t>(Le(bytes, 4, 2));
  if (add_data_size < -h.record_size) Fail("block " + std::to_string(number) + " has a bad record count");
  const int count = add_data_size < 0 ? 0 : add_data_size / h.record_size + 1;
  if (kBlockHeaderSize + count * h.record_size > available) {
    Fail("block " + std::to_string(number) + " holds more records than fit in it");
  }
  block.record_count = count;
  const int wanted = first_record_only ? std::min(count, 1) : count;
  bytes.erase(0, kBlockHeaderSize);
  bytes.resize(static_cast<std::size_t>(wanted) * h.record_size);
  return block;
}

}  // namespace kalora::store
