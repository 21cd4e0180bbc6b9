// ui-demo [--modo coo|data|diario] [DEMO_FOLDER]: the main window on the native backend, for
// looking at it and for the guide's pictures (tools/screenshot.sh). The demo store is built
// from the descriptions of DEMO_FOLDER (by default the source tree's tools/demo) into a
// temporary folder; "today" is 01/12/2026, so the dates show the demo month. --modo opens the
// window as the operator would leave it in that mode: "por COO" with the demo's first
// coupons, "por Data", or "por Data" with "Um Arquivo Por Dia" (the window's own default).
// The printer answers nothing, so "Gerar" reports a communication failure.
//
// This is a developer's tool: the shipped program has no such switch.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "runtime/Errors.h"
#include "shell/Application.h"
#include "shell/pasPrincipal.h"
#include "tools/QuietPrinter.h"
#include "tools/StoreBuilding.h"
#include "ui/win32/Win32Screen.h"

namespace {

using namespace kalora;

enum class Mode { kCoo, kData, kDiario };

std::filesystem::path BuildDemoStore(const std::filesystem::path& demo) {
  std::filesystem::path store = std::filesystem::temp_directory_path() / "kalora-ui-demo";
  std::ostringstream log;
  tools::BuildStore(store, {demo / "Parametro.txt", demo / "Emp.txt", demo / "EcfCupom.txt"},
                    {}, log);
  for (const char* alias : {"KALORA_ALIAS_Kalora", "KALORA_ALIAS_KaloraLocal"}) {
    _putenv_s(alias, store.string().c_str());
  }
  return store;
}

// What the operator does to reach the mode, through the same methods a click uses.
void ShowMode(shell::TfrmPrincipal& form, Mode mode) {
  if (mode == Mode::kCoo) {
    form.rdbCOO.Click();
    form.txtCOOInicial.Type("001001");
    form.txtCOOFinal.Type("001020");
    return;
  }
  form.rdbData.Click();
  form.CBDiario.SetChecked(mode == Mode::kDiario);
}

struct Arguments {
  Mode mode = Mode::kDiario;
  const char* demo_folder = KALORA_DEMO_DIR;
};

bool ParseArguments(int argc, char** argv, Arguments& arguments) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--modo") == 0 && i + 1 < argc) {
      const char* mode = argv[++i];
      if (std::strcmp(mode, "coo") == 0) {
        arguments.mode = Mode::kCoo;
      } else if (std::strcmp(mode, "data") == 0) {
        arguments.mode = Mode::kData;
      } else if (std::strcmp(mode, "diario") == 0) {
        arguments.mode = Mode::kDiario;
      } else {
        return false;
      }
    } else if (argv[i][0] != '-') {
      arguments.demo_folder = argv[i];
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  ui::win32::Win32Screen screen;
  shell::Application application(screen);
  application.SetTitle("Kalora PDV NFP");
  screen.SetErrorHandler([&](const std::exception& error) { application.ShowException(error); });
  Arguments arguments;
  if (!ParseArguments(argc, argv, arguments)) {
    application.ShowPlainBox("Uso: ui-demo [--modo coo|data|diario] [DEMO_FOLDER]");
    return 64;
  }
  try {
    BuildDemoStore(arguments.demo_folder);
    tools::QuietPrinter printer;
    shell::TfrmPrincipal form(application, printer, {[] { return *MakeDate(2026, 12, 1); }});
    shell::frmPrincipal = &form;
    application.Handle([&] { form.FormCreate(); });
    ShowMode(form, arguments.mode);
    auto window = screen.Realise(form);
    int code = ui::win32::RunMessageLoop(form);
    window.reset();
    shell::frmPrincipal = nullptr;
    return code;
  } catch (const std::exception& error) {
    shell::frmPrincipal = nullptr;
    application.ShowException(error);
    return 1;
  }
}
