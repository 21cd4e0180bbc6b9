// "BemaMFD.dll" / "BemaMFD2.dll": the text mirror of a COO range.
#include "printer/UnitBemaMFD.h"
#include "simulator/Atendimento.h"
#include "simulator/Trabalho.h"
#include "simulator/exports/Exporta.h"

using namespace kalora;
using namespace kalora::sim;

KALORA_SIM_EXPORT int32_t KALORA_VENDOR_CALL BemaGeraTxtPorCOO(const char* arquivo_mfd,
                                                               const char* arquivo_txt,
                                                               int32_t tipo, int32_t inicial,
                                                               int32_t final_) {
  static_assert(std::is_same_v<decltype(&BemaGeraTxtPorCOO), printer::TBemaGeraTxtPorCOO>);
  return Atende("BemaGeraTxtPorCOO", {arquivo_mfd, arquivo_txt, tipo, inicial, final_},
                KALORA_SIM_LIBRARY, [&]() -> int32_t {
                  if (arquivo_mfd == nullptr) throw PedidoInvalido("no download file name");
                  Memoria memoria = ReadDownload(arquivo_mfd);
                  if (FalhasAtivas(memoria).espelho) return 0;
                  if (arquivo_txt == nullptr) throw PedidoInvalido("no mirror file name");
                  // 1 asks for a range of COO numbers, the only kind this printer mirrors.
                  if (tipo != 1) throw PedidoInvalido("the third argument is not 1 (COO range)");
                  if (inicial > final_) throw PedidoInvalido("the first COO comes after the last");
                  Familia familia = KALORA_SIM_FAMILIA == 1 ? Familia::kPrimeira : Familia::kSegunda;
                  GravaLinhas(arquivo_txt, Espelho(memoria, familia, inicial, final_));
                  return 1;
                });
}
