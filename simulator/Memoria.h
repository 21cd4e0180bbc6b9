// The simulated printer's memory: who the printer is, who uses it, and its coupons.
//
// Read from a text file (KALORA_SIM_MEMORIA) and, inside "Download.MFD", from the same lines
// behind a first line of their own. docs/simulator.md describes the format.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include "runtime/Dates.h"
#include "runtime/Text.h"
#include "simulator/Falhas.h"

namespace kalora::sim {

// A memory file or download that cannot be read: the message names the file and the line.
class MemoriaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A decimal number read from the file, kept as a whole number of units of its last digit.
struct Decimal {
  int64_t units = 0;
  int places = 0;
};

struct Item {
  Text codigo;
  Text descricao;
  Decimal quantidade;       // 0 to 3 places
  Text unidade;
  Decimal preco;            // 2 or 3 places
  int64_t desconto = 0;     // cents
  int64_t acrescimo = 0;    // cents
  Text totalizador;
  bool cancelado = false;

  // Unit price times quantity, truncated to cents, less the discount, plus the surcharge.
  int64_t Total() const;
};

// A discount or surcharge on the subtotal: an amount in cents ('V') or a percentage in
// hundredths of a per cent ('P').
struct Ajuste {
  char tipo = ' ';
  int64_t valor = 0;
};

struct Pagamento {
  Text meio;
  int64_t valor = 0;  // cents
};

struct Cupom {
  int32_t coo = 0;
  int32_t ccf = 0;
  Date data{};
  Text hora;  // hhmmss
  bool cancelado = false;
  std::vector<Item> itens;
  Ajuste desconto;
  Ajuste acrescimo;
  std::vector<Pagamento> pagamentos;
  int32_t crz = 0;           // Z-reduction counter of the coupon's day
  std::vector<Text> linhas;  // the coupon's lines as read, copied into a download

  int64_t Subtotal() const;  // the items not cancelled
  int64_t ValorDesconto() const;
  int64_t ValorAcrescimo() const;
  int64_t Total() const { return Subtotal() - ValorDesconto() + ValorAcrescimo(); }
};

struct Memoria {
  Text serie;
  Text letra = " ";
  Text tipo = "ECF-IF";
  Text marca = "SIMULADO";
  Text modelo;
  Text versao_sb;
  Date data_sb{};
  Text hora_sb = "000000";
  int32_t numero_ecf = 1;
  Text cnpj;  // 14 digits
  Text ie;
  int32_t usuario = 1;
  Date data_usuario{};
  Text hora_usuario = "000000";
  int32_t cro = 1;
  int64_t gt = 0;
  int32_t crz = 1;  // Z-reduction counter of the first day in the memory
  Text versao_biblioteca = "01.00.00";
  Falhas falhas;
  std::vector<Cupom> cupons;      // in COO order
  std::vector<Text> cabecalho;    // the header lines as read, copied into a download
};

// Reads a memory file's text; origem names the file in messages. A bad line raises a
// MemoriaError "origem, line N: what is wrong".
Memoria ParseMemoria(std::string_view text, const Text& origem);

// The memory of a file on disk, as above; a file that cannot be read raises a MemoriaError.
Memoria ReadMemoria(const Text& path);

}  // namespace kalora::sim
