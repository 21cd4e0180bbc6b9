// The support program kalora-nfp: the generation run without the window (for support staff
// and scheduled jobs), what the finishing makes of a customer's document, and a table dump.
#pragma once

#include <functional>
#include <vector>

#include "os/Console.h"
#include "runtime/Text.h"

namespace kalora::shell {

// Exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitAborted = 1;   // a foreseen failure, reported in its box
inline constexpr int kExitError = 2;     // an error of the platform
inline constexpr int kExitUsage = 64;

// Where the program's lines go: the console, or a test's list.
using LineSink = std::function<void(os::ConsoleStream stream, const Text& line)>;

int RunConsole(const std::vector<Text>& arguments, const LineSink& write = os::WriteLine);

}  // namespace kalora::shell
