#include "store/ParadoxWriter.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <numeric>
#include <stdexcept>
#include <system_error>

#include "runtime/Errors.h"
#include "store/StorePaths.h"

namespace kalora::store {
namespace {

constexpr int kFixedHeaderSize = 0x58;
constexpr int kExtendedHeaderSize = 0x78;
constexpr int kBlockHeaderSize = 6;
constexpr int kHeaderRounding = 0x800;
constexpr int kMaxBlocks = 0xFFFF;
constexpr std::uint32_t kNoEncryption4x = 0xFF00FF00;
constexpr char kSortOrder[] = "ascii";

[[noreturn]] void Fail(const std::filesystem::path& file, const std::string& what) {
  throw PlatformError("EDBEngineError", PathText(file) + ": " + what);
}

void PutLe(std::string& bytes, int offset, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[static_cast<std::size_t>(offset + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutShortEntry(std::string& bytes, std::size_t offset, int value) {
  const auto raw = static_cast<unsigned>(value) ^ 0x8000u;
  bytes[offset] = static_cast<char>((raw >> 8) & 0xFF);
  bytes[offset + 1] = static_cast<char>(raw & 0xFF);
}

struct BlockPlan {
  std::vector<std::string> blocks;  // full blocks, headers included
};

struct FileFacts {
  int file_type = 0;
  int record_size = 0;
  int block_size_kb = 0;
  std::uint32_t record_count = 0;
  int root = 0;
  int levels = 0;
  int key_field_count = 0;
};

// Blocks chained 1..n in order, each filled with up to `per_block` items of `item_size`.
std::vector<std::string> ChainBlocks(const std::vector<std::string>& items, int item_size, int block_size,
                                     int first_number) {
  const int per_block = (block_size - kBlockHeaderSize) / item_size;
  std::vector<std::string> blocks;
  for (std::size_t start = 0; start < items.size(); start += static_cast<std::size_t>(per_block)) {
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(per_block), items.size() - start);
    std::string block(static_cast<std::size_t>(block_size), '\0');
    const int number = first_number + static_cast<int>(blocks.size());
    const bool last = start + count >= items.size();
    PutLe(block, 0, last ? 0 : static_cast<std::uint32_t>(number + 1), 2);
    PutLe(block, 2, number == first_number ? 0 : static_cast<std::uint32_t>(number - 1), 2);
    PutLe(block, 4, static_cast<std::uint32_t>((static_cast<int>(count) - 1) * item_size) & 0xFFFF, 2);
    for (std::size_t i = 0; i < count; ++i) {
      std::memcpy(block.data() + kBlockHeaderSize + i * static_cast<std::size_t>(item_size), items[start + i].data(),
                  static_cast<std::size_t>(item_size));
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

std::string Header(const TableLayout& layout, const FileFacts& facts, bool data, int blocks) {
  const bool extended = data && layout.file_version >= kVersion4x;
  const int field_count = data ? static_cast<int>(layout.fields.size()) : layout.key_field_count;
  std::string tail;  // everything after the fixed part
  for (int i = 0; i < field_count; ++i) {
    const WriterField& field = layout.fields[static_cast<std::size_t>(i)];
    tail += static_cast<char>(field.type);
    const int width = FieldWidth(field.type, field.size);
    tail += static_cast<char>(field.type == FieldType::kBcd ? field.size : width);
  }
  tail += std::string(4, '\0');
  if (data) tail += std::string(4 * static_cast<std::size_t>(field_count), '\0');
  tail += std::string(data && layout.file_version >= kVersion7x ? 261 : 79, '\0');
  if (data) {
    for (const auto& field : layout.fields) tail += field.name + '\0';
    if (layout.file_version >= kVersion4x) {
      for (int i = 1; i <= field_count; ++i) {
        tail += static_cast<char>(i & 0xFF);
        tail += static_cast<char>(i >> 8);
      }
      tail += std::string(kSortOrder) + '\0';
    }
  }
  const int start = extended ? kExtendedHeaderSize : kFixedHeaderSize;
  int size = start + static_cast<int>(tail.size());
  size = (size + kHeaderRounding - 1) / kHeaderRounding * kHeaderRounding;
  std::string header(static_cast<std::size_t>(size), '\0');
  std::memcpy(header.data() + start, tail.data(), tail.size());
  PutLe(header, 0x00, static_cast<std::uint32_t>(facts.record_size), 2);
  PutLe(header, 0x02, static_cast<std::uint32_t>(size), 2);
  PutLe(header, 0x04, static_cast<std::uint32_t>(facts.file_type), 1);
  PutLe(header, 0x05, static_cast<std::uint32_t>(facts.block_size_kb), 1);
  PutLe(header, 0x06, facts.record_count, 4);
  PutLe(header, 0x0A, static_cast<std::uint32_t>(blocks), 2);
  PutLe(header, 0x0C, static_cast<std::uint32_t>(blocks), 2);
  PutLe(header, 0x0E, blocks > 0 ? 1 : 0, 2);
  PutLe(header, 0x10, static_cast<std::uint32_t>(blocks), 2);
  PutLe(header, 0x1E, static_cast<std::uint32_t>(facts.root), 2);
  PutLe(header, 0x20, static_cast<std::uint32_t>(facts.levels), 1);
  PutLe(header, 0x21, static_cast<std::uint32_t>(field_count), 2);
  PutLe(header, 0x23, data ? static_cast<std::uint32_t>(facts.key_field_count) : 0, 2);
  PutLe(header, 0x25, extended ? kNoEncryption4x : 0, 4);
  PutLe(header, 0x39, static_cast<std::uint32_t>(layout.file_version), 1);
  if (extended) PutLe(header, 0x6A, static_cast<std::uint32_t>(layout.code_page), 2);
  return header;
}

void WriteFile(const std::filesystem::path& path, const std::string& header, const std::vector<std::string>& blocks) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) Fail(path, "cannot create the file");
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    for (const auto& block : blocks) out.write(block.data(), static_cast<std::streamsize>(block.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      Fail(path, "cannot write the file");
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    Fail(path, "cannot put the file in place");
  }
}

std::vector<FieldInfo> Infos(const TableLayout& layout) {
  std::vector<FieldInfo> infos;
  int offset = 0;
  for (const auto& field : layout.fields) {
    FieldInfo info;
    info.name = field.name;
    info.type = field.type;
    info.descriptor_size = field.size;
    info.width = FieldWidth(field.type, field.size);
    info.offset = offset;
    offset += info.width;
    infos.push_back(info);
  }
  return infos;
}

void CheckLayout(const std::filesystem::path& file, const TableLayout& layout) {
  if (layout.file_version < kVersion30 || layout.file_version > kVersion7x) Fail(file, "unknown file version");
  if (layout.block_size_kb < 1 || layout.block_size_kb > 32) Fail(file, "block size must be 1 to 32 KB");
  if (layout.fields.empty()) Fail(file, "a table needs fields");
  if (layout.key_field_count < 0 || layout.key_field_count > static_cast<int>(layout.fields.size())) {
    Fail(file, "more key fields than fields");
  }
  for (const auto& field : layout.fields) {
    if (IsBlob(field.type)) Fail(file, "field '" + field.name + "': blob fields are not written");
    const bool sized = field.type == FieldType::kAlpha || field.type == FieldType::kBytes;
    if (sized && (field.size < 1 || field.size > 255)) Fail(file, "field '" + field.name + "': size must be 1 to 255");
    if (field.type == FieldType::kBcd && (field.size < 0 || field.size > 32)) {
      Fail(file, "field '" + field.name + "': BCD decimals must be 0 to 32");
    }
  }
}

}  // namespace

void WriteTable(const std::filesystem::path& db_path, const TableLayout& layout,
                const std::vector<std::vector<Value>>& records) {
  std::size_t at = 0;
  WriteTable(db_path, layout, [&](std::vector<Value>& record) {
    if (at == records.size()) return false;
    record = records[at++];
    return true;
  });
}

void WriteTable(const std::filesystem::path& db_path, const TableLayout& layout,
                const std::function<bool(std::vector<Value>& record)>& next) {
  CheckLayout(db_path, layout);
  const std::vector<FieldInfo> infos = Infos(layout);
  const int record_size = std::accumulate(infos.begin(), infos.end(), 0, [](int sum, const FieldInfo& f) { return sum + f.width; });
  const int block_size = layout.block_size_kb * 1024;
  if (record_size + kBlockHeaderSize > block_size) Fail(db_path, "records do not fit a block");

  std::vector<std::string> rows;
  std::vector<Value> values;
  for (std::size_t r = 0; next(values); ++r) {
    if (values.size() != infos.size()) {
      Fail(db_path, "record " + std::to_string(r + 1) + " has " + std::to_string(values.size()) + " values for " +
                        std::to_string(infos.size()) + " fields");
    }
    std::string row(static_cast<std::size_t>(record_size), '\0');
    for (std::size_t f = 0; f < infos.size(); ++f) {
      try {
        EncodeValue(infos[f], values[f], row);
      } catch (const std::invalid_argument& error) {
        Fail(db_path, "record " + std::to_string(r + 1) + ", field '" + infos[f].name + "': " + error.what());
      }
    }
    rows.push_back(std::move(row));
  }

  const int key_width = std::accumulate(infos.begin(), infos.begin() + layout.key_field_count, 0,
                                        [](int sum, const FieldInfo& f) { return sum + f.width; });
  const auto key_of = [key_width](const std::string& row) { return std::string_view(row).substr(0, static_cast<std::size_t>(key_width)); };
  if (layout.key_field_count > 0) {
    std::stable_sort(rows.begin(), rows.end(), [&](const std::string& a, const std::string& b) { return key_of(a) < key_of(b); });
    for (std::size_t i = 1; i < rows.size(); ++i) {
      if (key_of(rows[i]) == key_of(rows[i - 1])) Fail(db_path, "two records have the same key");
    }
  }

  const std::vector<std::string> data_blocks = ChainBlocks(rows, record_size, block_size, 1);
  if (data_blocks.size() > static_cast<std::size_t>(kMaxBlocks)) Fail(db_path, "too many blocks: use bigger blocks");
  FileFacts data_facts;
  data_facts.file_type = layout.key_field_count > 0 ? static_cast<int>(FileType::kKeyedData)
                                                    : static_cast<int>(FileType::kUnkeyedData);
  data_facts.record_size = record_size;
  data_facts.block_size_kb = layout.block_size_kb;
  data_facts.record_count = static_cast<std::uint32_t>(rows.size());
  data_facts.key_field_count = layout.key_field_count;

  if (layout.key_field_count == 0) {
    WriteFile(db_path, Header(layout, data_facts, true, static_cast<int>(data_blocks.size())), data_blocks);
    return;
  }

  // The .PX: level 1 holds the first key of every data block; each higher level the first key
  // of every block below it, up to a single root block.
  const int entry_size = key_width + kBlockHeaderSize;
  const int index_block_size = (layout.index_block_size_kb > 0 ? layout.index_block_size_kb : layout.block_size_kb) * 1024;
  if (entry_size + kBlockHeaderSize > index_block_size) Fail(db_path, "index entries do not fit a block");
  std::vector<std::string> index_blocks;
  std::vector<std::string> entries;
  const int per_data_block = (block_size - kBlockHeaderSize) / record_size;
  for (std::size_t b = 0; b < data_blocks.size(); ++b) {
    std::string entry(data_blocks[b].substr(kBlockHeaderSize, static_cast<std::size_t>(key_width)));
    entry.resize(static_cast<std::size_t>(entry_size), '\0');
    const std::size_t in_block = std::min<std::size_t>(static_cast<std::size_t>(per_data_block),
                                                       rows.size() - b * static_cast<std::size_t>(per_data_block));
    PutShortEntry(entry, static_cast<std::size_t>(key_width), static_cast<int>(b + 1));
    PutShortEntry(entry, static_cast<std::size_t>(key_width) + 2, static_cast<int>(in_block));
    PutShortEntry(entry, static_cast<std::size_t>(key_width) + 4, 0);
    entries.push_back(std::move(entry));
  }
  int levels = 0;
  std::uint32_t entry_count = 0;
  while (!entries.empty()) {
    ++levels;
    entry_count += static_cast<std::uint32_t>(entries.size());
    const int first_number = static_cast<int>(index_blocks.size()) + 1;
    std::vector<std::string> level = ChainBlocks(entries, entry_size, index_block_size, first_number);
    // Chain this level after the previous one.
    if (!index_blocks.empty()) {
      PutLe(index_blocks.back(), 0, static_cast<std::uint32_t>(first_number), 2);
      PutLe(level.front(), 2, static_cast<std::uint32_t>(first_number - 1), 2);
    }
    const int per_index_block = (index_block_size - kBlockHeaderSize) / entry_size;
    std::vector<std::string> parents;
    if (level.size() > 1) {
      for (std::size_t b = 0; b < level.size(); ++b) {
        std::string entry(level[b].substr(kBlockHeaderSize, static_cast<std::size_t>(entry_size)));
        const std::size_t in_block = std::min<std::size_t>(static_cast<std::size_t>(per_index_block),
                                                           entries.size() - b * static_cast<std::size_t>(per_index_block));
        PutShortEntry(entry, static_cast<std::size_t>(key_width), first_number + static_cast<int>(b));
        PutShortEntry(entry, static_cast<std::size_t>(key_width) + 2, static_cast<int>(in_block));
        PutShortEntry(entry, static_cast<std::size_t>(key_width) + 4, 0);
        parents.push_back(std::move(entry));
      }
    }
    for (auto& block : level) index_blocks.push_back(std::move(block));
    entries = std::move(parents);
  }
  if (index_blocks.size() > static_cast<std::size_t>(kMaxBlocks)) Fail(db_path, "too many index blocks");

  FileFacts index_facts;
  index_facts.file_type = static_cast<int>(FileType::kPrimaryIndex);
  index_facts.record_size = entry_size;
  index_facts.block_size_kb = index_block_size / 1024;
  index_facts.record_count = entry_count;
  index_facts.root = static_cast<int>(index_blocks.size());
  index_facts.levels = levels;

  std::filesystem::path px_path = db_path;
  px_path.replace_extension(db_path.extension() == ".db" ? ".px" : ".PX");
  // The .PX goes first: a .DB in place always has the index that matches it beside it.
  WriteFile(px_path, Header(layout, index_facts, false, static_cast<int>(index_blocks.size())), index_blocks);
  WriteFile(db_path, Header(layout, data_facts, true, static_cast<int>(data_blocks.size())), data_blocks);
}

}  // namespace kalora::store
