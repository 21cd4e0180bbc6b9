#include "shell/StoreTables.h"

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

namespace kalora::shell {
namespace {

using store::FieldKind;

constexpr char kCompanyParameter[] = "EMPRESA";

}  // namespace

TParametro::TParametro()
    : Table("TParametro", "Parametro.DB", "KaloraLocal",
            {
                {"Chave", FieldKind::kString},
                {"Descricao", FieldKind::kString},
                {"Tipo", FieldKind::kString},
                {"Conteudo", FieldKind::kString},
                {"Grupo", FieldKind::kString},
            }) {}

TEmp::TEmp()
    : Table("TEmp", "Emp.DB", "Kalora",
            {
                {"Empresa", FieldKind::kString},       {"RazaoSocial", FieldKind::kString},
                {"CGC", FieldKind::kString},           {"NomeRelatorio", FieldKind::kString},
                {"InscEst", FieldKind::kString},       {"InscMunic", FieldKind::kString},
                {"Cep", FieldKind::kString},           {"Bairro", FieldKind::kString},
                {"Endereco", FieldKind::kString},      {"Numero", FieldKind::kInteger},
                {"Cidade", FieldKind::kString},        {"UF", FieldKind::kString},
                {"Fone", FieldKind::kString},          {"Fax", FieldKind::kString},
                {"Pais", FieldKind::kString},          {"Email", FieldKind::kString},
                {"NrEmpresa", FieldKind::kInteger},    {"Site", FieldKind::kString},
                {"CodCidade", FieldKind::kString},     {"CNAE", FieldKind::kString},
                {"NomeFantasia", FieldKind::kString},  {"Complemento", FieldKind::kString},
            }) {}

TECFCupom::TECFCupom()
    : Table("TECFCupom", "EcfCupom.DB", "Kalora",
            {
                {"NFab", FieldKind::kString},           {"DtEmissao", FieldKind::kDate},
                {"COO", FieldKind::kInteger},           {"CCF", FieldKind::kInteger},
                {"SubTotal", FieldKind::kCurrency},     {"Desconto", FieldKind::kFloat},
                {"Acrescimo", FieldKind::kFloat},       {"TpDescto", FieldKind::kString},
                {"TpAcrescimo", FieldKind::kString},    {"OrdemAD", FieldKind::kString},
                {"CanceladoAcresc", FieldKind::kCurrency}, {"Cancelado", FieldKind::kString},
                {"Cliente", FieldKind::kInteger},       {"ClienteCPF", FieldKind::kString},
                {"ClienteNome", FieldKind::kString},    {"LetraMF", FieldKind::kString},
                {"UsuarioECF", FieldKind::kInteger},    {"Situacao", FieldKind::kString},
            }) {}

Company CompanyLookup(TParametro& parametro, TEmp& emp) {
  parametro.Open();
  emp.Open();
  if (!parametro.Locate("Chave", kCompanyParameter)) {
    throw PlatformError("EDatabaseError", "TParametro: a tabela Parametro.DB não tem o parâmetro EMPRESA "
                                          "(nenhum registro com Chave \"EMPRESA\")"_cp);
  }
  const Text key = parametro.AsText("Conteudo");
  if (!emp.Locate("Empresa", key)) {
    throw PlatformError("EDatabaseError", "TEmp: a tabela Emp.DB não tem a empresa \""_cp + key +
                                              "\" indicada pelo parâmetro EMPRESA"_cp);
  }
  Company company;
  company.name = emp.AsText("RazaoSocial");
  company.address = emp.AsText("Endereco") + ", " + (emp.IsNull("Numero") ? Text("S/N") : emp.AsText("Numero"));
  return company;
}

std::optional<gen::Customer> CouponLookup(TECFCupom& cupom, const Text& serial, Date date, std::int32_t coo) {
  if (!cupom.FindKey({serial, date, coo})) return std::nullopt;
  return gen::Customer{cupom.AsText("ClienteCPF"), cupom.AsText("ClienteNome")};
}

}  // namespace kalora::shell
