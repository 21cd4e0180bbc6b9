#include "tests/store/StoreTestSupport.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

#include "store/StorePaths.h"

namespace kalora::store::testing {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() /
          ("kalora-store-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path WriteDescribedTable(const std::filesystem::path& folder, const std::string& description) {
  const TableDescription parsed = ParseTableDescription(description, "test description");
  const std::filesystem::path path = folder / PathFromUtf8(parsed.table_file);
  WriteTable(path, parsed.layout, parsed.records);
  return path;
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace kalora::store::testing
