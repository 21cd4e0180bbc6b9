// The work files the simulated printer writes: "Download.MFD", the mirror and the type-E
// records. Pure functions of the memory; the exported functions write them to disk.
#pragma once

#include <stdexcept>
#include <vector>

#include "simulator/Memoria.h"

namespace kalora::sim {

inline constexpr char kMarcaDownload[] = "KALORA-MFD 1";

// A call whose arguments the printer cannot serve: the message says which and why.
class PedidoInvalido : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text of "Download.MFD" for tipo "2" (inicial and final are COO numbers) or "1" (dates
// ddmmyyyy): the marker line, the range, the memory's header and the lines of the coupons in
// the range. A range without coupons gives a download without coupons.
Text DownloadMFD(const Memoria& memoria, const char* tipo, const char* inicial,
                 const char* final_);

// Reads a download back; a file that is not one raises a MemoriaError.
Memoria ReadDownload(const Text& path);

// The first and second model families lay out the mirror's end differently.
enum class Familia { kPrimeira, kSegunda };

// The mirror of the coupons with COO from first to last, empty lines included. Once the
// empty lines are gone, line 7 (from 0) starts with the first coupon's date, and the last
// coupon's date stands at 29-38 of the last line but two (first family) or at 20-29 of the
// last line but one (second family).
std::vector<Text> Espelho(const Memoria& memoria, Familia familia, int32_t first, int32_t last);

// "ddmmyyyy" or "dd/mm/yyyy"; anything else raises a PedidoInvalido naming what.
Date DataDoPedido(const char* text, const char* what);

// The type-E records of the coupons from first to last date: E01, E02, every E14, every
// E15, every E21. Each record is of its exact length, without its line end.
std::vector<Text> RegistrosTipoE(const Memoria& memoria, Date first, Date last,
                                 const Text& razao, const Text& endereco);

// Writes text to path through a temporary file, so a failure leaves no partial file under
// the final name; raises std::runtime_error naming the file.
void GravaArquivo(const Text& path, const Text& text);
// The lines, each followed by CR LF.
void GravaLinhas(const Text& path, const std::vector<Text>& lines);

}  // namespace kalora::sim
