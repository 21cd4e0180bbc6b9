#include "simulator/Trabalho.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/Numbers.h"

namespace kalora::sim {
namespace {

constexpr size_t kLarguraEspelho = 48;
constexpr char kCrLf[] = "\r\n";

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

const char* Shown(const char* text) { return text == nullptr ? "NULL" : text; }

int32_t CooDoPedido(const char* text, const char* what) {
  std::string_view digits = TrimBlanks(text == nullptr ? "" : text);
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string_view::npos) {
    throw PedidoInvalido(Text(what) + " '" + Shown(text) + "' is not a COO number");
  }
  return static_cast<int32_t>(std::stol(Text(digits)));
}

// N field: digits, right-aligned, zero-filled. A value that does not fit is a fault of ours.
Text N(int64_t value, size_t width) {
  Text digits = std::to_string(value < 0 ? 0 : value);
  if (value < 0 || digits.size() > width) {
    throw std::logic_error("value " + std::to_string(value) + " does not fit " +
                           std::to_string(width) + " digits");
  }
  return Text(width - digits.size(), '0') + digits;
}

// X field: left-aligned, blank-padded, cut to its width.
Text X(std::string_view text, size_t width) {
  Text field(text.substr(0, width));
  field.resize(width, ' ');
  return field;
}

Text D(Date date) { return FormatYyyymmdd(date); }

Text Money(int64_t cents) {
  Text whole = std::to_string(cents / 100);
  Text fraction = std::to_string(cents % 100);
  return whole + "," + (fraction.size() < 2 ? "0" : "") + fraction;
}

Text Quantity(const Decimal& value) {
  Text digits = std::to_string(value.units);
  if (value.places == 0) return digits;
  size_t places = static_cast<size_t>(value.places);
  if (digits.size() <= places) digits = Text(places - digits.size() + 1, '0') + digits;
  return digits.substr(0, digits.size() - places) + "," + digits.substr(digits.size() - places);
}

// text at the left, value right-aligned to the mirror's width.
Text Columns(const Text& left, const Text& right) {
  size_t used = left.size() + right.size();
  return left + Text(used < kLarguraEspelho ? kLarguraEspelho - used : 1, ' ') + right;
}

// What every record from E02 on begins with.
Text Comum(const char* type, const Memoria& memoria) {
  return type + X(memoria.serie, 20) + X(memoria.letra, 1) + X(memoria.modelo, 20);
}

Text CnpjFormatado(const Text& cnpj) {
  return cnpj.substr(0, 2) + "." + cnpj.substr(2, 3) + "." + cnpj.substr(5, 3) + "/" +
         cnpj.substr(8, 4) + "-" + cnpj.substr(12, 2);
}

template <typename Keep>
std::vector<const Cupom*> Cupons(const Memoria& memoria, Keep keep) {
  std::vector<const Cupom*> cupons;
  for (const Cupom& cupom : memoria.cupons) {
    if (keep(cupom)) cupons.push_back(&cupom);
  }
  return cupons;
}

void CheckRecord(const Text& record, size_t length) {
  if (record.size() != length) {
    throw std::logic_error(record.substr(0, 3) + " record of " + std::to_string(record.size()) +
                           " characters instead of " + std::to_string(length));
  }
}

Text E01(const Memoria& memoria, const std::vector<const Cupom*>& cupons, Date first,
         Date last) {
  int32_t crz_first = cupons.empty() ? 0 : cupons.front()->crz;
  int32_t crz_last = cupons.empty() ? 0 : cupons.back()->crz;
  Text record = "E01" + X(memoria.serie, 20) + X(memoria.letra, 1) + X(memoria.tipo, 7) +
                X(memoria.marca, 20) + X(memoria.modelo, 20) + X(memoria.versao_sb, 10) +
                D(memoria.data_sb) + memoria.hora_sb + N(memoria.numero_ecf, 3) +
                N(std::stoll(memoria.cnpj), 14) + "TDM" + N(crz_first, 6) + N(crz_last, 6) +
                D(first) + D(last) + X(memoria.versao_biblioteca, 8) + X("01.00.00", 15);
  CheckRecord(record, 166);
  return record;
}

Text E02(const Memoria& memoria, const Text& razao, const Text& endereco) {
  Text record = Comum("E02", memoria) + N(std::stoll(memoria.cnpj), 14) + X(memoria.ie, 14) +
                X(razao, 40) + X(endereco, 120) + D(memoria.data_usuario) +
                memoria.hora_usuario + N(memoria.cro, 6) + N(memoria.gt, 18) +
                N(memoria.usuario, 2);
  CheckRecord(record, 272);
  return record;
}

Text Kind(const Ajuste& ajuste) { return Text(1, ajuste.tipo); }

Text E14(const Memoria& memoria, const Cupom& cupom) {
  // Discount before surcharge when the coupon has both; blank otherwise.
  bool both = cupom.desconto.tipo != ' ' && cupom.acrescimo.tipo != ' ';
  Text record = Comum("E14", memoria) + N(memoria.usuario, 2) + N(cupom.ccf, 6) +
                N(cupom.coo, 6) + D(cupom.data) + N(cupom.Subtotal(), 14) +
                N(cupom.desconto.valor, 13) + Kind(cupom.desconto) +
                N(cupom.acrescimo.valor, 13) + Kind(cupom.acrescimo) + N(cupom.Total(), 14) +
                (cupom.cancelado ? "S" : "N") + N(0, 13) + (both ? "D" : " ") + X("", 40) +
                N(0, 14);
  CheckRecord(record, 191);
  return record;
}

Text E15(const Memoria& memoria, const Cupom& cupom, size_t number, const Item& item) {
  int64_t total = item.Total();
  Text record = Comum("E15", memoria) + N(memoria.usuario, 2) + N(cupom.coo, 6) +
                N(cupom.ccf, 6) + N(static_cast<int64_t>(number), 3) + X(item.codigo, 14) +
                X(item.descricao, 100) + N(item.quantidade.units, 7) + X(item.unidade, 3) +
                N(item.preco.units, 8) + N(item.desconto, 8) + N(item.acrescimo, 8) +
                N(total, 14) + X(item.totalizador, 7) + (item.cancelado ? "S" : "N") +
                N(item.cancelado ? item.quantidade.units : 0, 7) +
                N(item.cancelado ? total : 0, 13) + N(0, 13) + "T" +
                N(item.quantidade.places, 1) + N(item.preco.places, 1);
  CheckRecord(record, 267);
  return record;
}

Text E21(const Memoria& memoria, const Cupom& cupom, const Pagamento& pagamento) {
  // A cancelled coupon's payments were given back whole.
  Text record = Comum("E21", memoria) + N(memoria.usuario, 2) + N(cupom.coo, 6) +
                N(cupom.ccf, 6) + N(0, 6) + X(pagamento.meio, 15) + N(pagamento.valor, 13) +
                (cupom.cancelado ? "S" : "N") + N(cupom.cancelado ? pagamento.valor : 0, 13);
  CheckRecord(record, 106);
  return record;
}

void EspelhoCupom(const Cupom& cupom, std::vector<Text>& lines) {
  char coo[16];
  std::snprintf(coo, sizeof coo, "COO:%06d", static_cast<int>(cupom.coo));
  char ccf[16];
  std::snprintf(ccf, sizeof ccf, "CCF:%06d", static_cast<int>(cupom.ccf));
  Text hora = cupom.hora.substr(0, 2) + ":" + cupom.hora.substr(2, 2) + ":" + cupom.hora.substr(4, 2);
  lines.push_back(Columns(FormatDate(cupom.data) + " " + hora, Text(ccf) + " " + coo));
  lines.push_back("CUPOM FISCAL");
  for (size_t i = 0; i < cupom.itens.size(); ++i) {
    const Item& item = cupom.itens[i];
    char number[8];
    std::snprintf(number, sizeof number, "%03d", static_cast<int>(i + 1));
    lines.push_back(Text(number) + " " + item.codigo + " " + item.descricao);
    lines.push_back(Columns("    " + Quantity(item.quantidade) + " " + item.unidade + " X " +
                                Quantity(item.preco) + " " + item.totalizador,
                            Money(item.Total())));
    if (item.cancelado) lines.push_back(Columns("    ITEM CANCELADO", "-" + Money(item.Total())));
  }
  lines.push_back(Columns("SUBTOTAL R$", Money(cupom.Subtotal())));
  if (cupom.desconto.tipo != ' ') lines.push_back(Columns("DESCONTO R$", "-" + Money(cupom.ValorDesconto())));
  if (cupom.acrescimo.tipo != ' ') lines.push_back(Columns("ACRESCIMO R$", "+" + Money(cupom.ValorAcrescimo())));
  lines.push_back(Columns("TOTAL R$", Money(cupom.Total())));
  for (const Pagamento& pagamento : cupom.pagamentos) {
    lines.push_back(Columns(pagamento.meio, Money(pagamento.valor)));
  }
  if (cupom.cancelado) lines.push_back("CUPOM FISCAL CANCELADO");
  lines.emplace_back();
}

Text Padded(const Text& text, size_t width) {
  Text padded = text;
  padded.resize(width, ' ');
  return padded;
}

}  // namespace

