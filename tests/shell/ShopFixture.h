// A shop for the tests that run the whole program: the demo store's tables (or a variant),
// the simulated printer with the demo month, a drive C: and a work folder of their own.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TempDrive.h"
#include "tests/support/TestEnvironment.h"

namespace kalora::test {

class Shop {
 public:
  // company_key: the Conteudo of the parameter EMPRESA ("001" as in the demo, "002" for the
  // company without a street number, "" for no EMPRESA parameter at all).
  explicit Shop(const std::string& company_key = "001");

  const std::filesystem::path& StoreFolder() const { return store_; }
  // The simulator's call log so far, one call a line.
  std::vector<std::string> Calls() const;
  std::string Native(const std::string& program_path) const { return drive_.Native(program_path); }
  std::vector<std::string> FilesIn(const std::string& program_folder) const;

 private:
  TempDrive drive_;
  std::filesystem::path root_;
  std::filesystem::path store_;
  std::filesystem::path log_;
  std::vector<std::unique_ptr<testing::ScopedEnv>> environment_;
};

}  // namespace kalora::test
