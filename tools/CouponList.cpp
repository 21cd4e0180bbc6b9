#include "tools/CouponList.h"

#include <charconv>
#include <fstream>

#include "runtime/Errors.h"
#include "store/StorePaths.h"

namespace kalora::tools {

std::vector<CouponLine> ReadCouponList(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw PlatformError("EInOutError", store::PathText(file) + ": cannot open the coupon list");
  std::vector<CouponLine> coupons;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    const auto fail = [&](const std::string& what) {
      throw PlatformError("EConvertError", store::PathText(file) + ", line " + std::to_string(number) + ": " + what);
    };
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
      const auto semicolon = line.find(';', start);
      if (semicolon == std::string::npos) fail("expected serial;dd/mm/yyyy;COO;ClienteCPF;ClienteNome");
      parts.push_back(line.substr(start, semicolon - start));
      start = semicolon + 1;
    }
    parts.push_back(line.substr(start));  // the name may hold ";"
    CouponLine coupon;
    coupon.serial = parts[0];
    const auto date = TryParseDate(parts[1]);
    if (!date) fail("'" + parts[1] + "' is not a date dd/mm/yyyy");
    coupon.date = *date;
    const auto result = std::from_chars(parts[2].data(), parts[2].data() + parts[2].size(), coupon.coo);
    if (result.ec != std::errc() || result.ptr != parts[2].data() + parts[2].size() || parts[2].empty()) {
      fail("'" + parts[2] + "' is not a COO");
    }
    coupon.cpf = parts[3];
    coupon.nome = parts[4];
    coupons.push_back(std::move(coupon));
  }
  return coupons;
}

std::vector<store::Value> CouponRecord(const store::TableLayout& layout, const CouponLine& coupon) {
  std::vector<store::Value> record;
  for (const auto& field : layout.fields) {
    std::string text;
    if (field.name == "NFab") text = coupon.serial;
    else if (field.name == "COO") text = std::to_string(coupon.coo);
    else if (field.name == "CCF") text = std::to_string(coupon.coo - 1000);
    else if (field.name == "SubTotal") text = std::to_string(1 + coupon.coo * 37 % 5000 / 100) + ".90";
    else if (field.name == "Desconto" || field.name == "Acrescimo" || field.name == "CanceladoAcresc") text = "0";
    else if (field.name == "Cancelado") text = "N";
    else if (field.name == "ClienteCPF") text = coupon.cpf;
    else if (field.name == "ClienteNome") text = coupon.nome;
    else if (field.name == "LetraMF") text = "A";
    else if (field.name == "UsuarioECF") text = "1";
    else if (field.name == "Situacao") text = "F";
    if (field.name == "DtEmissao") {
      record.emplace_back(coupon.date);
      continue;
    }
    std::string error;
    auto value = store::ParseFieldValue(field, text, layout.code_page, error);
    if (!value) {
      throw PlatformError("EConvertError", "COO " + std::to_string(coupon.coo) + ", field " + field.name + ": " + error);
    }
    record.push_back(std::move(*value));
  }
  return record;
}

}  // namespace kalora::tools