Text DownloadMFD(const Memoria& memoria, const char* tipo, const char* inicial,
                 const char* final_) {
  std::vector<const Cupom*> cupons;
  Text tipo_text = tipo == nullptr ? "" : tipo;
  Text range;
  if (tipo_text == "2") {
    int32_t first = CooDoPedido(inicial, "first COO");
    int32_t last = CooDoPedido(final_, "last COO");
    if (first > last) throw PedidoInvalido("the first COO comes after the last");
    cupons = Cupons(memoria, [&](const Cupom& c) { return c.coo >= first && c.coo <= last; });
    range = "2;" + std::to_string(first) + ";" + std::to_string(last);
  } else if (tipo_text == "1") {
    auto first = TryParseDdmmyyyy(inicial == nullptr ? "" : inicial);
    auto last = TryParseDdmmyyyy(final_ == nullptr ? "" : final_);
    if (!first) throw PedidoInvalido(Text("first date '") + Shown(inicial) + "' is not ddmmyyyy");
    if (!last) throw PedidoInvalido(Text("last date '") + Shown(final_) + "' is not ddmmyyyy");
    if (*first > *last) throw PedidoInvalido("the first date comes after the last");
    cupons = Cupons(memoria, [&](const Cupom& c) { return c.data >= *first && c.data <= *last; });
    range = "1;" + FormatDdmmyyyy(*first) + ";" + FormatDdmmyyyy(*last);
  } else {
    throw PedidoInvalido("download kind '" + Text(Shown(tipo)) + "' is neither \"1\" nor \"2\"");
  }

  Text text = Text(kMarcaDownload) + kCrLf + "faixa=" + range + kCrLf;
  for (const Text& line : memoria.cabecalho) {
    // The Z counter restarts at the first coupon served, so the download's days keep theirs.
    if (line.rfind("crz", 0) == 0 || line.rfind("faixa", 0) == 0) continue;
    text += line + kCrLf;
  }
  if (!cupons.empty()) text += "crz=" + std::to_string(cupons.front()->crz) + kCrLf;
  for (const Cupom* cupom : cupons) {
    for (const Text& line : cupom->linhas) text += line + kCrLf;
  }
  return text;
}

