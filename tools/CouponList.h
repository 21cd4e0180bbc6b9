#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/Dates.h"
#include "store/TableDescription.h"

namespace kalora::tools {

// One line of a coupon list: serial;dd/mm/yyyy;COO;ClienteCPF;ClienteNome (UTF-8).
struct CouponLine {
  std::string serial;
  Date date;
  std::int32_t coo = 0;
  std::string cpf;
  std::string nome;
};

// Lines starting with "#" and empty lines are skipped. Throws PlatformError naming the line.
std::vector<CouponLine> ReadCouponList(const std::filesystem::path& file);

// A full coupon record for the layout's fields, found by name; fields the list does not give
// get plausible values (CCF, SubTotal ...) or NULL.
std::vector<store::Value> CouponRecord(const store::TableLayout& layout, const CouponLine& coupon);

}  // namespace kalora::tools
