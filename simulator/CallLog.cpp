#include "simulator/CallLog.h"

#include <cstdio>
#include <cstdlib>

namespace kalora::sim {
namespace {

Text Quoted(const char* text) {
  if (text == nullptr) return "NULL";
  Text quoted = "\"";
  for (const char* c = text; *c != '\0'; ++c) {
    unsigned char byte = static_cast<unsigned char>(*c);
    if (byte == '"' || byte == '\\') {
      quoted += '\\';
      quoted += *c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      quoted += escaped;
    } else {
      quoted += *c;
    }
  }
  return quoted + "\"";
}

void Append(const Text& line) {
  const char* path = std::getenv("KALORA_SIM_LOG");
  if (path == nullptr || *path == '\0') return;
  if (std::FILE* file = std::fopen(path, "ab")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fputc('\n', file);
    std::fclose(file);
  }
}

}  // namespace

Text LinhaDoLog(const char* function, std::initializer_list<Argumento> args, int32_t result,
                const char* library) {
  Text line = Text(function) + "(";
  bool first = true;
  for (const Argumento& arg : args) {
    if (!first) line += ",";
    first = false;
    if (const char* const* text = std::get_if<const char*>(&arg)) {
      line += Quoted(*text);
    } else {
      line += std::to_string(std::get<int32_t>(arg));
    }
  }
  return line + ") = " + std::to_string(result) + " [" + library + "]";
}

void RegistraChamada(const char* function, std::initializer_list<Argumento> args,
                     int32_t result, const char* library) {
  Append(LinhaDoLog(function, args, result, library));
}

void RegistraMotivo(const Text& reason) {
  std::fprintf(stderr, "kalora-sim: %s\n", reason.c_str());
  Append("! " + reason);
}

}  // namespace kalora::sim
