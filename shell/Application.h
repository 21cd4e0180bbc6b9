// The application object: its title, its boxes and the default error box every event
// handler's error ends in.
#pragma once

#include <exception>
#include <functional>

#include "runtime/Text.h"
#include "ui/Screen.h"

namespace kalora::shell {

// How an event handler ended.
enum class Outcome {
  kCompleted,
  kAborted,  // a foreseen failure, already reported in its own box
  kFailed,   // an error, shown in the default error box
};

class Application {
 public:
  explicit Application(ui::Screen& screen) : screen_(screen) {}

  const Text& Title() const { return title_; }
  void SetTitle(const Text& title) { title_ = title; }
  ui::Screen& GetScreen() const { return screen_; }

  // Runs an event handler. A SilentAbort ends it quietly; any other error is shown in the
  // default error box. No error leaves this function.
  Outcome Handle(const std::function<void()>& handler);

  // The default error box: the message with the full-stop rule, the title, a stop icon.
  void ShowException(const std::exception& error);
  // A box with no icon under the application's title.
  void ShowPlainBox(const Text& text);

  Outcome LastOutcome() const { return last_outcome_; }

 private:
  ui::Screen& screen_;
  Text title_;
  Outcome last_outcome_ = Outcome::kCompleted;
};

// The box of an error that keeps the program from starting, titled "Erro da Aplicação":
// "Exceção <kind> no módulo <program> em <address>." and the message on the next line.
ui::MessageBox StartupErrorBox(const std::exception& error, const Text& program_file,
                               const void* address);

}  // namespace kalora::shell