Memoria ReadDownload(const Text& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw MemoriaError(path + ": cannot open the download");
  std::ostringstream stream;
  stream << file.rdbuf();
  std::string bytes = stream.str();
  std::string_view marker(kMarcaDownload);
  if (bytes.compare(0, marker.size(), marker) != 0) {
    throw MemoriaError(path + ": not a download of this printer (no '" + Text(marker) + "' line)");
  }
  // Line 1 is the marker; keep it as a comment so line numbers in messages stay true.
  return ParseMemoria("#" + bytes, path);
}

std::vector<Text> Espelho(const Memoria& memoria, Familia familia, int32_t first, int32_t last) {
  std::vector<const Cupom*> cupons =
      Cupons(memoria, [&](const Cupom& c) { return c.coo >= first && c.coo <= last; });
  char faixa[64];
  std::snprintf(faixa, sizeof faixa, "COO INICIAL: %06d   COO FINAL: %06d", static_cast<int>(first),
                static_cast<int>(last));
  Text dashes(kLarguraEspelho, '-');
  std::vector<Text> lines = {
      memoria.marca + " " + memoria.modelo,
      "N. FAB.: " + memoria.serie,
      "CNPJ: " + CnpjFormatado(memoria.cnpj) + "  IE: " + memoria.ie,
      "",
      "ESPELHO DA MEMORIA DE FITA-DETALHE",
      faixa,
      "USUARIO: " + N(memoria.usuario, 2),
      "",
      dashes,
  };
  if (cupons.empty()) lines.push_back("NENHUM CUPOM NA FAIXA");
  for (const Cupom* cupom : cupons) EspelhoCupom(*cupom, lines);
  lines.push_back(dashes);
  lines.emplace_back();

  Text count = "CUPONS NA FAIXA: " + N(static_cast<int64_t>(cupons.size()), 6);
  Text last_date = cupons.empty() ? Text() : FormatDate(cupons.back()->data);
  if (familia == Familia::kPrimeira) {
    lines.push_back(Padded(count, 28) + last_date);  // date at 29-38
    lines.push_back(dashes);
  } else {
    lines.push_back(count);
    lines.push_back(Padded("DATA DO ULTIMO:", 19) + last_date);  // date at 20-29
  }
  lines.push_back("FIM DO ESPELHO");
  return lines;
}

