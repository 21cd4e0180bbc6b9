// Table components: declared fields checked at opening, moves by value and by key, values as text.
#include <gtest/gtest.h>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "store/Table.h"
#include "tests/store/StoreTestSupport.h"

namespace kalora::store {
namespace {

using testing::TempFolder;
using testing::WriteDescribedTable;

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const PlatformError& error) {
    return error.Kind() + " " + error.what();
  }
  return "no error";
}

// A small keyed table in code page 850 with one field of each kind the shop's tables use.
const char kItems[] = R"(table Itens.DB
version 7.x
codepage 850
blocksize 1
field A10 Codigo
field I Numero
field S Pequeno
field $ Preco
field N Peso
field D Data
field @ Momento
field A60 Nome
key 2
record B|2|7|1.5|2.25|2026-11-02|2026-11-02 10:20:30|Ação Ímpar
record A|1||0|-3|2026-11-01||
record A|2||||||Segundo
record a|1||||||minúsculo
)";

struct FieldCheckCase {
  std::vector<FieldDeclaration> declared;
  std::string expected;  // "no error" or the error
};

const FieldCheckCase kFieldChecks[] = {
    {{{"Codigo", FieldKind::kString}, {"Numero", FieldKind::kInteger}}, "no error"},
    {{{"codigo", FieldKind::kString}, {"NUMERO", FieldKind::kInteger}}, "no error"},
    {{{"Numero", FieldKind::kSmallInt}, {"Pequeno", FieldKind::kInteger}}, "no error"},
    {{{"Preco", FieldKind::kFloat}, {"Peso", FieldKind::kCurrency}}, "no error"},
    {{{"Data", FieldKind::kDateTime}, {"Momento", FieldKind::kDate}}, "no error"},
    {{{"Codigo", FieldKind::kString}, {"Falta", FieldKind::kString}}, "EDatabaseError TItens: Field 'Falta' not found"},
    {{{"Numero", FieldKind::kString}},
     "EDatabaseError TItens: Type mismatch for field 'Numero', expecting: String actual: Integer"},
    {{{"Codigo", FieldKind::kInteger}},
     "EDatabaseError TItens: Type mismatch for field 'Codigo', expecting: Integer actual: String"},
    {{{"Preco", FieldKind::kInteger}},
     "EDatabaseError TItens: Type mismatch for field 'Preco', expecting: Integer actual: Currency"},
    {{{"Peso", FieldKind::kDate}}, "EDatabaseError TItens: Type mismatch for field 'Peso', expecting: Date actual: Float"},
    {{{"Momento", FieldKind::kFloat}},
     "EDatabaseError TItens: Type mismatch for field 'Momento', expecting: Float actual: DateTime"},
};

class TableTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteDescribedTable(folder_.Path(), kItems); }

  std::unique_ptr<Table> OpenItems(std::vector<FieldDeclaration> declared) {
    auto table = std::make_unique<Table>("TItens", "ITENS.DB", "Kalora", std::move(declared));
    table->OpenIn(folder_.Path());
    return table;
  }

  std::unique_ptr<Table> OpenAll() {
    return OpenItems({{"Codigo", FieldKind::kString},
                      {"Numero", FieldKind::kInteger},
                      {"Pequeno", FieldKind::kSmallInt},
                      {"Preco", FieldKind::kCurrency},
                      {"Peso", FieldKind::kFloat},
                      {"Data", FieldKind::kDate},
                      {"Momento", FieldKind::kDateTime},
                      {"Nome", FieldKind::kString}});
  }

  TempFolder folder_;
};

TEST_F(TableTest, OpeningChecksEveryDeclaredField) {
  for (const auto& check : kFieldChecks) {
    SCOPED_TRACE(check.expected);
    EXPECT_EQ(ErrorOf([&] { OpenItems(check.declared); }), check.expected);
  }
}

TEST_F(TableTest, AfterOpeningTheFirstRecordInKeyOrderIsCurrent) {
  auto table = OpenAll();
  EXPECT_EQ(table->AsText("Codigo"), "A");
  EXPECT_EQ(table->AsText("Numero"), "1");
  EXPECT_TRUE(table->IsNull("Pequeno"));
  EXPECT_EQ(table->AsText("Pequeno"), "");
  EXPECT_FALSE(table->IsNull("Preco"));  // zero is a value
  EXPECT_EQ(table->AsText("Preco"), "0");
  EXPECT_EQ(table->AsText("Peso"), "-3");
  EXPECT_EQ(table->AsText("Data"), "01/11/2026");
  EXPECT_TRUE(table->IsNull("Nome"));
}

