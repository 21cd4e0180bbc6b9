// What every exported function of the stand-in libraries does around its own work: honour
// the fault switches, keep exceptions inside the library, answer 0 on a refused call and
// write the call log.
#pragma once

#include <functional>
#include <initializer_list>

#include "simulator/CallLog.h"
#include "simulator/Memoria.h"

namespace kalora::sim {

// Runs work and logs the call; an exception becomes the answer 0 with its reason logged.
int32_t Atende(const char* function, std::initializer_list<Argumento> args,
               const char* library, const std::function<int32_t()>& work);

// The switches of the memory together with those of KALORA_SIM_FALHA; waits when "lento"
// is on.
Falhas FalhasAtivas(const Memoria& memoria);

// The memory named by KALORA_SIM_MEMORIA.
Memoria MemoriaDoAmbiente();

}  // namespace kalora::sim
