// kalora-store-builder OUT_FOLDER DESCRIPTION... [--coupons LIST]
//
// Writes the tables the descriptions give into OUT_FOLDER; the coupons of LIST are added to the
// description of EcfCupom.DB. Also writes OUT_FOLDER/kalora-aliases.ini naming OUT_FOLDER for
// both aliases (copy it beside the program, or set KALORA_ALIAS_Kalora and ..._KaloraLocal).
#include <iostream>

#include "runtime/Cp1252.h"
#include "store/StorePaths.h"
#include "tools/StoreBuilding.h"

namespace {

using namespace kalora;

int Run(int argc, char** argv) {
  std::vector<std::filesystem::path> descriptions;
  std::filesystem::path coupons;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--coupons" && i + 1 < argc) {
      coupons = store::PathFromUtf8(argv[++i]);
    } else {
      descriptions.push_back(store::PathFromUtf8(argument));
    }
  }
  if (argc < 3 || descriptions.empty()) {
    std::cerr << "usage: kalora-store-builder OUT_FOLDER DESCRIPTION... [--coupons LIST]\n";
    return 2;
  }
  tools::BuildStore(std::filesystem::absolute(store::PathFromUtf8(argv[1])), descriptions, coupons,
                    std::cout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "kalora-store-builder: " << kalora::Cp1252ToUtf8(error.what()) << "\n";
    return 1;
  }
}
