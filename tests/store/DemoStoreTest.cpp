// The demo store built from tools/demo: its company and every coupon of its list are found.
#include <gtest/gtest.h>

#include <map>

#include "runtime/Cp1252.h"
#include "shell/StoreTables.h"
#include "store/StorePaths.h"
#include "tests/store/StoreTestSupport.h"
#include "tools/CouponList.h"

namespace kalora::shell {
namespace {

const std::filesystem::path kDemo = std::filesystem::path(KALORA_FIXTURES) / ".." / ".." / "tools" / "demo";

TEST(DemoStore, HoldsTheCompanyAndEveryCouponOfTheList) {
  store::testing::TempFolder folder;
  const auto coupons = tools::ReadCouponList(kDemo / "coupons.txt");
  for (const char* name : {"Parametro.txt", "Emp.txt", "EcfCupom.txt"}) {
    store::TableDescription description = store::ReadTableDescription(kDemo / name);
    if (std::string(name) == "EcfCupom.txt") {
      for (const auto& coupon : coupons) description.records.push_back(tools::CouponRecord(description.layout, coupon));
    }
    store::WriteTable(folder.Path() / store::PathFromUtf8(description.table_file), description.layout, description.records);
  }

  TParametro parametro;
  TEmp emp;
  TECFCupom cupom;
  parametro.OpenIn(folder.Path());
  emp.OpenIn(folder.Path());
  cupom.OpenIn(folder.Path());
  const Company company = CompanyLookup(parametro, emp);
  EXPECT_EQ(company.name, "Kalora Comércio de Alimentos Ltda"_cp);
  EXPECT_EQ(company.address, "Avenida Paulista, 1578");

  // November 2026, every day, COOs rising from 001001; every coupon of the list is found.
  ASSERT_FALSE(coupons.empty());
  EXPECT_GE(coupons.front().coo, 1001);
  std::map<Date, int> per_day;
  for (std::size_t i = 0; i < coupons.size(); ++i) {
    const auto& coupon = coupons[i];
    SCOPED_TRACE(coupon.coo);
    if (i > 0) {
      EXPECT_GT(coupon.coo, coupons[i - 1].coo);
    }
    ++per_day[coupon.date];
    const auto found = CouponLookup(cupom, Utf8ToCp1252(coupon.serial), coupon.date, coupon.coo);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->cpf, Utf8ToCp1252(coupon.cpf));
    EXPECT_EQ(found->nome, Utf8ToCp1252(coupon.nome));
    EXPECT_FALSE(CouponLookup(cupom, Utf8ToCp1252(coupon.serial), coupon.date + std::chrono::days{1}, coupon.coo));
  }
  EXPECT_EQ(per_day.size(), 30u);
  EXPECT_EQ(per_day.begin()->first, ParseDate("01/11/2026"));
}

}  // namespace
}  // namespace kalora::shell
