#include "os/Clock.h"

#include <ctime>

namespace kalora::os {

Date Today() {
  std::time_t now = std::time(nullptr);
  std::tm local = *std::localtime(&now);
  return *MakeDate(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                   static_cast<unsigned>(local.tm_mday));
}

}  // namespace kalora::os
