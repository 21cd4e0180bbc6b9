// The three store tables of the main window and the company and coupon lookups.
#include <gtest/gtest.h>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "shell/StoreTables.h"
#include "tests/store/StoreTestSupport.h"

namespace kalora::shell {
namespace {

using store::testing::ErrorOf;
using store::testing::TempFolder;
using store::testing::WriteDescribedTable;

const std::string kParametroLayout = R"(table Parametro.DB
version 7.x
codepage 1252
blocksize 2
field A15 Chave
field A60 Descricao
field A1 Tipo
field A60 Conteudo
field A20 Grupo
key 1
)";

const std::string kEmpLayout = R"(table Emp.DB
version 7.x
codepage 850
blocksize 4
field A10 Empresa
field A60 RazaoSocial
field A14 CGC
field A30 NomeRelatorio
field A20 InscEst
field A20 InscMunic
field A8 Cep
field A30 Bairro
field A40 Endereco
field I Numero
field A30 Cidade
field A2 UF
field A20 Fone
field A20 Fax
field A3 Pais
field A40 Email
field I NrEmpresa
field A40 Site
field A7 CodCidade
field A7 CNAE
field A100 NomeFantasia
field A100 Complemento
key 1
)";

std::string Company(const std::string& key, const std::string& name, const std::string& street, const std::string& number) {
  return "record " + key + "|" + name + "||||||Centro|" + street + "|" + number + "|São Paulo|SP||||||||||\n";
}

std::string CouponLayout(int key_fields) {
  return R"(table EcfCupom.DB
version 7.x
codepage 1252
blocksize 4
field A20 NFab
field D DtEmissao
field I COO
field I CCF
field $ SubTotal
field N Desconto
field N Acrescimo
field A1 TpDescto
field A1 TpAcrescimo
field A1 OrdemAD
field $ CanceladoAcresc
field A1 Cancelado
field I Cliente
field A18 ClienteCPF
field A40 ClienteNome
field A1 LetraMF
field I UsuarioECF
field A1 Situacao
key )" + std::to_string(key_fields) + "\n";
}

std::string Coupon(const std::string& serial, const std::string& date, int coo, const std::string& cpf,
                   const std::string& name) {
  return "record " + serial + "|" + date + "|" + std::to_string(coo) + "|" + std::to_string(coo) + "|10.5|0|0|||||N||" +
         cpf + "|" + name + "|||F\n";
}

struct CompanyCase {
  std::string name;
  std::string parametros;
  std::string empresas;
  std::string expected;  // "name / address" or the error
};

const CompanyCase kCompanyCases[] = {
    {"found", "record EMPRESA|Empresa da loja|C|002|Geral\n",
     Company("001", "Outra Ltda", "Rua A", "1") + Company("002", "Padaria Pão Quente Ltda", "Rua das Flores", "123"),
     "Padaria Pão Quente Ltda / Rua das Flores, 123"},
    {"number zero", "record EMPRESA|||001|\n", Company("001", "Loja", "Av. Brasil", "0"), "Loja / Av. Brasil, 0"},
    {"number null", "record EMPRESA|||001|\n", Company("001", "Loja", "Av. Brasil", ""), "Loja / Av. Brasil, S/N"},
    {"lower-case key", "record empresa|||001|\n", Company("001", "Loja", "Av. Brasil", "1"),
     "EDatabaseError TParametro: a tabela Parametro.DB não tem o parâmetro EMPRESA (nenhum registro com Chave "
     "\"EMPRESA\")"},
    {"no parameters", "", Company("001", "Loja", "Av. Brasil", "1"),
     "EDatabaseError TParametro: a tabela Parametro.DB não tem o parâmetro EMPRESA (nenhum registro com Chave "
     "\"EMPRESA\")"},
    {"no such company", "record AAA|||001|\nrecord EMPRESA|||003|\n", Company("001", "Loja", "Av. Brasil", "1"),
     "EDatabaseError TEmp: a tabela Emp.DB não tem a empresa \"003\" indicada pelo parâmetro EMPRESA"},
    {"no companies", "record EMPRESA|||001|\n", "",
     "EDatabaseError TEmp: a tabela Emp.DB não tem a empresa \"001\" indicada pelo parâmetro EMPRESA"},
};

