// libFuzzer target for the table reader. Input: a 4-byte little-endian length n, then n bytes
// of a .DB, then the bytes of its .PX (possibly none). Everything a table is asked to do must
// end in a value or a PlatformError: no crash, no hang, no read outside the bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/Errors.h"
#include "store/ParadoxTable.h"
#include "store/TableDump.h"

namespace {

constexpr int kMaxRecords = 100000;

void Exercise(const std::string& db, const std::string& px) {
  using namespace kalora::store;
  ParadoxTable table(MakeMemorySource(db), "fuzz.DB", px.empty() ? nullptr : MakeMemorySource(px), "fuzz.PX");
  std::string first_key;
  int records = 0;
  for (auto position = table.First(); position && records < kMaxRecords; position = table.Next(*position), ++records) {
    const std::string record(table.Record(*position));
    for (const auto& field : table.Fields()) DumpText(DecodeValue(field, record), table.CodePage());
    if (first_key.empty() && table.IsKeyed()) first_key = record.substr(0, static_cast<std::size_t>(table.Fields()[0].width));
  }
  if (!table.IsKeyed()) return;
  table.FindKeyPrefix(first_key);
  table.FindKeyPrefix(std::string(first_key.size(), '\x7F'));
  table.FindKeyPrefix(db.substr(0, std::min<std::size_t>(db.size(), 8)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::size_t declared = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::size_t>(data[3]) << 24;
  const std::string bytes(reinterpret_cast<const char*>(data) + 4, size - 4);
  const std::size_t db_size = std::min(declared, bytes.size());
  try {
    Exercise(bytes.substr(0, db_size), bytes.substr(db_size));
  } catch (const kalora::PlatformError&) {
    // A clear refusal is the expected answer to a bad file.
  }
  return 0;
}
