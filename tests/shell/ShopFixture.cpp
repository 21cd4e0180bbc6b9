#include "tests/shell/ShopFixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tools/StoreBuilding.h"

namespace kalora::test {

namespace fs = std::filesystem;

namespace {

// The demo parameter table with the EMPRESA record pointing elsewhere, or left out.
fs::path ParametersFor(const fs::path& folder, const std::string& company_key) {
  std::istringstream demo(testing::ReadFile(testing::SourceFile("tools/demo/Parametro.txt")));
  fs::path file = folder / "Parametro.txt";
  std::ofstream out(file, std::ios::binary);
  for (std::string line; std::getline(demo, line);) {
    if (line.starts_with("record EMPRESA|")) {
      if (company_key.empty()) continue;
      line = "record EMPRESA|Empresa que opera a loja|C|" + company_key + "|Geral";
    }
    out << line << "\n";
  }
  return file;
}

}  // namespace

Shop::Shop(const std::string& company_key) : root_(drive_.WorkFolder().parent_path()) {
  store_ = root_ / "store";
  fs::create_directories(store_);
  std::ostringstream ignored;
  tools::BuildStore(store_,
                    {ParametersFor(root_, company_key), testing::SourceFile("tools/demo/Emp.txt"),
                     testing::SourceFile("tools/demo/EcfCupom.txt")},
                    testing::SourceFile("tools/demo/coupons.txt"), ignored);
  log_ = root_ / "calls.log";
  auto set = [this](const char* name, const fs::path& value) {
    environment_.push_back(std::make_unique<testing::ScopedEnv>(name, value.string()));
  };
  set("KALORA_ALIAS_Kalora", store_);
  set("KALORA_ALIAS_KaloraLocal", store_);
  set("KALORA_SIM_MEMORIA", testing::SourceFile("simulator/demo/memoria.txt"));
  set("KALORA_SIM_LOG", log_);
  environment_.push_back(std::make_unique<testing::ScopedEnv>("KALORA_SIM_FALHA", std::nullopt));
}

std::vector<std::string> Shop::Calls() const {
  std::vector<std::string> calls;
  std::ifstream in(log_);
  for (std::string line; std::getline(in, line);) calls.push_back(line);
  return calls;
}

std::vector<std::string> Shop::FilesIn(const std::string& program_folder) const {
  std::vector<std::string> names;
  fs::path folder = drive_.Native(program_folder);
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kalora::test
