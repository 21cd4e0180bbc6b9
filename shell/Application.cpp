#include "shell/Application.h"

#include <cstdint>
#include <cstdio>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

namespace kalora::shell {

namespace {

Text KindOf(const std::exception& error) {
  if (auto* platform = dynamic_cast<const PlatformError*>(&error)) return platform->Kind();
  return "Exception";
}

}  // namespace

Outcome Application::Handle(const std::function<void()>& handler) {
  try {
    handler();
    last_outcome_ = Outcome::kCompleted;
  } catch (const SilentAbort&) {
    last_outcome_ = Outcome::kAborted;
  } catch (const std::exception& error) {
    ShowException(error);
    last_outcome_ = Outcome::kFailed;
  }
  return last_outcome_;
}

void Application::ShowException(const std::exception& error) {
  screen_.ShowMessageBox({ui::BoxIcon::Stop, title_, ErrorBoxText(error.what())});
}

void Application::ShowPlainBox(const Text& text) {
  screen_.ShowMessageBox({ui::BoxIcon::None, title_, text});
}

ui::MessageBox StartupErrorBox(const std::exception& error, const Text& program_file,
                               const void* address) {
  char where[32];
  std::snprintf(where, sizeof where, "%08llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
  Text text = "Exceção "_cp + KindOf(error) + " no módulo "_cp + program_file + " em " + where +
              ".\r\n" + ErrorBoxText(error.what());
  return {ui::BoxIcon::Stop, "Erro da Aplicação"_cp, text};
}

}  // namespace kalora::shell
