#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/ParadoxWriter.h"

namespace kalora::store {

// A table written out as readable text (UTF-8), for the writer. docs/store.md describes it:
//   table EcfCupom.DB
//   version 7.x            3.0, 3.5, 4.x, 5.x or 7.x
//   codepage 1252
//   blocksize 4            KB; "indexblocksize" likewise for the .PX
//   field A20 NFab         type letter and size, then the name (the rest of the line)
//   key 3                  the first 3 fields are the primary key
//   record BE09...|2026-11-01|1001|...     values separated by "|", empty is NULL
struct TableDescription {
  std::string table_file;  // UTF-8
  TableLayout layout;
  std::vector<std::vector<Value>> records;
};

// Throws PlatformError naming `source_name` and the line.
TableDescription ParseTableDescription(std::string_view text, std::string_view source_name);
TableDescription ReadTableDescription(const std::filesystem::path& file);

// One value in the description's notation (UTF-8); nullopt with `error` set when it does not
// suit the field.
std::optional<Value> ParseFieldValue(const WriterField& field, std::string_view text, int code_page,
                                     std::string& error);
// The values of a "record" line: split at unescaped "|", "\|" and "\\" unescaped.
std::vector<std::string> SplitRecordLine(std::string_view line);

}  // namespace kalora::store
