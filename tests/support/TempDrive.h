// A drive C: and a current folder of a test's own, removed afterwards.
//
// On Linux the program's C:\ is the folder named by KALORA_DRIVE_C, so each test gets a fresh
// temporary one. Under Wine the program's C:\ is the real drive of the build folder's
// throwaway prefix: the test clears C:\Varnex there before and after.
#pragma once

#include <filesystem>
#include <string>

#include "runtime/Text.h"

namespace kalora::test {

class TempDrive {
 public:
  TempDrive();
  ~TempDrive();
  TempDrive(const TempDrive&) = delete;
  TempDrive& operator=(const TempDrive&) = delete;

  // Where one of the program's paths ("C:\Varnex\..." or a work file name) is on this machine.
  std::string Native(const Text& path) const;
  const std::filesystem::path& WorkFolder() const { return work_; }

 private:
  std::filesystem::path root_;
  std::filesystem::path work_;
  std::filesystem::path previous_folder_;
};

}  // namespace kalora::test
