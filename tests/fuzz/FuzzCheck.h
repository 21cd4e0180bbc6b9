// What a fuzz target checks about each input. A broken property aborts, which libFuzzer
// reports like a crash and keeps the input (NDEBUG builds drop assert, so it is not used).
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kalora::fuzz {

inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

}  // namespace kalora::fuzz
