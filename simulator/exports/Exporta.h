// Exports of the stand-in libraries, with the calling convention of the maker's.
#pragma once

#include "printer/VendorCall.h"

#if defined(_WIN32)
#define KALORA_SIM_EXPORT extern "C" __declspec(dllexport)
#else
#define KALORA_SIM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// KALORA_SIM_LIBRARY names the library in the call log; KALORA_SIM_FAMILIA (1 or 2) picks
// the mirror's layout. Both come from the build.
