#include "simulator/Memoria.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>

#include "runtime/TextLines.h"

namespace kalora::sim {
namespace {

constexpr int kMaxDigits = 15;  // keeps every amount well inside 64 bits

std::string_view Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (true) {
    size_t semicolon = line.find(';');
    fields.push_back(Trim(line.substr(0, semicolon)));
    if (semicolon == std::string_view::npos) return fields;
    line = line.substr(semicolon + 1);
  }
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool ValidCnpj(std::string_view cnpj) {
  if (cnpj.size() != 14 || !AllDigits(cnpj)) return false;
  auto digit = [&](size_t count) {
    static constexpr int kWeights[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    for (size_t i = 0; i < count; ++i) sum += (cnpj[i] - '0') * kWeights[13 - count + i];
    int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
  };
  return digit(12) == cnpj[12] - '0' && digit(13) == cnpj[13] - '0';
}

// Reads the lines of one file and reports where it went wrong.
class Parser {
 public:
  explicit Parser(const Text& origem) : origem_(origem) {}

  Memoria Parse(std::string_view text) {
    std::vector<Text> lines = SplitList(text);
    for (size_t i = 0; i < lines.size(); ++i) {
      line_number_ = i + 1;
      std::string_view line = Trim(lines[i]);
      if (line.empty() || line.front() == '#') continue;
      ParseLine(line);
    }
    line_number_ = 0;
    FinishCupom();
    CheckHeader();
    return std::move(memoria_);
  }

 private:
  [[noreturn]] void Fail(const Text& what) const {
    Text where = line_number_ > 0 ? ", line " + std::to_string(line_number_) : Text();
    throw MemoriaError(origem_ + where + ": " + what);
  }

  void ParseLine(std::string_view line) {
    // A control character would end or split a line of the mirror the tool reads back.
    for (char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') Fail("control character in the line");
    }
    size_t equals = line.find('=');
    size_t semicolon = line.find(';');
    if (equals != std::string_view::npos && equals < semicolon) {
      if (!memoria_.cupons.empty()) Fail("header line after the first coupon");
      ParseHeader(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
      memoria_.cabecalho.emplace_back(line);
      return;
    }
    std::vector<std::string_view> fields = SplitFields(line);
    std::string_view kind = fields.front();
    if (kind == "cupom") {
      FinishCupom();
      ParseCupom(fields);
    } else if (kind == "item" || kind == "desconto" || kind == "acrescimo" ||
               kind == "pagamento") {
      if (memoria_.cupons.empty()) Fail("'" + Text(kind) + "' before the first coupon");
      Cupom& cupom = memoria_.cupons.back();
      if (kind == "item") cupom.itens.push_back(ParseItem(fields));
      if (kind == "desconto") cupom.desconto = ParseAjuste(fields, cupom.desconto);
      if (kind == "acrescimo") cupom.acrescimo = ParseAjuste(fields, cupom.acrescimo);
      if (kind == "pagamento") cupom.pagamentos.push_back(ParsePagamento(fields));
    } else {
      Fail("unknown line kind '" + Text(kind) + "'");
    }
    memoria_.cupons.back().linhas.emplace_back(line);
  }

  void ParseHeader(std::string_view key, std::string_view value) {
    Text text(value);
    using Setter = std::function<void()>;
    const std::map<std::string_view, Setter> setters = {
        {"serie", [&] { memoria_.serie = Width(text, 20, "serie"); }},
        {"letra", [&] { memoria_.letra = text.empty() ? " " : Width(text, 1, "letra"); }},
        {"tipo", [&] { memoria_.tipo = Width(text, 7, "tipo"); }},
        {"marca", [&] { memoria_.marca = Width(text, 20, "marca"); }},
        {"modelo", [&] { memoria_.modelo = Width(text, 20, "modelo"); }},
        {"versao_sb", [&] { memoria_.versao_sb = Width(text, 10, "versao_sb"); }},
        {"instalacao_sb", [&] { DateTime(value, memoria_.data_sb, memoria_.hora_sb); }},
        {"numero_ecf", [&] { memoria_.numero_ecf = Counter(value, 999, "numero_ecf"); }},
        {"cnpj", [&] { memoria_.cnpj = Cnpj(value); }},
        {"ie", [&] { memoria_.ie = Digits(value, 14, "ie"); }},
        {"usuario", [&] { memoria_.usuario = Counter(value, 99, "usuario"); }},
        {"registro_usuario",
         [&] { DateTime(value, memoria_.data_usuario, memoria_.hora_usuario); }},
        {"cro", [&] { memoria_.cro = Counter(value, 999999, "cro"); }},
        {"gt", [&] { memoria_.gt = Cents(value, "gt"); }},
        {"crz", [&] { memoria_.crz = Counter(value, 999999, "crz"); }},
        {"versao_biblioteca",
         [&] { memoria_.versao_biblioteca = Width(text, 8, "versao_biblioteca"); }},
        {"falha", [&] { memoria_.falhas |= Switches(value); }},
        {"faixa", [] {}},  // the range a download was made for; for people reading it
    };
    auto setter = setters.find(key);
    if (setter == setters.end()) Fail("unknown header key '" + Text(key) + "'");
    setter->second();
  }

  void ParseCupom(const std::vector<std::string_view>& fields) {
    if (fields.size() != 5 && fields.size() != 6) {
      Fail("a coupon is cupom;COO;CCF;dd/mm/yyyy;hh:mm:ss[;cancelado]");
    }
    Cupom cupom;
    cupom.coo = Counter(fields[1], 999999, "COO");
    cupom.ccf = Counter(fields[2], 999999, "CCF");
    auto data = TryParseDate(fields[3]);
    if (!data) Fail("'" + Text(fields[3]) + "' is not a date dd/mm/yyyy");
    cupom.data = *data;
    cupom.hora = Time(fields[4]);
    if (fields.size() == 6) {
      if (fields[5] != "cancelado") Fail("the sixth field of a coupon can only be 'cancelado'");
      cupom.cancelado = true;
    }
    if (!memoria_.cupons.empty()) {
      const Cupom& last = memoria_.cupons.back();
      if (cupom.coo <= last.coo) Fail("COO " + std::to_string(cupom.coo) + " does not follow " + std::to_string(last.coo));
      if (cupom.ccf <= last.ccf) Fail("CCF " + std::to_string(cupom.ccf) + " does not follow " + std::to_string(last.ccf));
      if (cupom.data < last.data) Fail("the coupon's date comes before the previous coupon's");
      cupom.crz = last.crz + (cupom.data != last.data ? 1 : 0);
    } else {
      cupom.crz = memoria_.crz;
    }
    memoria_.cupons.push_back(std::move(cupom));
  }

  Item ParseItem(const std::vector<std::string_view>& fields) {
    if (fields.size() != 9 && fields.size() != 10) {
      Fail("an item is item;code;description;quantity;unit;price;discount;surcharge;"
           "totalizer[;cancelado]");
    }
    Item item;
    item.codigo = Width(Text(fields[1]), 14, "item code");
    item.descricao = Width(Text(fields[2]), 100, "item description");
    item.quantidade = ReadDecimal(fields[3], 3, "quantity");
    if (item.quantidade.units == 0) Fail("the quantity of an item cannot be zero");
    if (item.quantidade.units > 9999999) Fail("the quantity does not fit 7 digits");
    item.unidade = Width(Text(fields[4]), 3, "unit");
    item.preco = ReadDecimal(fields[5], 3, "price");
    if (item.preco.places < 2) Fail("a price has 2 or 3 decimal places ('" + Text(fields[5]) + "')");
    if (item.preco.units > 99999999) Fail("the price does not fit 8 digits");
    item.desconto = Cents(fields[6], "item discount");
    item.acrescimo = Cents(fields[7], "item surcharge");
    item.totalizador = Width(Text(fields[8]), 7, "totalizer");
    if (item.totalizador.empty()) Fail("an item needs its totalizer (T1800, F1, I1, N1 ...)");
    if (fields.size() == 10) {
      if (fields[9] != "cancelado") Fail("the tenth field of an item can only be 'cancelado'");
      item.cancelado = true;
    }
    if (item.Total() < 0) Fail("the item's discount is above its price times its quantity");
    if (item.Total() > 99999999999999) Fail("the item's total does not fit its record");
    return item;
  }

  Ajuste ParseAjuste(const std::vector<std::string_view>& fields, const Ajuste& before) {
    if (fields.size() != 3 || (fields[1] != "V" && fields[1] != "P")) {
      Fail("a discount or surcharge is " + Text(fields[0]) + ";V|P;value");
    }
    if (before.tipo != ' ') Fail("a coupon has one " + Text(fields[0]) + " at most");
    Ajuste ajuste{fields[1][0], Cents(fields[2], Text(fields[0]))};
    if (ajuste.tipo == 'P' && ajuste.valor > 10000) Fail("a percentage above 100.00");
    return ajuste;
  }

  Pagamento ParsePagamento(const std::vector<std::string_view>& fields) {
    if (fields.size() != 3) Fail("a payment is pagamento;means;value");
    Text meio = Width(Text(fields[1]), 15, "means of payment");
    if (meio.empty()) Fail("a payment needs its means");
    return Pagamento{meio, Cents(fields[2], "payment")};
  }

  void FinishCupom() {
    if (memoria_.cupons.empty() || finished_ == memoria_.cupons.size()) return;
    finished_ = memoria_.cupons.size();
    const Cupom& cupom = memoria_.cupons.back();
    Text name = "coupon COO " + std::to_string(cupom.coo) + ": ";
    if (cupom.Subtotal() <= 0) Fail(name + "no item that is not cancelled, or a zero subtotal");
    if (cupom.desconto.tipo == 'V' && cupom.desconto.valor > cupom.Subtotal()) {
      Fail(name + "the discount is above the subtotal");
    }
    if (cupom.Total() <= 0) Fail(name + "the net total is not above zero");
    if (cupom.Total() > 99999999999999) Fail(name + "the net total does not fit its record");
    int64_t paid = 0;
    for (const Pagamento& pagamento : cupom.pagamentos) paid += pagamento.valor;
    if (paid < cupom.Total()) Fail(name + "the payments fall short of the net total");
  }

  void CheckHeader() const {
    if (Trim(memoria_.serie).empty()) Fail("the header needs 'serie'");
    if (memoria_.modelo.empty()) Fail("the header needs 'modelo'");
    if (memoria_.cnpj.empty()) Fail("the header needs 'cnpj'");
    if (memoria_.ie.empty()) Fail("the header needs 'ie'");
  }

  Text Width(const Text& text, size_t width, const char* what) const {
    if (text.size() > width) {
      Fail(Text(what) + " '" + text + "' is longer than " + std::to_string(width) + " characters");
    }
    return text;
  }

  Text Digits(std::string_view text, size_t width, const char* what) const {
    if (!AllDigits(text) || text.size() > width) {
      Fail(Text(what) + " '" + Text(text) + "' must be up to " + std::to_string(width) + " digits");
    }
    return Text(text);
  }

  Text Cnpj(std::string_view text) const {
    Text digits = Digits(text, 14, "cnpj");
    if (!ValidCnpj(digits)) Fail("cnpj '" + digits + "' has wrong check digits (14 digits)");
    return digits;
  }

  int32_t Counter(std::string_view text, int32_t max, const Text& what) const {
    if (!AllDigits(text) || text.size() > 9 || std::stol(Text(text)) > max ||
        std::stol(Text(text)) == 0) {
      Fail(what + " '" + Text(text) + "' must be a number from 1 to " + std::to_string(max));
    }
    return static_cast<int32_t>(std::stol(Text(text)));
  }

  Decimal ReadDecimal(std::string_view text, int max_places, const Text& what) const {
    size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    bool fraction_ok = point == std::string_view::npos || AllDigits(fraction);
    if (!AllDigits(whole) || !fraction_ok || fraction.size() > static_cast<size_t>(max_places) ||
        whole.size() + fraction.size() > kMaxDigits) {
      Fail(what + " '" + Text(text) + "' must be digits with up to " +
           std::to_string(max_places) + " decimal places after a '.'");
    }
    return Decimal{std::stoll(Text(whole) + Text(fraction)), static_cast<int>(fraction.size())};
  }

  int64_t Cents(std::string_view text, const Text& what) const {
    Decimal value = ReadDecimal(text, 2, what);
    return value.units * (value.places == 0 ? 100 : value.places == 1 ? 10 : 1);
  }

  Text Time(std::string_view text) const {
    bool ok = text.size() == 8 && text[2] == ':' && text[5] == ':' &&
              AllDigits(text.substr(0, 2)) && AllDigits(text.substr(3, 2)) &&
              AllDigits(text.substr(6, 2)) && text.substr(0, 2) < "24" &&
              text.substr(3, 2) < "60" && text.substr(6, 2) < "60";
    if (!ok) {
      Text message = "'";  // built in steps: gcc 12 warns falsely about a chain of + here
      message += text;
      message += "' is not a time hh:mm:ss";
      Fail(message);
    }
    return Text(text.substr(0, 2)) + Text(text.substr(3, 2)) + Text(text.substr(6, 2));
  }

  void DateTime(std::string_view text, Date& date, Text& time) const {
    size_t blank = text.find(' ');
    auto parsed = TryParseDate(text.substr(0, blank));
    if (!parsed || blank == std::string_view::npos) {
      Fail("'" + Text(text) + "' is not 'dd/mm/yyyy hh:mm:ss'");
    }
    date = *parsed;
    time = Time(Trim(text.substr(blank)));
  }

  Falhas Switches(std::string_view text) const {
    try {
      return ParseFalhas(text);
    } catch (const std::invalid_argument& error) {
      Fail(error.what());
    }
  }

  Text origem_;
  size_t line_number_ = 0;
  size_t finished_ = 0;
  Memoria memoria_;
};

int64_t PowerOfTen(int places) {
  int64_t power = 1;
  for (int i = 0; i < places; ++i) power *= 10;
  return power;
}

}  // namespace

int64_t Item::Total() const {
  // The product has quantity places + price places decimals; cents keep two of them.
  int64_t product = quantidade.units * preco.units;
  int64_t cents = product / PowerOfTen(quantidade.places + preco.places - 2);
  return cents - desconto + acrescimo;
}

int64_t Cupom::Subtotal() const {
  int64_t sum = 0;
  for (const Item& item : itens) {
    if (!item.cancelado) sum += item.Total();
  }
  return sum;
}

int64_t Cupom::ValorDesconto() const {
  return desconto.tipo == 'P' ? Subtotal() * desconto.valor / 10000 : desconto.valor;
}

int64_t Cupom::ValorAcrescimo() const {
  return acrescimo.tipo == 'P' ? Subtotal() * acrescimo.valor / 10000 : acrescimo.valor;
}

Memoria ParseMemoria(std::string_view text, const Text& origem) {
  return Parser(origem).Parse(text);
}

Memoria ReadMemoria(const Text& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw MemoriaError(path + ": cannot open the file");
  std::ostringstream bytes;
  bytes << file.rdbuf();
  if (file.bad()) throw MemoriaError(path + ": cannot read the file");
  return ParseMemoria(bytes.str(), path);
}

}  // namespace kalora::sim
