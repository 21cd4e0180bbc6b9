// The main window: the operator's choices, the hidden company fields and the handlers.
#pragma once

#include <functional>
#include <memory>

#include "generation/CouponSource.h"
#include "generation/FiscalPrinter.h"
#include "runtime/Dates.h"
#include "shell/Application.h"
#include "shell/StoreTables.h"
#include "ui/Controls.h"

namespace kalora::shell {

class TfrmPrincipal : public ui::Form {
 public:
  struct Options {
    // "Today", from which the default date range is taken.
    std::function<Date()> today;
  };

  // Building the window opens the coupon table; an error there keeps the window from
  // existing. FormCreate runs next, from the entry sequence.
  TfrmPrincipal(Application& application, gen::FiscalPrinter& printer, Options options);

  // Controls, made in their tab order.
  ui::GroupBox GroupBox1{this, "GroupBox1", {232, 104, 241, 161}};
  ui::Label Label1{&GroupBox1, "Label1", {24, 32, 0, 0}};
  ui::Label Label2{&GroupBox1, "Label2", {24, 80, 0, 0}};
  ui::Edit txtCOOInicial{&GroupBox1, "txtCOOInicial", {24, 48, 121, 21}, 6};
  ui::Edit txtCOOFinal{&GroupBox1, "txtCOOFinal", {24, 96, 121, 21}, 6};
  ui::DatePicker dtpDataInicial{&GroupBox1, "dtpDataInicial", {24, 48, 121, 21}};
  ui::DatePicker dtpDataFinal{&GroupBox1, "dtpDataFinal", {24, 96, 121, 21}};
  ui::GroupBox GroupBox2{this, "GroupBox2", {24, 104, 201, 161}};
  ui::RadioButton rdbCOO{&GroupBox2, "rdbCOO", {24, 64, 113, 17}};
  ui::RadioButton rdbData{&GroupBox2, "rdbData", {24, 88, 113, 17}};
  ui::CheckBox CBDiario{&GroupBox2, "CBDiario", {24, 128, 161, 17}};
  ui::Button Button1{this, "Button1", {269, 304, 91, 25}};
  ui::Button Button2{this, "Button2", {381, 304, 91, 25}};
  ui::ProgressBar ProgressBar1{this, "ProgressBar1", {24, 272, 449, 17}};
  ui::GroupBox GroupBox3{this, "GroupBox3", {32, 336, 449, 137}};
  ui::Label Label3{&GroupBox3, "Label3", {24, 32, 0, 0}};
  ui::Label Label4{&GroupBox3, "Label4", {24, 80, 0, 0}};
  ui::Edit txtRazao{&GroupBox3, "txtRazao", {24, 48, 401, 21}, 40};
  ui::Edit txtEndereco{&GroupBox3, "txtEndereco", {24, 96, 401, 21}, 100};
  ui::GroupBox GroupBox4{this, "GroupBox4", {24, 16, 449, 81}};
  ui::ComboBox cmbModeloECF{&GroupBox4, "cmbModeloECF", {64, 32, 321, 21}};

  // The shop's tables, owned by the window for its lifetime.
  shell::TParametro TParametro;
  shell::TEmp TEmp;
  shell::TECFCupom TECFCupom;

  void FormCreate();
  void rdbCOOClick();
  void rdbDataClick();
  void cmbModeloECFChange();
  void Button1Click();
  void Button2Click();

  void AdicionaCPF(const Text& dia);
  static Text Nr2lt(const Text& texto);
  static Text DRRf(const Text& texto);
  static bool TestaCpf(const Text& numero);
  static bool TestaCgc(const Text& numero);

  // The company was read from the store by FormCreate.
  bool CompanyKnown() const { return company_known_; }

 private:
  void LayOut();
  void Connect();

  Application& application_;
  gen::FiscalPrinter& printer_;
  Options options_;
  bool company_known_ = false;
};

// The main window while it exists.
extern TfrmPrincipal* frmPrincipal;

// The default date range for "today": the whole previous month up to the 15th, the current
// month up to yesterday from the 16th.
std::pair<Date, Date> DefaultDateRange(Date today);

}  // namespace kalora::shell