TEST_F(TableTest, LocateMatchesTheWholeValueWithCase) {
  auto table = OpenAll();
  EXPECT_TRUE(table->Locate("Codigo", "B"));
  EXPECT_EQ(table->AsText("Nome"), "Ação Ímpar"_cp);  // from code page 850, not cut
  EXPECT_EQ(table->AsText("Momento"), "02/11/2026 10:20:30");
  EXPECT_EQ(table->AsText("Pequeno"), "7");
  EXPECT_EQ(table->AsText("Preco"), "1.5");

  EXPECT_TRUE(table->Locate("Codigo", "a"));
  EXPECT_EQ(table->AsText("Nome"), "minúsculo"_cp);
  EXPECT_TRUE(table->Locate("Codigo", "A"));  // the first of two
  EXPECT_EQ(table->AsText("Numero"), "1");
  EXPECT_TRUE(table->Locate("Nome", "Segundo"));
  EXPECT_TRUE(table->Locate("Numero", "2"));
  EXPECT_EQ(table->AsText("Codigo"), "A");

  for (const char* missing : {"b", "Segund", "Segundo ", "C"}) {
    SCOPED_TRACE(missing);
    ASSERT_TRUE(table->Locate("Codigo", "B"));
    EXPECT_FALSE(table->Locate("Nome", missing));
    EXPECT_EQ(table->AsText("Codigo"), "B");  // unchanged
  }
}

TEST_F(TableTest, FindKeyMatchesTheLeadingKeyFields) {
  auto table = OpenAll();
  EXPECT_TRUE(table->FindKey({Text("A"), std::int32_t{2}}));
  EXPECT_EQ(table->AsText("Nome"), "Segundo");
  EXPECT_TRUE(table->FindKey({Text("B")}));
  EXPECT_EQ(table->AsText("Numero"), "2");
  EXPECT_TRUE(table->FindKey({Text("A")}));
  EXPECT_EQ(table->AsText("Numero"), "1");  // the first in key order
  EXPECT_FALSE(table->FindKey({Text("A"), std::int32_t{3}}));
  EXPECT_FALSE(table->FindKey({Text("ação")}));  // no such key; 'ç' fits code page 850
  EXPECT_FALSE(table->FindKey({Text("€")}));     // '€' has no byte in code page 850
  EXPECT_FALSE(table->FindKey({Text("ABCDEFGHIJK")}));  // longer than the field
  EXPECT_EQ(ErrorOf([&] { table->FindKey({Text("A"), std::int32_t{1}, std::int32_t{1}}); }),
            "EDatabaseError TItens: Field index out of range");
  EXPECT_EQ(ErrorOf([&] { table->FindKey({std::int32_t{1}}); }),
            "EDatabaseError TItens: Type mismatch for field 'Codigo', expecting: String actual: Integer");
}

TEST_F(TableTest, ErrorsNameTheComponentAndWhatFailed) {
  auto table = OpenAll();
  EXPECT_EQ(ErrorOf([&] { table->AsText("Nada"); }), "EDatabaseError TItens: Field 'Nada' not found");

  Table unkeyed("TDatas", "date35.db", "Kalora", {{"DATE", FieldKind::kDate}});
  unkeyed.OpenIn(testing::SamplePath("fields"));
  EXPECT_EQ(ErrorOf([&] { unkeyed.FindKey({Text("x")}); }), "EDatabaseError TDatas: No index currently active");

  Table missing("TFalta", "Falta.DB", "Kalora", {});
  EXPECT_NE(ErrorOf([&] { missing.OpenIn(folder_.Path()); }).find("EDBEngineError TFalta: table file not found: "),
            std::string::npos);
  EXPECT_FALSE(missing.Active());

  Table closed("TFechada", "ITENS.DB", "Kalora", {});
  EXPECT_EQ(ErrorOf([&] { closed.Locate("Codigo", "A"); }),
            "EDatabaseError TFechada: Cannot perform this operation on a closed dataset");

  Table encrypted("TSenha", "encrypted.db", "Kalora", {});
  const std::string refused = ErrorOf([&] { encrypted.OpenIn(testing::SamplePath("encrypt")); });
  EXPECT_EQ(refused.rfind("EDBEngineError TSenha: ", 0), 0u) << refused;
  EXPECT_NE(refused.find("encrypted.db: the table is password-protected"), std::string::npos) << refused;
}

TEST(TableCodePages, OldTablesUseTheDefaultOrTheOverride) {
  TempFolder folder;
  WriteDescribedTable(folder.Path(), "table Velha.DB\nversion 3.0\ncodepage 850\nfield A10 Nome\nrecord \xC3\xA7\n");  // "ç" in 850: 0x87
  Table table("TVelha", "Velha.DB", "Kalora", {{"Nome", FieldKind::kString}});
  table.OpenIn(folder.Path());
  EXPECT_EQ(table.AsText("Nome"), "ç"_cp);
  table.Close();
  table.SetDefaultCodePage(437);  // 0x87 is "ç" in 437 too; 1252 reads it as "‡"
  table.OpenIn(folder.Path());
  EXPECT_EQ(table.AsText("Nome"), "ç"_cp);
  table.Close();
  table.SetDefaultCodePage(1252);
  table.OpenIn(folder.Path());
  EXPECT_EQ(table.AsText("Nome"), "‡"_cp);
}

}  // namespace
}  // namespace kalora::store
