// A printer that answers nothing and writes nothing: for the window shown without a printer
// (the screenshot program, the window's tests), which needs one only for the model family.
#pragma once

#include "generation/FiscalPrinter.h"

namespace kalora::tools {

class QuietPrinter : public gen::FiscalPrinter {
 public:
  int32_t DownloadMFD(const Text&, const Text&, const Text&, const Text&, const Text&) override {
    return 0;
  }
  int32_t GeraTxtPorCOO(const Text&, const Text&, int32_t, int32_t, int32_t) override { return 0; }
  int32_t GeraRegistrosTipoE(const RecordsArguments&) override { return 0; }
  bool UsarMFD2() const override { return usar_mfd2_; }
  void SetUsarMFD2(bool usar) override { usar_mfd2_ = usar; }

 private:
  bool usar_mfd2_ = false;
};

}  // namespace kalora::tools
