#include "shell/pasPrincipal.h"

#include "generation/CheckDigits.h"
#include "generation/CustomerDocument.h"
#include "generation/DailyFinishing.h"
#include "generation/GenerationRun.h"
#include "runtime/Cp1252.h"

namespace kalora::shell {

TfrmPrincipal* frmPrincipal = nullptr;

namespace {

const Text kFirstModel = "MP-2000 / MP-6000 TH FI";
const Text kSecondModel = "MP-2100 / MP-3000 / MP-4000 / MP-6100 / MP-7000 TH FI";

// The date of the "01/" + "mm/yyyy" text of a reference date, read back in the short form.
Date FirstOfMonth(Date reference) { return ParseDate("01/" + FormatDate(reference).substr(3)); }

// The coupon table as the daily finishing looks coupons up.
class CouponTableSource : public gen::CouponSource {
 public:
  explicit CouponTableSource(shell::TECFCupom& coupons) : coupons_(coupons) {}
  std::optional<gen::Customer> Find(const Text& serial, Date date, int32_t coo) override {
    return CouponLookup(coupons_, serial, date, coo);
  }

 private:
  shell::TECFCupom& coupons_;
};

}  // namespace

std::pair<Date, Date> DefaultDateRange(Date today) {
  unsigned day = static_cast<unsigned>(std::chrono::year_month_day{today}.day());
  Date first_of_month = FirstOfMonth(today);
  if (day <= 15) {
    Date last = ParseDate(FormatDate(first_of_month - std::chrono::days{1}));
    return {FirstOfMonth(last), last};
  }
  return {first_of_month, today - std::chrono::days{1}};
}

TfrmPrincipal::TfrmPrincipal(Application& application, gen::FiscalPrinter& printer,
                             Options options)
    : ui::Form("frmPrincipal", {0, 0, 497, 335}, application.GetScreen()),
      application_(application),
      printer_(printer),
      options_(std::move(options)) {
  LayOut();
  Connect();
  // The coupon table is open for as long as the window exists.
  TECFCupom.Open();
}

void TfrmPrincipal::LayOut() {
  SetText("KALORA PDV NFP - Geração Arquivo Nota Fiscal Paulista"_cp);
  GroupBox4.SetText(" Selecione o Modelo da Impressora Fiscal ");
  cmbModeloECF.SetItems({kFirstModel, kSecondModel});
  GroupBox2.SetText(" Selecione o Modo ");
  rdbCOO.SetText("por COO");
  rdbData.SetText("por Data");
  rdbData.SetChecked(true);
  CBDiario.SetText("Um Arquivo Por Dia");
  CBDiario.SetChecked(true);
  GroupBox1.SetText(" por COO ");
  Label1.SetText("COO Inicial:");
  Label2.SetText("COO Final:");
  ProgressBar1.SetRange(0, 4);
  Button1.SetText("Gerar");
  Button2.SetText("Sair");
  GroupBox3.SetText(" Dados do Cliente ");
  GroupBox3.SetVisible(false);
  Label3.SetText("Razão Social:"_cp);
  Label4.SetText("Endereço:"_cp);
  txtRazao.SetText("Empresa Teste S/A");
  txtEndereco.SetText("Rua XYZ, 1000");

  // The check box has no font of its own and takes its group box's bold one.
  for (ui::Control* bold : std::initializer_list<ui::Control*>{
           &GroupBox1, &GroupBox2, &GroupBox3, &GroupBox4, &CBDiario, &Button1}) {
    bold->SetBold(true);
  }
  for (ui::Control* hand : std::initializer_list<ui::Control*>{
           &rdbCOO, &rdbData, &dtpDataInicial, &dtpDataFinal, &Button1, &Button2}) {
    hand->SetHandCursor(true);
  }
}

void TfrmPrincipal::Connect() {
  auto handle = [this](void (TfrmPrincipal::*handler)()) {
    return [this, handler] { application_.Handle([this, handler] { (this->*handler)(); }); };
  };
  cmbModeloECF.on_change = handle(&TfrmPrincipal::cmbModeloECFChange);
  rdbCOO.on_click = handle(&TfrmPrincipal::rdbCOOClick);
  rdbData.on_click = handle(&TfrmPrincipal::rdbDataClick);
  Button1.on_click = handle(&TfrmPrincipal::Button1Click);
  Button2.on_click = handle(&TfrmPrincipal::Button2Click);
}

void TfrmPrincipal::FormCreate() {
  auto [first, last] = DefaultDateRange(options_.today());
  dtpDataFinal.SetDate(last);
  dtpDataInicial.SetDate(first);
  rdbDataClick();

  Company company = CompanyLookup(TParametro, TEmp);
  txtRazao.SetText(company.name);
  txtEndereco.SetText(company.address);
  company_known_ = true;

  cmbModeloECF.SetItemIndex(0);
  cmbModeloECFChange();
}

void TfrmPrincipal::rdbCOOClick() {
  GroupBox1.SetText(" por COO ");
  Label1.SetText("COO Inicial:");
  Label2.SetText("COO Final:");
  txtCOOInicial.SetVisible(true);
  txtCOOFinal.SetVisible(true);
  dtpDataInicial.SetVisible(false);
  dtpDataFinal.SetVisible(false);
}

void TfrmPrincipal::rdbDataClick() {
  GroupBox1.SetText(" por Data ");
  Label1.SetText("Data Inicial:");
  Label2.SetText("Data Final:");
  txtCOOInicial.SetVisible(false);
  txtCOOFinal.SetVisible(false);
  dtpDataInicial.SetVisible(true);
  dtpDataFinal.SetVisible(true);
}

void TfrmPrincipal::cmbModeloECFChange() { printer_.SetUsarMFD2(cmbModeloECF.GetText() != kFirstModel); }

void TfrmPrincipal::Button1Click() {
  gen::RunContext context{
      {*this, rdbCOO, rdbData, CBDiario, txtCOOInicial, txtCOOFinal, dtpDataInicial,
       dtpDataFinal, txtRazao, txtEndereco, ProgressBar1},
      printer_,
      [this](const Text& dia) { AdicionaCPF(dia); },
      application_.Title(),
      company_known_};
  gen::RunGeneration(context);
}

void TfrmPrincipal::Button2Click() { Close(); }

void TfrmPrincipal::AdicionaCPF(const Text& dia) {
  CouponTableSource coupons(TECFCupom);
  gen::AdicionaCPF(dia, coupons);
}

Text TfrmPrincipal::Nr2lt(const Text& texto) { return gen::Nr2lt(texto); }
Text TfrmPrincipal::DRRf(const Text& texto) { return gen::DRRf(texto); }
bool TfrmPrincipal::TestaCpf(const Text& numero) { return gen::TestaCpf(numero); }
bool TfrmPrincipal::TestaCgc(const Text& numero) { return gen::TestaCgc(numero); }

}  // namespace kalora::shell
