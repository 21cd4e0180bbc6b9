#include "shell/VendorPrinter.h"

#include "printer/Bemafi32.h"
#include "printer/UnitBemaMFD.h"

namespace kalora::shell {

namespace {
// An empty text reaches the printer maker's functions as a null pointer.
const char* OrNull(const Text& text) { return text.empty() ? nullptr : text.c_str(); }
}  // namespace

int32_t VendorPrinter::DownloadMFD(const Text& arquivo, const Text& tipo, const Text& inicial,
                                   const Text& final, const Text& quinto) {
  return Bematech_FI_DownloadMFD(OrNull(arquivo), OrNull(tipo), OrNull(inicial), OrNull(final),
                                 OrNull(quinto));
}

int32_t VendorPrinter::GeraTxtPorCOO(const Text& arquivo_mfd, const Text& arquivo_txt,
                                     int32_t p3, int32_t p4, int32_t p5) {
  return printer::DLLBemaMFD->GeraTxtPorCOO(arquivo_mfd, arquivo_txt, p3, p4, p5);
}

int32_t VendorPrinter::GeraRegistrosTipoE(const RecordsArguments& arguments) {
  return printer::DLLBemaMFD->GeraRegistrosTipoE(arguments);
}

bool VendorPrinter::UsarMFD2() const { return printer::DLLBemaMFD->FUsarMFD2; }

void VendorPrinter::SetUsarMFD2(bool usar) { printer::DLLBemaMFD->FUsarMFD2 = usar; }

}  // namespace kalora::shell
