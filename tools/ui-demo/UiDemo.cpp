// ui-demo [DEMO_FOLDER]: the main window on the native backend, for looking at it. The demo
// store is built from the descriptions of DEMO_FOLDER (by default the source tree's
// tools/demo) into a temporary folder; the printer answers nothing, so "Gerar" reports a
// communication failure.
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "runtime/Errors.h"
#include "shell/Application.h"
#include "shell/pasPrincipal.h"
#include "tools/StoreBuilding.h"
#include "ui/win32/Win32Screen.h"

namespace {

using namespace kalora;

class QuietPrinter : public gen::FiscalPrinter {
 public:
  int32_t DownloadMFD(const Text&, const Text&, const Text&, const Text&, const Text&) override {
    return 0;
  }
  int32_t GeraTxtPorCOO(const Text&, const Text&, int32_t, int32_t, int32_t) override { return 0; }
  int32_t GeraRegistrosTipoE(const RecordsArguments&) override { return 0; }
  bool UsarMFD2() const override { return usar_mfd2_; }
  void SetUsarMFD2(bool usar) override { usar_mfd2_ = usar; }

 private:
  bool usar_mfd2_ = false;
};

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

}  // namespace

int main(int argc, char** argv) {
  ui::win32::Win32Screen screen;
  shell::Application application(screen);
  application.SetTitle("Kalora PDV NFP");
  screen.SetErrorHandler([&](const std::exception& error) { application.ShowException(error); });
  try {
    BuildDemoStore(argc > 1 ? argv[1] : KALORA_DEMO_DIR);
    QuietPrinter printer;
    shell::TfrmPrincipal form(application, printer, {[] { return *MakeDate(2010, 3, 16); }});
    shell::frmPrincipal = &form;
    application.Handle([&] { form.FormCreate(); });
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
