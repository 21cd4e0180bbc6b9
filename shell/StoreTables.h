#pragma once

#include <cstdint>
#include <optional>

#include "generation/CouponSource.h"
#include "runtime/Dates.h"
#include "runtime/Text.h"
#include "store/Table.h"

namespace kalora::shell {

// The three store tables of the main window, each declaring the fields the shop's tables carry.
class TParametro : public store::Table {
 public:
  TParametro();
};

class TEmp : public store::Table {
 public:
  TEmp();
};

class TECFCupom : public store::Table {
 public:
  TECFCupom();
};

struct Company {
  Text name;
  Text address;
};

// Opens both tables and finds the company named by the parameter "EMPRESA": its RazaoSocial
// and "Endereco, Numero" (", S/N" when Numero is null). A missing parameter or company is an
// error naming what is missing: taking whichever record is current would hand another
// company's name to the fiscal files.
Company CompanyLookup(TParametro& parametro, TEmp& emp);

// The coupon of (serial, date, COO) on the open coupon table, by its primary index.
std::optional<gen::Customer> CouponLookup(TECFCupom& cupom, const Text& serial, Date date, std::int32_t coo);

}  // namespace kalora::shell