TEST(CompanyLookup, FindsTheCompanyOfTheParameterOrSaysWhatIsMissing) {
  for (const auto& c : kCompanyCases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    WriteDescribedTable(folder.Path(), kParametroLayout + c.parametros);
    WriteDescribedTable(folder.Path(), kEmpLayout + c.empresas);
    TParametro parametro;
    TEmp emp;
    parametro.OpenIn(folder.Path());
    emp.OpenIn(folder.Path());
    std::string result;
    const std::string error = ErrorOf([&] {
      const auto company = CompanyLookup(parametro, emp);
      result = Cp1252ToUtf8(company.name) + " / " + Cp1252ToUtf8(company.address);
    });
    EXPECT_EQ(error == "no error" ? result : Cp1252ToUtf8(error), c.expected);
  }
}

class CouponLookupTest : public ::testing::Test {
 protected:
  void Write(int key_fields) {
    std::string coupons = Coupon(kSerial, "2026-11-01", 1001, "123.456.789-09", "José Açaí");
    if (key_fields >= 3) {
      coupons += Coupon(kSerial, "2026-11-01", 1002, "", "") +
                 Coupon(kSerial, "2026-11-02", 1003, "11222333000181", "Empresa X Ltda") +
                 Coupon("BE091010100011223345", "2026-11-01", 1001, "1", "Outra impressora");
    }
    WriteDescribedTable(folder_.Path(), CouponLayout(key_fields) + coupons);
    cupom_.OpenIn(folder_.Path());
  }

  static constexpr char kSerial[] = "BE091010100011223344";
  TempFolder folder_;
  TECFCupom cupom_;
};

TEST_F(CouponLookupTest, FindsTheCouponByItsExactKey) {
  Write(3);
  const Date day1 = ParseDate("01/11/2026");
  const Date day2 = ParseDate("02/11/2026");
  auto found = CouponLookup(cupom_, kSerial, day1, 1001);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->cpf, "123.456.789-09");
  EXPECT_EQ(found->nome, "José Açaí"_cp);
  found = CouponLookup(cupom_, kSerial, day1, 1002);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->cpf, "");
  EXPECT_EQ(found->nome, "");
  found = CouponLookup(cupom_, "BE091010100011223345", day1, 1001);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->nome, "Outra impressora");

  struct Miss {
    const char* serial;
    Date date;
    std::int32_t coo;
  };
  for (const Miss& miss : {Miss{kSerial, day2, 1001}, Miss{kSerial, day1, 1003}, Miss{"be091010100011223344", day1, 1001},
                           Miss{"BE09101010001122334", day1, 1001}, Miss{"BE091010100011223344 ", day1, 1001},
                           Miss{kSerial, day1, -1001}, Miss{"", day1, 1001}}) {
    SCOPED_TRACE(std::string(miss.serial) + " " + FormatDate(miss.date) + " " + std::to_string(miss.coo));
    EXPECT_FALSE(CouponLookup(cupom_, miss.serial, miss.date, miss.coo));
  }
}

TEST_F(CouponLookupTest, AnIndexOfFewerThanThreeFieldsIsOutOfRange) {
  Write(2);
  EXPECT_EQ(ErrorOf([&] { CouponLookup(cupom_, kSerial, ParseDate("01/11/2026"), 1001); }),
            "EDatabaseError TECFCupom: Field index out of range");
}

TEST_F(CouponLookupTest, AnUnkeyedTableHasNoIndex) {
  Write(0);
  EXPECT_EQ(ErrorOf([&] { CouponLookup(cupom_, kSerial, ParseDate("01/11/2026"), 1001); }),
            "EDatabaseError TECFCupom: No index currently active");
}

TEST(StoreTables, OpeningChecksTheDeclaredFields) {
  TempFolder folder;
  std::string layout = CouponLayout(3);
  layout.replace(layout.find("field I COO"), 11, "field A6 COO");
  WriteDescribedTable(folder.Path(), layout);
  TECFCupom cupom;
  EXPECT_EQ(ErrorOf([&] { cupom.OpenIn(folder.Path()); }),
            "EDatabaseError TECFCupom: Type mismatch for field 'COO', expecting: Integer actual: String");

  std::string without = kParametroLayout;
  without.replace(without.find("field A20 Grupo\n"), 16, "");
  WriteDescribedTable(folder.Path(), without);
  TParametro parametro;
  EXPECT_EQ(ErrorOf([&] { parametro.OpenIn(folder.Path()); }), "EDatabaseError TParametro: Field 'Grupo' not found");
}

}  // namespace
}  // namespace kalora::shell
