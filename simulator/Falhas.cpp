#include "simulator/Falhas.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "runtime/Numbers.h"

namespace kalora::sim {
namespace {

std::string_view Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

}  // namespace

Falhas& Falhas::operator|=(const Falhas& other) {
  download = download || other.download;
  registros = registros || other.registros;
  espelho = espelho || other.espelho;
  lento_ms = std::max(lento_ms, other.lento_ms);
  return *this;
}

Falhas ParseFalhas(std::string_view list) {
  Falhas falhas;
  while (!list.empty()) {
    size_t comma = list.find(',');
    std::string_view name = Trim(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    if (name.empty()) continue;
    if (name == "download") {
      falhas.download = true;
    } else if (name == "registros") {
      falhas.registros = true;
    } else if (name == "espelho") {
      falhas.espelho = true;
    } else if (name == "lento") {
      falhas.lento_ms = kLentoMsPadrao;
    } else if (name.substr(0, 6) == "lento:") {
      auto ms = TryStrToInt(name.substr(6));
      if (!ms || *ms < 0) {
        throw std::invalid_argument("fault switch '" + Text(name) +
                                    "': the wait must be a number of milliseconds");
      }
      falhas.lento_ms = *ms;
    } else {
      throw std::invalid_argument("unknown fault switch '" + Text(name) +
                                  "' (known: download, registros, espelho, lento[:MS])");
    }
  }
  return falhas;
}

Falhas FalhasDoAmbiente() {
  const char* list = std::getenv("KALORA_SIM_FALHA");
  if (list == nullptr) return {};
  try {
    return ParseFalhas(list);
  } catch (const std::invalid_argument& error) {
    throw std::invalid_argument(Text("KALORA_SIM_FALHA: ") + error.what());
  }
}

}  // namespace kalora::sim
