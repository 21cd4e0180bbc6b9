#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "store/FieldValue.h"
#include "store/ParadoxFormat.h"

namespace kalora::store {

struct WriterField {
  std::string name;  // in the table's code page
  FieldType type = FieldType::kAlpha;
  int size = 0;  // alpha and bytes: length; BCD: decimals; other types: ignored
};

struct TableLayout {
  int file_version = kVersion7x;  // kVersion30 ... kVersion7x
  int code_page = 1252;           // recorded in 4.x and later headers
  int block_size_kb = 4;
  int index_block_size_kb = 0;    // 0: as the data blocks
  int key_field_count = 0;        // 0: unkeyed table, no .PX
  std::vector<WriterField> fields;
};

// Writes a table for tests and tools: the .DB and, for a keyed table, its .PX, records sorted
// by key (a repeated key is refused). Text values are TableText in the layout's code page.
// Each file is written beside its final name and renamed into place, so a failure never
// leaves a file that looks finished. Throws PlatformError naming the file and the record.
void WriteTable(const std::filesystem::path& db_path, const TableLayout& layout,
                const std::vector<std::vector<Value>>& records);
// The same, taking the records one at a time (big tables for benchmarks): `next` fills the
// record and returns true, or returns false after the last one.
void WriteTable(const std::filesystem::path& db_path, const TableLayout& layout,
                const std::function<bool(std::vector<Value>& record)>& next);

}  // namespace kalora::store
