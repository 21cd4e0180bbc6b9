// The support program kalora-nfp: the generation run without the window (for support staff
// and scheduled jobs), what the finishing makes of a customer's document, and a table dump.
#pragma once

#include <vector>

#include "runtime/Text.h"

namespace kalora::shell {

// Exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitAborted = 1;   // a foreseen failure, reported in its box
inline constexpr int kExitError = 2;     // an error of the platform
inline constexpr int kExitUsage = 64;

int RunConsole(const std::vector<Text>& arguments);

}  // namespace kalora::shell
