// The coupon table as the daily finishing sees it: one lookup by the coupon's key.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/Dates.h"
#include "runtime/Text.h"

namespace kalora::gen {

// The customer recorded with a coupon, as the table holds it (untrimmed, unfiltered).
struct Customer {
  Text cpf;
  Text nome;
};

class CouponSource {
 public:
  virtual ~CouponSource() = default;
  // The coupon of that printer serial number, date and COO, or nothing when there is none.
  // A table failure raises a PlatformError.
  virtual std::optional<Customer> Find(const Text& serial, Date date, int32_t coo) = 0;
};

}  // namespace kalora::gen
