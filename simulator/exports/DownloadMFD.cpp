// "BEMAFI32.DLL": the detail-memory download.
#include "printer/Bemafi32.h"
#include "simulator/Atendimento.h"
#include "simulator/Trabalho.h"
#include "simulator/exports/Exporta.h"

using namespace kalora;
using namespace kalora::sim;

KALORA_SIM_EXPORT int KALORA_VENDOR_CALL Bematech_FI_DownloadMFD(const char* arquivo,
                                                                 const char* tipo,
                                                                 const char* inicial,
                                                                 const char* final_,
                                                                 const char* quinto) {
  return Atende("Bematech_FI_DownloadMFD", {arquivo, tipo, inicial, final_, quinto},
                KALORA_SIM_LIBRARY, [&]() -> int32_t {
                  Memoria memoria = MemoriaDoAmbiente();
                  if (FalhasAtivas(memoria).download) return 0;
                  if (arquivo == nullptr || *arquivo == '\0') {
                    throw PedidoInvalido("no file name for the download");
                  }
                  // The fifth argument is the user number; the program passes "1".
                  std::string_view usuario = quinto == nullptr ? "" : quinto;
                  if (usuario.empty() || usuario.find_first_not_of("0123456789") != usuario.npos) {
                    throw PedidoInvalido("the fifth argument is not a user number");
                  }
                  GravaArquivo(arquivo, DownloadMFD(memoria, tipo, inicial, final_));
                  return 1;
                });
}
