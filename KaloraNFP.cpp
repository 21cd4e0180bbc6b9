// KaloraNFP: the window program the operator uses at the point of sale.
//
// The entry sequence: the printer binding first (it loads "BemaMFD.dll"), then the
// application object and its title, the main window (which opens the coupon table while it
// is built), its creation handler, the event loop; then the window is destroyed, which closes
// its tables, and the binding releases its library last.
#include "ui/win32/WindowsApi.h"

#include <memory>

#include "os/Clock.h"
#include "printer/UnitBemaMFD.h"
#include "shell/Application.h"
#include "shell/VendorPrinter.h"
#include "shell/pasPrincipal.h"
#include "ui/win32/Win32Screen.h"

namespace {

using namespace kalora;

Text ProgramFileName() {
  char path[MAX_PATH];
  DWORD size = GetModuleFileNameA(nullptr, path, MAX_PATH);
  Text full(path, size);
  return full.substr(full.find_last_of('\\') + 1);
}

int Run() {
  printer::UnitBemaMFD unit;
  ui::win32::Win32Screen screen;
  shell::Application application(screen);
  application.SetTitle("Kalora PDV NFP");
  screen.SetErrorHandler([&](const std::exception& error) { application.ShowException(error); });
  printer::DLLBemaMFD->SetPlainBox([&](const Text& text) { application.ShowPlainBox(text); });
  shell::VendorPrinter printer;

  std::unique_ptr<shell::TfrmPrincipal> form;
  try {
    form = std::make_unique<shell::TfrmPrincipal>(application, printer,
                                                  shell::TfrmPrincipal::Options{os::Today});
  } catch (const std::exception& error) {
    screen.ShowMessageBox(
        shell::StartupErrorBox(error, ProgramFileName(), reinterpret_cast<const void*>(&Run)));
    return 1;
  }
  shell::frmPrincipal = form.get();
  application.Handle([&] { form->FormCreate(); });
  {
    auto window = screen.Realise(*form);
    ui::win32::RunMessageLoop(*form);
  }
  shell::frmPrincipal = nullptr;
  form.reset();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Run(); }
