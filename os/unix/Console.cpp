#include "os/Console.h"

#include <unistd.h>

#include <cstdio>

#include "runtime/Cp1252.h"

namespace kalora::os {

namespace {
std::FILE* File(ConsoleStream stream) { return stream == ConsoleStream::kOut ? stdout : stderr; }
}  // namespace

void WriteUtf8(ConsoleStream stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), File(stream));
  std::fflush(File(stream));
}

void WriteRaw(ConsoleStream stream, const Text& text) { WriteUtf8(stream, Cp1252ToUtf8(text)); }

void WriteLine(ConsoleStream stream, const Text& line) { WriteRaw(stream, line + "\n"); }

bool IsTerminal(ConsoleStream stream) { return ::isatty(::fileno(File(stream))) != 0; }

std::vector<Text> CommandLineArguments(int argc, char** argv) {
  std::vector<Text> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8ToCp1252(argv[i]));
  return arguments;
}

}  // namespace kalora::os
