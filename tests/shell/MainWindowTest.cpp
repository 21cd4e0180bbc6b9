// The main window without a screen: its creation handler, its looks and its handlers.
#include "shell/pasPrincipal.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "tests/shell/ShopFixture.h"
#include "tools/QuietPrinter.h"
#include "ui/headless/HeadlessScreen.h"

namespace kalora::shell {
namespace {

Date D(int y, unsigned m, unsigned d) { return *MakeDate(y, m, d); }

TEST(DefaultDateRange, PreviousMonthUpToThe15thCurrentMonthFromThe16th) {
  struct Case {
    Date today, first, last;
  } cases[] = {
      {D(2010, 3, 15), D(2010, 2, 1), D(2010, 2, 28)},
      {D(2010, 3, 16), D(2010, 3, 1), D(2010, 3, 15)},
      {D(2011, 1, 1), D(2010, 12, 1), D(2010, 12, 31)},
      {D(2012, 3, 10), D(2012, 2, 1), D(2012, 2, 29)},
      {D(2026, 12, 31), D(2026, 12, 1), D(2026, 12, 30)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(FormatDate(c.today));
    EXPECT_EQ(DefaultDateRange(c.today), std::pair(c.first, c.last));
  }
}

class MainWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<TfrmPrincipal> Create(Date today = D(2010, 3, 15)) {
    application_.SetTitle("Kalora PDV NFP");
    auto form = std::make_unique<TfrmPrincipal>(application_, printer_,
                                                TfrmPrincipal::Options{[today] { return today; }});
    application_.Handle([&] { form->FormCreate(); });
    return form;
  }

  ui::HeadlessScreen screen_;
  Application application_{screen_};
  tools::QuietPrinter printer_;
};

TEST_F(MainWindowTest, OpensInDateModeWithTheCompanyAndTheFirstModel) {
  test::Shop shop;
  auto form = Create(D(2010, 3, 15));
  EXPECT_TRUE(screen_.Boxes().empty());
  EXPECT_EQ(form->GetText(), "KALORA PDV NFP - Geração Arquivo Nota Fiscal Paulista"_cp);
  EXPECT_EQ(form->dtpDataInicial.GetDate(), D(2010, 2, 1));
  EXPECT_EQ(form->dtpDataFinal.GetDate(), D(2010, 2, 28));
  EXPECT_TRUE(form->rdbData.Checked());
  EXPECT_FALSE(form->rdbCOO.Checked());
  EXPECT_TRUE(form->CBDiario.Checked());
  EXPECT_EQ(form->GroupBox1.GetText(), " por Data ");
  EXPECT_EQ(form->Label1.GetText(), "Data Inicial:");
  EXPECT_EQ(form->Label2.GetText(), "Data Final:");
  EXPECT_FALSE(form->txtCOOInicial.Visible());
  EXPECT_FALSE(form->txtCOOFinal.Visible());
  EXPECT_TRUE(form->dtpDataInicial.Visible());
  EXPECT_TRUE(form->dtpDataFinal.Visible());
  EXPECT_EQ(form->cmbModeloECF.ItemIndex(), 0);
  EXPECT_EQ(form->cmbModeloECF.GetText(), "MP-2000 / MP-6000 TH FI");
  EXPECT_FALSE(printer_.UsarMFD2());
  EXPECT_FALSE(form->GroupBox3.Showing());
  EXPECT_FALSE(form->txtRazao.Showing());
  EXPECT_EQ(form->txtRazao.GetText(), "Kalora Comércio de Alimentos Ltda"_cp);
  EXPECT_EQ(form->txtEndereco.GetText(), "Avenida Paulista, 1578");
  EXPECT_TRUE(form->CompanyKnown());
}

TEST_F(MainWindowTest, RadioButtonsSwitchTheLookAndTheComboSteersTheModelFlag) {
  test::Shop shop;
  auto form = Create();
  form->rdbCOO.Click();
  EXPECT_EQ(form->GroupBox1.GetText(), " por COO ");
  EXPECT_EQ(form->Label1.GetText(), "COO Inicial:");
  EXPECT_EQ(form->Label2.GetText(), "COO Final:");
  EXPECT_TRUE(form->txtCOOInicial.Visible());
  EXPECT_FALSE(form->dtpDataFinal.Visible());
  EXPECT_TRUE(form->CBDiario.Visible());  // the mode handlers leave it alone
  EXPECT_FALSE(form->rdbData.Checked());
  form->rdbData.Click();
  EXPECT_EQ(form->GroupBox1.GetText(), " por Data ");
  EXPECT_TRUE(form->dtpDataInicial.Visible());

  form->cmbModeloECF.Select(1);
  EXPECT_TRUE(printer_.UsarMFD2());
  form->cmbModeloECF.Select(0);
  EXPECT_FALSE(printer_.UsarMFD2());

  form->txtCOOInicial.Type("12345678");
  EXPECT_EQ(form->txtCOOInicial.GetText(), "123456");

  form->Button2.Click();
  EXPECT_TRUE(form->Closed());
}

TEST_F(MainWindowTest, ACompanyWithoutNumberGetsSN) {
  test::Shop shop("002");
  auto form = Create();
  EXPECT_EQ(form->txtRazao.GetText(), "Filial Sem Número Ltda"_cp);
  EXPECT_EQ(form->txtEndereco.GetText(), "Praça da Sé, S/N"_cp);
}

TEST_F(MainWindowTest, AFailedCreationHandlerLeavesThePlaceholdersAndNoModel) {
  for (const char* key : {"", "404"}) {
    SCOPED_TRACE(key);
    screen_.Clear();
    test::Shop shop(key);
    auto form = Create();
    ASSERT_EQ(screen_.Boxes().size(), 1u);
    EXPECT_EQ(screen_.Boxes()[0].icon, ui::BoxIcon::Stop);
    EXPECT_EQ(screen_.Boxes()[0].title, "Kalora PDV NFP");
    EXPECT_FALSE(form->CompanyKnown());
    EXPECT_EQ(form->txtRazao.GetText(), "Empresa Teste S/A");
    EXPECT_EQ(form->txtEndereco.GetText(), "Rua XYZ, 1000");
    EXPECT_EQ(form->cmbModeloECF.ItemIndex(), -1);
    EXPECT_FALSE(printer_.UsarMFD2());
    EXPECT_EQ(form->GroupBox1.GetText(), " por Data ");  // the date part ran before the lookup
  }
}

TEST_F(MainWindowTest, ACouponTableThatCannotOpenKeepsTheWindowFromExisting) {
  test::Shop shop;
  std::filesystem::remove(shop.StoreFolder() / "EcfCupom.DB");
  try {
    Create();
    FAIL() << "the window was built";
  } catch (const PlatformError& error) {
    EXPECT_TRUE(Text(error.what()).starts_with("TECFCupom: ")) << error.what();
    ui::MessageBox box = StartupErrorBox(error, "KaloraNFP.exe", reinterpret_cast<void*>(0x45A1B2));
    EXPECT_EQ(box.title, "Erro da Aplicação"_cp);
    EXPECT_EQ(box.icon, ui::BoxIcon::Stop);
    EXPECT_TRUE(box.text.starts_with("Exceção "_cp + error.Kind() +
                                     " no módulo KaloraNFP.exe em 0045A1B2.\r\nTECFCupom: "_cp))
        << box.text;
  }
}

}  // namespace
}  // namespace kalora::shell
