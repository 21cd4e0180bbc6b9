#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Text.h"
#include "store/ByteSource.h"
#include "store/ParadoxFormat.h"

namespace kalora::store {

// What the header of a .DB or .PX file says, each value read at its own offset.
struct TableHeader {
  int record_size = 0;
  int header_size = 0;
  int file_type = 0;
  int block_size = 0;  // bytes
  std::uint32_t record_count = 0;  // as the header says; the blocks decide
  int blocks_used = 0;
  int blocks_in_file = 0;
  int first_block = 0;
  int last_block = 0;
  int index_root = 0;    // .PX only
  int index_levels = 0;  // .PX only
  int field_count = 0;
  int key_field_count = 0;
  int file_version = 0;
  int code_page = 0;  // 0: none in the header
  std::string sort_order;  // "ascii", "intl850" ... when the header names one
};

struct FieldInfo {
  Text name;  // Windows-1252
  FieldType type = FieldType::kAlpha;
  int descriptor_size = 0;  // the size the table designer shows (decimals for BCD)
  int offset = 0;           // within the record
  int width = 0;            // bytes in the record
};

// One block as stored: its links and the bytes of its live records only.
struct Block {
  int number = 0;
  int next = 0;
  int prev = 0;
  int record_count = 0;
  std::string records;  // record_count * record size bytes

  std::string_view Record(int index, int record_size) const {
    return std::string_view(records).substr(static_cast<std::size_t>(index) * record_size, record_size);
  }
};

enum class FileRole { kData, kPrimaryIndex };

// One .DB or .PX file: the header is read and checked when it is constructed; blocks are read
// one at a time on request. Every failure names the file.
class ParadoxFile {
 public:
  // `default_code_page` is used where the header records none (3.x tables, code page 0).
  ParadoxFile(std::unique_ptr<ByteSource> source, Text name, FileRole role, int default_code_page);

  const TableHeader& Header() const { return header_; }
  const std::vector<FieldInfo>& Fields() const { return fields_; }
  int CodePage() const { return code_page_; }
  const Text& Name() const { return name_; }
  bool IsKeyed() const { return header_.file_type == static_cast<int>(FileType::kKeyedData); }
  // Bytes of the first `count` fields (the key prefix of a record or index entry).
  int PrefixWidth(int count) const;

  Block ReadBlock(int number);
  // The block's links and at most its first record: enough to index it.
  Block ReadBlockStart(int number);

  [[noreturn]] void Fail(const std::string& what) const;

 private:
  void ParseHeader(const std::string& bytes, FileRole role, int default_code_page);
  void ParseFields(const std::string& bytes, FileRole role);
  Block ReadBlockBytes(int number, bool first_record_only);

  std::unique_ptr<ByteSource> source_;
  Text name_;
  TableHeader header_;
  std::vector<FieldInfo> fields_;
  int code_page_ = 0;
};

}  // namespace kalora::store
