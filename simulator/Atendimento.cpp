#include "simulator/Atendimento.h"

#include <chrono>
#include <cstdlib>
#include <exception>
#include <thread>

namespace kalora::sim {

int32_t Atende(const char* function, std::initializer_list<Argumento> args,
               const char* library, const std::function<int32_t()>& work) {
  int32_t result = 0;
  // Nothing may unwind into the caller: it is not ours and may not even be C++.
  try {
    result = work();
  } catch (const std::exception& error) {
    RegistraMotivo(Text(function) + ": " + error.what());
  } catch (...) {
    RegistraMotivo(Text(function) + ": unexpected failure");
  }
  RegistraChamada(function, args, result, library);
  return result;
}

Falhas FalhasAtivas(const Memoria& memoria) {
  Falhas falhas = memoria.falhas;
  falhas |= FalhasDoAmbiente();
  if (falhas.lento_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(falhas.lento_ms));
  return falhas;
}

Memoria MemoriaDoAmbiente() {
  const char* path = std::getenv("KALORA_SIM_MEMORIA");
  if (path == nullptr || *path == '\0') {
    throw MemoriaError("KALORA_SIM_MEMORIA does not name the printer's memory file");
  }
  return ReadMemoria(path);
}

}  // namespace kalora::sim
