// The printer maker's functions as the generation run calls them.
//
// The program's own implementation calls the load-time bound download function and the MFD
// library binding; tests put a scripted printer in its place. Texts are Windows-1252; an
// empty text reaches the library as a null pointer.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/Text.h"

namespace kalora::gen {

class FiscalPrinter {
 public:
  using RecordsArguments = std::array<Text, 21>;

  virtual ~FiscalPrinter() = default;
  // Downloads the detail memory into a file; 1 on success.
  virtual int32_t DownloadMFD(const Text& arquivo, const Text& tipo, const Text& inicial,
                              const Text& final, const Text& quinto) = 0;
  // Writes the text mirror of a COO range.
  virtual int32_t GeraTxtPorCOO(const Text& arquivo_mfd, const Text& arquivo_txt, int32_t p3,
                                int32_t p4, int32_t p5) = 0;
  // Writes the type-E records of a date range.
  virtual int32_t GeraRegistrosTipoE(const RecordsArguments& arguments) = 0;
  // The model chosen in the window belongs to the second family.
  virtual bool UsarMFD2() const = 0;
  virtual void SetUsarMFD2(bool usar) = 0;
};

}  // namespace kalora::gen