Date DataDoPedido(const char* text, const char* what) {
  std::string_view value = text == nullptr ? "" : text;
  if (auto date = TryParseDdmmyyyy(value)) return *date;
  if (value.size() == 10) {
    if (auto date = TryParseDate(value)) return *date;
  }
  throw PedidoInvalido(Text(what) + " '" + Shown(text) + "' is neither ddmmyyyy nor dd/mm/yyyy");
}

std::vector<Text> RegistrosTipoE(const Memoria& memoria, Date first, Date last,
                                 const Text& razao, const Text& endereco) {
  std::vector<const Cupom*> cupons =
      Cupons(memoria, [&](const Cupom& c) { return c.data >= first && c.data <= last; });
  std::vector<Text> records = {E01(memoria, cupons, first, last), E02(memoria, razao, endereco)};
  for (const Cupom* cupom : cupons) records.push_back(E14(memoria, *cupom));
  for (const Cupom* cupom : cupons) {
    for (size_t i = 0; i < cupom->itens.size(); ++i) {
      records.push_back(E15(memoria, *cupom, i + 1, cupom->itens[i]));
    }
  }
  for (const Cupom* cupom : cupons) {
    for (const Pagamento& pagamento : cupom->pagamentos) {
      records.push_back(E21(memoria, *cupom, pagamento));
    }
  }
  return records;
}

void GravaArquivo(const Text& path, const Text& text) {
  Text temporary = path + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
      std::remove(temporary.c_str());
      throw std::runtime_error(path + ": cannot write the file");
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::remove(temporary.c_str());
    throw std::runtime_error(path + ": cannot put the file in place (" + error.message() + ")");
  }
}

void GravaLinhas(const Text& path, const std::vector<Text>& lines) {
  Text text;
  for (const Text& line : lines) text += line + kCrLf;
  GravaArquivo(path, text);
}

}  // namespace kalora::sim
