// A run started from the real window's "Gerar", with the stand-in printer libraries and the
// demo store: the box is read and answered like an operator would, and the files are the ones
// the support program makes for the same days.
#include <gtest/gtest.h>

#include <filesystem>

#include "printer/UnitBemaMFD.h"
#include "runtime/Cp1252.h"
#include "shell/Application.h"
#include "shell/Console.h"
#include "shell/VendorPrinter.h"
#include "shell/pasPrincipal.h"
#include "tests/shell/ShopFixture.h"
#include "tests/ui/Win32Probe.h"
#include "ui/win32/Win32Screen.h"

namespace kalora::ui::win32 {
namespace {

namespace fs = std::filesystem;

const char* kFinal = "C:\\Varnex\\PDV\\NFP\\Final\\";
const char* kDays[] = {"BE091010.1BQ", "BE091010.2BQ"};

// Presses "Gerar" on the window as the operator would and answers the box that follows.
probe::SeenBox PressGerar(shell::TfrmPrincipal& form) {
  probe::BoxAnswerer answerer;
  SendMessageW(HandleOf(form.Button1), BM_CLICK, 0, 0);
  return answerer.Seen();
}

TEST(RunFromWindow, DailyRunMakesTheSameFilesAsTheSupportProgram) {
  std::vector<std::string> from_console;
  {
    test::Shop shop;
    printer::UnitBemaMFD unit;
    ASSERT_EQ(shell::RunConsole({"gerar", "--diario", "01/11/2026", "02/11/2026"},
                                [](os::ConsoleStream, const Text&) {}),
              shell::kExitSuccess);
    for (const char* day : kDays) {
      from_console.push_back(kalora::testing::ReadFile(shop.Native(Text(kFinal) + day)));
    }
  }

  test::Shop shop;
  printer::UnitBemaMFD unit;
  Win32Screen screen;
  shell::Application application(screen);
  application.SetTitle("Kalora PDV NFP");
  shell::VendorPrinter printer;
  shell::TfrmPrincipal form(application, printer, {[] { return *MakeDate(2026, 12, 11); }});
  application.Handle([&] { form.FormCreate(); });
  auto window = screen.Realise(form);
  form.dtpDataFinal.PickDate(*MakeDate(2026, 11, 2));

  probe::SeenBox box = PressGerar(form);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.title, u"Atenção");
  EXPECT_EQ(box.text, u"Arquivos \"C:\\Varnex\\PDV\\NFP\\NFP_DIA_YYYYMMDD.txt\" gerados com sucesso!");
  EXPECT_TRUE(box.has_icon);
  EXPECT_EQ(SendMessageW(HandleOf(form.ProgressBar1), PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessageW(HandleOf(form.ProgressBar1), PBM_GETRANGE, FALSE, 0), 5);
  for (size_t i = 0; i < std::size(kDays); ++i) {
    SCOPED_TRACE(kDays[i]);
    EXPECT_EQ(kalora::testing::ReadFile(shop.Native(Text(kFinal) + kDays[i])), from_console[i]);
  }
}

TEST(RunFromWindow, AFailedDownloadShowsItsBoxAndLeavesNothing) {
  test::Shop shop;
  kalora::testing::ScopedEnv fault("KALORA_SIM_FALHA", "download");
  printer::UnitBemaMFD unit;
  Win32Screen screen;
  shell::Application application(screen);
  application.SetTitle("Kalora PDV NFP");
  shell::VendorPrinter printer;
  shell::TfrmPrincipal form(application, printer, {[] { return *MakeDate(2026, 12, 11); }});
  application.Handle([&] { form.FormCreate(); });
  auto window = screen.Realise(form);

  probe::SeenBox box = PressGerar(form);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.title, u"Kalora PDV NFP");
  EXPECT_EQ(box.text, u"Flaha de Comunicação com  a impressora!");
  EXPECT_FALSE(box.has_icon);
  EXPECT_TRUE(shop.FilesIn("C:\\Varnex\\PDV\\NFP\\").empty());
  EXPECT_FALSE(fs::exists("Download.MFD"));
}

}  // namespace
}  // namespace kalora::ui::win32
