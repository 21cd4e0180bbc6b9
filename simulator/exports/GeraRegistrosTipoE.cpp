// "BemaMFD.dll" / "BemaMFD2.dll": the type-E records of a date range.
#include "printer/UnitBemaMFD.h"
#include "simulator/Atendimento.h"
#include "simulator/Trabalho.h"
#include "simulator/exports/Exporta.h"

using namespace kalora;
using namespace kalora::sim;

using P = const char*;

KALORA_SIM_EXPORT int32_t KALORA_VENDOR_CALL BemaGeraRegistrosTipoE(
    P p1, P p2, P p3, P p4, P p5, P p6, P p7, P p8, P p9, P p10, P p11, P p12, P p13, P p14,
    P p15, P p16, P p17, P p18, P p19, P p20, P p21) {
  static_assert(
      std::is_same_v<decltype(&BemaGeraRegistrosTipoE), printer::TBemaGeraRegistrosTipoE>);
  return Atende(
      "BemaGeraRegistrosTipoE",
      {p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11, p12, p13, p14, p15, p16, p17, p18, p19,
       p20, p21},
      KALORA_SIM_LIBRARY, [&]() -> int32_t {
        if (p1 == nullptr) throw PedidoInvalido("no download file name");
        Memoria memoria = ReadDownload(p1);
        if (FalhasAtivas(memoria).registros) return 0;
        if (p2 == nullptr) throw PedidoInvalido("no records file name");
        Date first = DataDoPedido(p3, "first date");
        Date last = DataDoPedido(p4, "last date");
        if (first > last) throw PedidoInvalido("the first date comes after the last");
        GravaLinhas(p2, RegistrosTipoE(memoria, first, last, p5 == nullptr ? "" : p5,
                                       p6 == nullptr ? "" : p6));
        return 1;
      });
}
