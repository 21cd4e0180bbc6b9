// kalora-store-builder OUT_FOLDER DESCRIPTION... [--coupons LIST]
//
// Writes the tables the descriptions give into OUT_FOLDER; the coupons of LIST are added to the
// description of EcfCupom.DB. Also writes OUT_FOLDER/kalora-aliases.ini naming OUT_FOLDER for
// both aliases (copy it beside the program, or set KALORA_ALIAS_Kalora and ..._KaloraLocal).
#include <fstream>
#include <iostream>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "store/Aliases.h"
#include "store/StorePaths.h"
#include "tools/CouponList.h"

namespace {

using namespace kalora;

bool IsCouponTable(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower == "ecfcupom.db";
}

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
  const std::filesystem::path out = std::filesystem::absolute(store::PathFromUtf8(argv[1]));
  std::filesystem::create_directories(out);
  for (const auto& file : descriptions) {
    store::TableDescription description = store::ReadTableDescription(file);
    if (!coupons.empty() && IsCouponTable(description.table_file)) {
      for (const auto& coupon : tools::ReadCouponList(coupons)) {
        description.records.push_back(tools::CouponRecord(description.layout, coupon));
      }
    }
    const auto table = out / store::PathFromUtf8(description.table_file);
    store::WriteTable(table, description.layout, description.records);
    std::cout << store::PathToUtf8(table) << ": " << description.records.size() << " records\n";
  }
  std::ofstream aliases(out / store::kAliasFileName, std::ios::binary | std::ios::trunc);
  aliases << "# Folders of the store's aliases\nKalora=" << store::PathToUtf8(out)
          << "\nKaloraLocal=" << store::PathToUtf8(out) << "\n";
  if (!aliases.flush()) throw PlatformError("EInOutError", "cannot write " + store::PathText(out / store::kAliasFileName));
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
