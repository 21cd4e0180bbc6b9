#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "store/FieldValue.h"
#include "store/ParadoxTable.h"

namespace kalora::store {

struct DumpOptions {
  int default_code_page = 850;  // tables whose header records none
};

// The support view of a table: a summary (version, kind, code page, fields, record count),
// an empty line, then every record as CSV in UTF-8 (RFC 4180, lines end with CR LF). Blob
// fields are listed in the summary and left out of the CSV. Throws PlatformError naming the
// file when it cannot be read; nothing is written then.
void DumpTable(const std::filesystem::path& file, std::ostream& out, const DumpOptions& options = {});
void DumpTable(ParadoxTable& table, std::ostream& out);

// One value as the dump writes it (before CSV quoting).
std::string DumpText(const Value& value, int code_page);

}  // namespace kalora::store
