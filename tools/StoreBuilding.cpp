#include "tools/StoreBuilding.h"

#include <fstream>

#include "runtime/Errors.h"
#include "store/Aliases.h"
#include "store/ParadoxWriter.h"
#include "store/StorePaths.h"
#include "tools/CouponList.h"

namespace kalora::tools {

namespace {

bool IsCouponTable(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower == "ecfcupom.db";
}

}  // namespace

void BuildStore(const std::filesystem::path& out,
                const std::vector<std::filesystem::path>& descriptions,
                const std::filesystem::path& coupons, std::ostream& log) {
  std::filesystem::create_directories(out);
  for (const auto& file : descriptions) {
    store::TableDescription description = store::ReadTableDescription(file);
    if (!coupons.empty() && IsCouponTable(description.table_file)) {
      for (const auto& coupon : ReadCouponList(coupons)) {
        description.records.push_back(CouponRecord(description.layout, coupon));
      }
    }
    const auto table = out / store::PathFromUtf8(description.table_file);
    store::WriteTable(table, description.layout, description.records);
    log << store::PathToUtf8(table) << ": " << description.records.size() << " records\n";
  }
  std::ofstream aliases(out / store::kAliasFileName, std::ios::binary | std::ios::trunc);
  aliases << "# Folders of the store's aliases\nKalora=" << store::PathToUtf8(out)
          << "\nKaloraLocal=" << store::PathToUtf8(out) << "\n";
  if (!aliases.flush()) {
    throw PlatformError("EInOutError", "cannot write " + store::PathText(out / store::kAliasFileName));
  }
}

}  // namespace kalora::tools
