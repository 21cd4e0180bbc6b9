// The finishing of a day's file: every coupon record ("E14") whose coupon is in the coupon
// table gets the customer's name and CPF/CNPJ; every other line is copied as it is.
#pragma once

#include <string_view>

#include "generation/CouponSource.h"
#include "runtime/Dates.h"
#include "runtime/Text.h"

namespace kalora::gen {

// C:\Varnex\PDV\NFP\NFP_DIA_yyyymmdd.txt
Text DayFilePath(Date day);

// DRRf, the digit filter, is in CustomerDocument.h.

// "01".."09" give "1".."9", "10".."31" give "A".."V"; anything else the empty text.
Text Nr2lt(std::string_view texto);

// Finishes the day dia ("dd/mm/yyyy"): reads its day file and writes
// C:\Varnex\PDV\NFP\Final\ + positions 4-11 of the first line + "." + the day's code.
// The finished file appears only once the whole day is written; a failure (a PlatformError)
// leaves no finished file and keeps an older one of that name as it was.
void AdicionaCPF(const Text& dia, CouponSource& coupons);

}  // namespace kalora::gen
