#include "tests/support/TempDrive.h"

#include <cstdlib>
#include <random>
#include <stdexcept>

#include "os/Files.h"

namespace kalora::test {

namespace fs = std::filesystem;

namespace {

fs::path UniqueFolder() {
  std::random_device random;
  return fs::temp_directory_path() / ("kalora-test-" + std::to_string(random()));
}

#ifdef _WIN32
// Under Wine the program writes to the prefix's real C:\Varnex; never on a real machine.
void PrepareDriveC(const fs::path&) {
  if (std::getenv("WINEPREFIX") == nullptr) {
    throw std::runtime_error("these tests write to C:\\Varnex: run them under Wine only");
  }
  fs::remove_all("C:\\Varnex");
}
void RemoveFromDriveC() {
  std::error_code ignored;
  fs::remove_all("C:\\Varnex", ignored);
}
#else
void PrepareDriveC(const fs::path& folder) {
  fs::create_directories(folder);
  setenv("KALORA_DRIVE_C", folder.string().c_str(), 1);
}
void RemoveFromDriveC() {}
#endif

}  // namespace

TempDrive::TempDrive() : root_(UniqueFolder()), previous_folder_(fs::current_path()) {
  PrepareDriveC(root_ / "drive_c");
  work_ = root_ / "work";
  fs::create_directories(work_);
  fs::current_path(work_);
}

TempDrive::~TempDrive() {
  fs::current_path(previous_folder_);
  std::error_code ignored;
  fs::remove_all(root_, ignored);
  RemoveFromDriveC();
}

std::string TempDrive::Native(const Text& path) const { return os::NativePath(path); }

}  // namespace kalora::test
