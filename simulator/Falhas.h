// Fault switches of the simulated printer, for tests and demos: a comma-separated list in the
// memory file ("falha=") or in KALORA_SIM_FALHA. Both are honoured together.
#pragma once

#include <optional>

#include "runtime/Text.h"

namespace kalora::sim {

inline constexpr int kLentoMsPadrao = 3000;

struct Falhas {
  bool download = false;   // Bematech_FI_DownloadMFD answers 0 and writes nothing
  bool registros = false;  // BemaGeraRegistrosTipoE answers 0 and writes no records file
  bool espelho = false;    // BemaGeraTxtPorCOO answers 0 and writes no mirror
  int lento_ms = 0;        // every call waits this long first ("lento" or "lento:MS")

  Falhas& operator|=(const Falhas& other);
};

// "download,lento:500": the switches of a list; an unknown one raises std::invalid_argument
// naming it.
Falhas ParseFalhas(std::string_view list);

// The switches of KALORA_SIM_FALHA (none when it is not set).
Falhas FalhasDoAmbiente();

}  // namespace kalora::sim
