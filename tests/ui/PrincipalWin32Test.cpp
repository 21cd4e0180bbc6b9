// The real main window on the native backend, checked control by control through its windows.
#include <gtest/gtest.h>

#include <sstream>

#include "runtime/Cp1252.h"
#include "shell/Application.h"
#include "shell/pasPrincipal.h"
#include "tools/QuietPrinter.h"
#include "tests/support/TestEnvironment.h"
#include "tests/ui/Win32Probe.h"
#include "tools/StoreBuilding.h"
#include "ui/win32/Win32Screen.h"

namespace kalora::ui::win32 {
namespace {

using probe::ClassOf;
using probe::FontOf;
using probe::RectInParent;
using probe::TextOf;

// The demo shop's descriptions, by a path that holds after the change of folder.
std::filesystem::path Demo(const char* name) {
  return kalora::testing::Fixture("../../tools/demo") / name;
}

// The demo store, reached through both aliases.
class DemoStore {
 public:
  DemoStore() {
    std::ostringstream log;
    tools::BuildStore(folder_.Path(), {Demo("Parametro.txt"), Demo("Emp.txt"), Demo("EcfCupom.txt")},
                      {}, log);
  }

 private:
  kalora::testing::WorkFolder folder_;
  kalora::testing::ScopedEnv kalora_{"KALORA_ALIAS_Kalora", folder_.Path().string()};
  kalora::testing::ScopedEnv local_{"KALORA_ALIAS_KaloraLocal", folder_.Path().string()};
};

class PrincipalWin32Test : public ::testing::Test {
 protected:
  PrincipalWin32Test() {
    application.SetTitle("Kalora PDV NFP");
    screen.SetErrorHandler([this](const std::exception& error) { application.ShowException(error); });
    form.FormCreate();
    shell::frmPrincipal = &form;
    window = screen.Realise(form);
  }
  ~PrincipalWin32Test() override { shell::frmPrincipal = nullptr; }

  HWND Hwnd(const Control& control) const { return HandleOf(control); }

