// The console of the support program: lines out, arguments in, converted at this edge.
#pragma once

#include <vector>

#include "runtime/Text.h"

namespace kalora::os {

enum class ConsoleStream { kOut, kError };

// Writes a Windows-1252 line: UTF-8 on Linux, the console's own characters on Windows.
void WriteLine(ConsoleStream stream, const Text& line);
// Writes without a line end and flushes (progress that redraws itself).
void WriteRaw(ConsoleStream stream, const Text& text);
// Writes UTF-8 text as it is (a CSV dump), or in the console's own characters on Windows.
void WriteUtf8(ConsoleStream stream, std::string_view utf8);
bool IsTerminal(ConsoleStream stream);

// The program's arguments as Windows-1252 texts, the program's name left out.
std::vector<Text> CommandLineArguments(int argc, char** argv);

}  // namespace kalora::os
