#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "runtime/Errors.h"
#include "store/ParadoxTable.h"
#include "store/TableDescription.h"
#include "store/TableDump.h"

namespace kalora::store::testing {

inline std::filesystem::path SamplePath(const std::string& relative) {
  return std::filesystem::path(KALORA_PARADOX_SAMPLES) / relative;
}

inline std::filesystem::path FixturePath(const std::string& relative) {
  return std::filesystem::path(KALORA_FIXTURES) / "store" / relative;
}

// Every record's fields as the dump writes them.
inline std::vector<std::vector<std::string>> ReadAll(ParadoxTable& table) {
  std::vector<std::vector<std::string>> rows;
  for (auto position = table.First(); position; position = table.Next(*position)) {
    std::vector<std::string> row;
    const std::string record(table.Record(*position));
    for (const auto& field : table.Fields()) row.push_back(DumpText(DecodeValue(field, record), table.CodePage()));
    rows.push_back(row);
  }
  return rows;
}

// The failure an action raises, as "<kind> <message>", or "no error".
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const PlatformError& error) {
    return error.Kind() + " " + error.what();
  }
  return "no error";
}

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Writes the table a description (UTF-8 text) gives into `folder`; returns the .DB's path.
std::filesystem::path WriteDescribedTable(const std::filesystem::path& folder, const std::string& description);

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

}  // namespace kalora::store::testing