  DemoStore store;
  Win32Screen screen;
  shell::Application application{screen};
  tools::QuietPrinter printer;
  shell::TfrmPrincipal form{application, printer, {[] { return *MakeDate(2010, 3, 16); }}};
  std::unique_ptr<NativeWindow> window;
};

struct Expected {
  const char* name;
  const wchar_t* window_class;
  const char* text;  // UTF-8; nullptr where the window has no text of its own
  RECT rect;         // in the parent's client area; zero width and height: sized to the text
  bool visible;
  bool bold;
};

// The window in date mode, as it opens.
const Expected kDateMode[] = {
    {"GroupBox4", L"Button", " Selecione o Modelo da Impressora Fiscal ", {24, 16, 473, 97}, true, true},
    {"cmbModeloECF", L"ComboBox", "MP-2000 / MP-6000 TH FI", {64, 32, 385, 53}, true, false},
    {"GroupBox2", L"Button", " Selecione o Modo ", {24, 104, 225, 265}, true, true},
    {"rdbCOO", L"Button", "por COO", {24, 64, 137, 81}, true, false},
    {"rdbData", L"Button", "por Data", {24, 88, 137, 105}, true, false},
    {"CBDiario", L"Button", "Um Arquivo Por Dia", {24, 128, 185, 145}, true, true},
    {"GroupBox1", L"Button", " por Data ", {232, 104, 473, 265}, true, true},
    {"Label1", L"Static", "Data Inicial:", {24, 32, 24, 32}, true, false},
    {"Label2", L"Static", "Data Final:", {24, 80, 24, 80}, true, false},
    {"txtCOOInicial", L"Edit", "", {24, 48, 145, 69}, false, false},
    {"txtCOOFinal", L"Edit", "", {24, 96, 145, 117}, false, false},
    {"dtpDataInicial", L"SysDateTimePick32", nullptr, {24, 48, 145, 69}, true, false},
    {"dtpDataFinal", L"SysDateTimePick32", nullptr, {24, 96, 145, 117}, true, false},
    {"ProgressBar1", L"msctls_progress32", "", {24, 272, 473, 289}, true, false},
    {"Button1", L"Button", "Gerar", {269, 304, 360, 329}, true, true},
    {"Button2", L"Button", "Sair", {381, 304, 472, 329}, true, false},
    {"GroupBox3", L"Button", " Dados do Cliente ", {32, 336, 481, 473}, false, true},
    {"Label3", L"Static", "Razão Social:", {24, 32, 24, 32}, false, false},
    {"Label4", L"Static", "Endereço:", {24, 80, 24, 80}, false, false},
    {"txtRazao", L"Edit", "Kalora Comércio de Alimentos Ltda", {24, 48, 425, 69}, false, false},
    {"txtEndereco", L"Edit", "Avenida Paulista, 1578", {24, 96, 425, 117}, false, false},
};

void ExpectControls(shell::TfrmPrincipal& form, const Expected* first, const Expected* last) {
  for (const Expected* c = first; c != last; ++c) {
    SCOPED_TRACE(c->name);
    Control* control = FindControl(form, c->name);
    ASSERT_NE(control, nullptr);
    HWND handle = HandleOf(*control);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetParent(handle), HandleOf(*control->Parent()));
    EXPECT_EQ(ClassOf(handle), c->window_class);
    std::u16string text;
    if (c->text != nullptr) {
      text = Cp1252ToUtf16(Utf8ToCp1252(c->text));
      EXPECT_EQ(TextOf(handle), text);
    }
    RECT rect = RectInParent(handle);
    EXPECT_EQ(rect.left, c->rect.left);
    EXPECT_EQ(rect.top, c->rect.top);
    if (c->rect.right == c->rect.left) {
      std::wstring wide(text.begin(), text.end());
      EXPECT_EQ(rect.right - rect.left, probe::TextWidth(handle, wide.c_str()));
      EXPECT_GE(rect.bottom - rect.top, 11);
    } else {
      EXPECT_EQ(rect.right, c->rect.right);
      // The closed drop-down list takes its height from the font.
      if (c->window_class == std::wstring(L"ComboBox")) {
        EXPECT_NEAR(rect.bottom, c->rect.bottom, 3);
      } else {
        EXPECT_EQ(rect.bottom, c->rect.bottom);
      }
    }
    EXPECT_EQ(IsWindowVisible(handle) != FALSE, c->visible);
    LOGFONTW font = FontOf(handle);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(font.lfWeight, c->bold ? FW_BOLD : FW_NORMAL);
  }
}

TEST_F(PrincipalWin32Test, EveryControlOfTheWindowAsItOpens) {
  ExpectControls(form, std::begin(kDateMode), std::end(kDateMode));

  HWND main = Hwnd(form);
  EXPECT_EQ(TextOf(main), u"KALORA PDV NFP - Geração Arquivo Nota Fiscal Paulista");
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 497);
  EXPECT_EQ(client.bottom, 335);
  LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(SendMessageW(Hwnd(form.rdbData), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Hwnd(form.CBDiario), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Hwnd(form.cmbModeloECF), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(Hwnd(form.ProgressBar1), PBM_GETRANGE, FALSE, 0), 4);
  EXPECT_EQ(SendMessageW(Hwnd(form.txtCOOInicial), EM_GETLIMITTEXT, 0, 0), 6);
  EXPECT_EQ(SendMessageW(Hwnd(form.txtRazao), EM_GETLIMITTEXT, 0, 0), 40);
  EXPECT_EQ(SendMessageW(Hwnd(form.txtEndereco), EM_GETLIMITTEXT, 0, 0), 100);
  // Started on 16 March 2010: the current month up to yesterday.
  struct {
    const Control& picker;
    WORD day;
  } dates[] = {{form.dtpDataInicial, 1}, {form.dtpDataFinal, 15}};
  for (const auto& d : dates) {
    SYSTEMTIME shown{};
    SendMessageW(Hwnd(d.picker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.wDay, d.day);
    EXPECT_EQ(shown.wMonth, 3);
    EXPECT_EQ(shown.wYear, 2010);
  }
  EXPECT_EQ(probe::ChildNames(main, form),
            (std::vector<std::string>{"GroupBox1", "GroupBox2", "Button1", "Button2",
                                      "ProgressBar1", "GroupBox3", "GroupBox4"}))
      << "tab order";
  EXPECT_EQ(probe::ChildNames(Hwnd(form.GroupBox1), form),
            (std::vector<std::string>{"Label1", "Label2", "txtCOOInicial", "txtCOOFinal",
                                      "dtpDataInicial", "dtpDataFinal"}));
}

TEST_F(PrincipalWin32Test, AClickOnPorCooSwitchesTheLook) {
  SendMessageW(Hwnd(form.rdbCOO), BM_CLICK, 0, 0);
  const Expected kCooMode[] = {
      {"GroupBox1", L"Button", " por COO ", {232, 104, 473, 265}, true, true},
      {"Label1", L"Static", "COO Inicial:", {24, 32, 24, 32}, true, false},
      {"Label2", L"Static", "COO Final:", {24, 80, 24, 80}, true, false},
      {"txtCOOInicial", L"Edit", "", {24, 48, 145, 69}, true, false},
      {"txtCOOFinal", L"Edit", "", {24, 96, 145, 117}, true, false},
      {"dtpDataInicial", L"SysDateTimePick32", nullptr, {24, 48, 145, 69}, false, false},
      {"dtpDataFinal", L"SysDateTimePick32", nullptr, {24, 96, 145, 117}, false, false},
      {"CBDiario", L"Button", "Um Arquivo Por Dia", {24, 128, 185, 145}, true, true},
      {"GroupBox3", L"Button", " Dados do Cliente ", {32, 336, 481, 473}, false, true},
  };
  ExpectControls(form, std::begin(kCooMode), std::end(kCooMode));
  EXPECT_EQ(SendMessageW(Hwnd(form.rdbCOO), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Hwnd(form.rdbData), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(form.rdbCOO.Checked());

  SendMessageW(Hwnd(form.rdbData), BM_CLICK, 0, 0);
  ExpectControls(form, std::begin(kDateMode), std::end(kDateMode));
}

TEST_F(PrincipalWin32Test, TheSecondModelSetsTheFamilyAndSairClosesTheWindow) {
  SendMessageW(Hwnd(form.cmbModeloECF), CB_SETCURSEL, 1, 0);
  probe::Notify(Hwnd(form.cmbModeloECF), CBN_SELCHANGE);
  EXPECT_TRUE(printer.UsarMFD2());

  PostMessageW(Hwnd(form.Button2), BM_CLICK, 0, 0);
  EXPECT_EQ(RunMessageLoop(form), 0);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(Hwnd(form), nullptr);
}

}  // namespace
}  // namespace kalora::ui::win32
