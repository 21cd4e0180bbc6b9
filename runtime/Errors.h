// The two kinds of failure of the program.
//
// A failure the program foresees is shown in a message box with its own text and then ends the
// run with a SilentAbort, which unwinds to the event handler without a further message.
// Anything else is a PlatformError: its message reaches the operator in the application's
// default error box and ends the run on the spot.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

#include "runtime/Text.h"

namespace kalora {

class PlatformError : public std::runtime_error {
 public:
  // kind names the class of error the way the error box of a crash names it ("EInOutError").
  PlatformError(std::string kind, const Text& message)
      : std::runtime_error(message), kind_(std::move(kind)), message_(message) {}

  const std::string& Kind() const { return kind_; }
  // Whole, where what() stops at a code 0 (a day file's field quoted in the message may hold one).
  const Text& Message() const { return message_; }

 private:
  std::string kind_;
  Text message_;
};

// Ends a run after its message box was shown; nothing else is reported.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// The operator's wording of a file error by its system code (2 "Arquivo não encontrado", ...).
Text IoErrorMessage(int code);
PlatformError InOutError(int code);

// A text that is not what was asked for: "'%s' não é um valor inteiro válido" and the like.
PlatformError ConvertError(const Text& message);

// "Lista de índices fora de faixa (%d)": a list line asked for that does not exist.
PlatformError ListIndexError(int index);

// The text of the default error box: the message, with a full stop added when its last
// character sorts after ".".
Text ErrorBoxText(const Text& message);

}  // namespace kalora
