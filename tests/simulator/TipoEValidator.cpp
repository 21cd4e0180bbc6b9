#include "TipoEValidator.h"

#include <chrono>
#include <map>
#include <optional>

namespace kalora::testing {
namespace {

using std::chrono::year_month_day;

std::string Field(const std::string& line, size_t first, size_t last) {
  return first > line.size() ? "" : line.substr(first - 1, last - first + 1);
}

bool Numeric(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool Blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

long long Number(const std::string& text) { return Numeric(text) ? std::stoll(text) : -1; }

std::optional<std::chrono::sys_days> DateOf(const std::string& yyyymmdd) {
  if (yyyymmdd.size() != 8 || !Numeric(yyyymmdd)) return std::nullopt;
  year_month_day date{std::chrono::year(std::stoi(yyyymmdd.substr(0, 4))),
                      std::chrono::month(static_cast<unsigned>(std::stoi(yyyymmdd.substr(4, 2)))),
                      std::chrono::day(static_cast<unsigned>(std::stoi(yyyymmdd.substr(6, 2))))};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days(date);
}

int CheckDigit(const std::string& digits, int first_weight, int wrap) {
  int sum = 0;
  int weight = first_weight;
  for (char c : digits) {
    sum += (c - '0') * weight;
    weight = weight == 2 ? wrap : weight - 1;
  }
  int rest = sum % 11;
  return rest < 2 ? 0 : 11 - rest;
}

bool ValidCpf(const std::string& cpf) {
  if (cpf.size() != 11 || !Numeric(cpf) || cpf == std::string(11, cpf[0])) return false;
  return CheckDigit(cpf.substr(0, 9), 10, 10) == cpf[9] - '0' &&
         CheckDigit(cpf.substr(0, 10), 11, 11) == cpf[10] - '0';
}

bool ValidCnpj(const std::string& cnpj) {
  if (cnpj.size() != 14 || !Numeric(cnpj) || cnpj == std::string(14, '0')) return false;
  return CheckDigit(cnpj.substr(0, 12), 5, 9) == cnpj[12] - '0' &&
         CheckDigit(cnpj.substr(0, 13), 6, 9) == cnpj[13] - '0';
}

long long PowerOfTen(int places) {
  long long power = 1;
  while (places-- > 0) power *= 10;
  return power;
}

class Validator {
 public:
  std::vector<std::string> Run(const std::vector<std::string>& records) {
    static const std::map<std::string, size_t> kLengths = {
        {"E01", 166}, {"E02", 272}, {"E12", 101}, {"E13", 72},
        {"E14", 191}, {"E15", 267}, {"E21", 106}};
    if (records.size() < 2 || Field(records[0], 1, 3) != "E01" ||
        Field(records[1], 1, 3) != "E02") {
      Problem(0, "E01 must be the first line and E02 the second");
      return problems_;
    }
    for (size_t i = 0; i < records.size(); ++i) {
      line_ = i + 1;
      const std::string& record = records[i];
      std::string type = Field(record, 1, 3);
      auto length = kLengths.find(type);
      if (length != kLengths.end() && record.size() != length->second) {
        Problem(line_, type + " of " + std::to_string(record.size()) + " characters instead of " +
                           std::to_string(length->second));
        continue;
      }
      if ((type == "E01" || type == "E02") && i > 1) Problem(line_, "a second " + type);
      if (type == "E01") E01(record);
      if (type == "E02") E02(record, records[0]);
      if (type == "E14") E14(record);
      if (type == "E15") E15(record);
    }
    return problems_;
  }

 private:
  void Problem(size_t line, const std::string& what) {
    problems_.push_back("line " + std::to_string(line) + ": " + what);
  }

  void Expect(bool ok, const std::string& what) {
    if (!ok) Problem(line_, what);
  }

  void E01(const std::string& r) {
    serial_ = Field(r, 4, 23);
    Expect(!Blank(serial_) && serial_ != std::string(20, '0'), "E01 serial blank or zeros");
    Expect(Field(r, 113, 115) == "TDM", "E01 command is not TDM");
    Expect(!Blank(Field(r, 152, 166)), "E01 layout version blank");
    first_ = DateOf(Field(r, 128, 135));
    last_ = DateOf(Field(r, 136, 143));
    Expect(first_ && last_, "E01 period dates not valid");
    if (first_ && last_) {
      year_month_day a(*first_), b(*last_);
      Expect(a.year() == b.year() && a.month() == b.month(), "E01 period not within one month");
      Expect(*first_ <= *last_, "E01 first date after the last");
    }
  }

  void E02(const std::string& r, const std::string& e01) {
    Expect(Field(r, 4, 23) == Field(e01, 4, 23), "E02 serial differs from E01's");
    Expect(Field(r, 25, 44) == Field(e01, 52, 71), "E02 model differs from E01's");
    Expect(Field(r, 45, 58) == Field(e01, 99, 112), "E02 CNPJ differs from E01's");
    Expect(ValidCnpj(Field(r, 45, 58)), "user CNPJ check digits");
    Expect(!Blank(Field(r, 73, 112)), "E02 company name blank");
    Expect(!Blank(Field(r, 113, 232)), "E02 address blank");
    std::string ie = Field(r, 59, 72);
    Expect(Numeric(ie.substr(0, ie.find_last_not_of(' ') + 1)), "E02 state registration not numeric");
  }

  void E14(const std::string& r) {
    Expect(!seen_e15_, "E14 after an E15");
    seen_e14_ = true;
    Expect(Field(r, 4, 23) == serial_, "E14 serial differs from E01's");
    Expect(Number(Field(r, 47, 52)) > 0, "E14 CCF not numeric or zero");
    Expect(Number(Field(r, 53, 58)) > 0, "E14 COO not numeric or zero");
    auto date = DateOf(Field(r, 59, 66));
    bool in_month = date && first_ && last_ &&
                    year_month_day(*date).month() == year_month_day(*first_).month() &&
                    year_month_day(*date).year() == year_month_day(*first_).year();
    bool day_after = date && last_ && *date == *last_ + std::chrono::days(1);
    Expect(in_month || day_after, "E14 date not valid or outside the period's month");
    long long subtotal = Number(Field(r, 67, 80));
    long long discount = Number(Field(r, 81, 93));
    long long surcharge = Number(Field(r, 95, 107));
    long long net = Number(Field(r, 109, 122));
    Expect(subtotal >= 0 && discount >= 0 && surcharge >= 0 && net >= 0 &&
               Number(Field(r, 124, 136)) >= 0,
           "E14 amounts not numeric");
    std::string discount_kind = Field(r, 94, 94), surcharge_kind = Field(r, 108, 108);
    for (const std::string& kind : {discount_kind, surcharge_kind}) {
      Expect(kind == "V" || kind == "P" || kind == " ", "E14 discount or surcharge kind");
    }
    Expect(discount_kind != "V" || discount <= subtotal, "E14 discount above the subtotal");
    Expect(discount_kind != "P" || discount <= 10000, "E14 discount above 100.00 %");
    Expect(net != 0, "E14 net total zero");
    std::string cancelled = Field(r, 123, 123);
    Expect(cancelled == "S" || cancelled == "N", "E14 cancelled flag");
    std::string order = Field(r, 137, 137);
    Expect(order == "D" || order == "A" || order == " ", "E14 order of discount and surcharge");
    std::string document = Field(r, 178, 191);
    Expect(Numeric(document), "E14 CPF/CNPJ not numeric");
    if (Numeric(document) && document != std::string(14, '0') && cancelled != "S") {
      Expect(ValidCpf(document.substr(3)) || ValidCnpj(document), "E14 CPF/CNPJ check digits");
    }
  }

  void E15(const std::string& r) {
    Expect(seen_e14_, "E15 before any E14");
    seen_e15_ = true;
    std::string coupon = Field(r, 47, 58);
    long long item = Number(Field(r, 59, 61));
    Expect(item == ++items_[coupon], "E15 items not numbered 1, 2, 3 ... within the coupon");
    if (Field(r, 231, 231) == "S") return;
    Expect(Number(Field(r, 47, 52)) > 0 && Number(Field(r, 53, 58)) > 0 && item > 0,
           "E15 COO, CCF or item not numeric or zero");
    long long quantity = Number(Field(r, 176, 182));
    long long price = Number(Field(r, 186, 193));
    int quantity_places = static_cast<int>(Number(Field(r, 266, 266)));
    int price_places = static_cast<int>(Number(Field(r, 267, 267)));
    Expect(quantity_places >= 0 && quantity_places <= 3, "E15 decimal places of the quantity");
    std::string rounding = Field(r, 265, 265);
    Expect(rounding == "A" || rounding == "T", "E15 rounding or truncation");
    if (quantity < 0 || price < 0 || quantity_places < 0 || price_places < 2) {
      Problem(line_, "E15 quantity or price not numeric");
      return;
    }
    long long divisor = PowerOfTen(quantity_places + price_places - 2);
    long long product = quantity * price;
    long long cents = rounding == "A" ? (product + divisor / 2) / divisor : product / divisor;
    long long net = cents - Number(Field(r, 194, 201)) + Number(Field(r, 202, 209));
    Expect(Number(Field(r, 210, 223)) == net, "E15 net total differs from price x quantity");
    Expect(Number(Field(r, 232, 238)) <= quantity, "E15 quantity cancelled above the quantity");
  }

  std::vector<std::string> problems_;
  size_t line_ = 0;
  std::string serial_;
  std::optional<std::chrono::sys_days> first_, last_;
  bool seen_e14_ = false;
  bool seen_e15_ = false;
  std::map<std::string, long long> items_;
};

}  // namespace

std::vector<std::string> ValidaTipoE(const std::vector<std::string>& records) {
  return Validator().Run(records);
}

std::vector<std::string> RecordsOf(const std::string& text) {
  std::vector<std::string> records;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      records.push_back(text.substr(start) + " <no CR LF>");
      break;
    }
    records.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return records;
}

}  // namespace kalora::testing
