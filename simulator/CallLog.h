// The simulator's call log: when KALORA_SIM_LOG names a file, every call appends one line
//   Name(arg,arg,...) = result [Library]
// texts in double quotes (\" and \\ escaped, bytes below 32 and 127 as \xNN, others as they
// are), NULL for a null pointer, integers in decimal; LF ends the line. A call refused for a
// reason other than a fault switch first appends "! " and the reason.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <variant>

#include "runtime/Text.h"

namespace kalora::sim {

using Argumento = std::variant<const char*, int32_t>;

// The line for one call, without its line end.
Text LinhaDoLog(const char* function, std::initializer_list<Argumento> args, int32_t result,
                const char* library);

// Appends the call's line to the log, when there is one.
void RegistraChamada(const char* function, std::initializer_list<Argumento> args,
                     int32_t result, const char* library);

// Appends "! reason" to the log, when there is one, and writes the reason to stderr.
void RegistraMotivo(const Text& reason);

}  // namespace kalora::sim
