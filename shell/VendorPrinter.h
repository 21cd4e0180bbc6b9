// The printer as the generation run reaches it: the download function bound at load time and
// the MFD library binding DLLBemaMFD.
#pragma once

#include "generation/FiscalPrinter.h"

namespace kalora::shell {

class VendorPrinter : public gen::FiscalPrinter {
 public:
  int32_t DownloadMFD(const Text& arquivo, const Text& tipo, const Text& inicial,
                      const Text& final, const Text& quinto) override;
  int32_t GeraTxtPorCOO(const Text& arquivo_mfd, const Text& arquivo_txt, int32_t p3,
                        int32_t p4, int32_t p5) override;
  int32_t GeraRegistrosTipoE(const RecordsArguments& arguments) override;
  bool UsarMFD2() const override;
  void SetUsarMFD2(bool usar) override;
};

}  // namespace kalora::shell
