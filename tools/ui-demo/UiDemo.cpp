// One control of each kind on a window of the program's look, to see the native backend.
#include "ui/win32/WindowsApi.h"

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "ui/Controls.h"
#include "ui/win32/Win32Screen.h"

namespace {

using namespace kalora;
using namespace kalora::ui;

class DemoForm : public Form {
 public:
  explicit DemoForm(Screen& screen) : Form("frmDemo", {0, 0, 497, 335}, screen) {
    SetText("KALORA PDV NFP - Controles"_cp);
    model_box.SetText(" Selecione o Modelo da Impressora Fiscal ");
    model_box.SetBold(true);
    model.SetItems({"MP-2000 / MP-6000 TH FI",
                    "MP-2100 / MP-3000 / MP-4000 / MP-6100 / MP-7000 TH FI"});
    model.SetItemIndex(0);
    mode_box.SetText(" Selecione o Modo ");
    mode_box.SetBold(true);
    by_coo.SetText("por COO");
    by_date.SetText("por Data");
    by_date.SetChecked(true);
    daily.SetText("Um Arquivo Por Dia");
    daily.SetBold(true);
    daily.SetChecked(true);
    range_box.SetBold(true);
    first_date.SetDate(*MakeDate(2010, 3, 1));
    last_date.SetDate(*MakeDate(2010, 3, 15));
    bar.SetRange(0, 4);
    bar.SetPosition(1);
    generate.SetText("Gerar");
    generate.SetBold(true);
    quit.SetText("Sair");
    for (Control* control : {static_cast<Control*>(&by_coo), static_cast<Control*>(&by_date),
                             static_cast<Control*>(&generate), static_cast<Control*>(&quit)}) {
      control->SetHandCursor(true);
    }
    by_coo.on_click = [this] { ShowCoo(true); };
    by_date.on_click = [this] { ShowCoo(false); };
    generate.on_click = [this] {
      bar.SetPosition(bar.Position() + 1);
      bar.Repaint();
      GetScreen().ShowMessageBox({BoxIcon::Information, "Atenção"_cp, "Posição " +
                                  std::to_string(bar.Position())});
    };
    quit.on_click = [this] { Close(); };
    ShowCoo(false);
  }

 private:
  void ShowCoo(bool coo) {
    range_box.SetText(coo ? " por COO " : " por Data ");
    first_label.SetText(coo ? "COO Inicial:" : "Data Inicial:");
    last_label.SetText(coo ? "COO Final:" : "Data Final:");
    first_coo.SetVisible(coo);
    last_coo.SetVisible(coo);
    first_date.SetVisible(!coo);
    last_date.SetVisible(!coo);
  }

  GroupBox range_box{this, "GroupBox1", {232, 104, 241, 161}};
  Label first_label{&range_box, "Label1", {24, 32, 0, 0}};
  Label last_label{&range_box, "Label2", {24, 80, 0, 0}};
  Edit first_coo{&range_box, "txtCOOInicial", {24, 48, 121, 21}, 6};
  Edit last_coo{&range_box, "txtCOOFinal", {24, 96, 121, 21}, 6};
  DatePicker first_date{&range_box, "dtpDataInicial", {24, 48, 121, 21}};
  DatePicker last_date{&range_box, "dtpDataFinal", {24, 96, 121, 21}};
  GroupBox mode_box{this, "GroupBox2", {24, 104, 201, 161}};
  RadioButton by_coo{&mode_box, "rdbCOO", {24, 64, 113, 17}};
  RadioButton by_date{&mode_box, "rdbData", {24, 88, 113, 17}};
  CheckBox daily{&mode_box, "CBDiario", {24, 128, 161, 17}};
  Button generate{this, "Button1", {269, 304, 91, 25}};
  Button quit{this, "Button2", {381, 304, 91, 25}};
  ProgressBar bar{this, "ProgressBar1", {24, 272, 449, 17}};
  GroupBox model_box{this, "GroupBox4", {24, 16, 449, 81}};
  ComboBox model{&model_box, "cmbModeloECF", {64, 32, 321, 21}};
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    win32::Win32Screen screen;
    screen.SetErrorHandler([&screen](const std::exception& error) {
      screen.ShowMessageBox({BoxIcon::Stop, "Kalora PDV NFP", ErrorBoxText(error.what())});
    });
    DemoForm form(screen);
    auto window = screen.Realise(form);
    return win32::RunMessageLoop(form);
  } catch (const std::exception& error) {
    MessageBoxA(nullptr, error.what(), "Kalora PDV NFP", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    return 1;
  }
}
