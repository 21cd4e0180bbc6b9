// Table components: declared fields checked at opening, moves by value and by key, values as text.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "store/Table.h"
#include "tests/store/StoreTestSupport.h"

namespace kalora::store {
namespace {

using testing::ErrorOf;
using testing::TempFolder;
using testing::WriteDescribedTable;

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

// Lookups that follow one another through a block are answered from it, the others through
// the index; in any order, a key finds the first record in key order that starts with it.
TEST(TableKeyOrder, EveryOrderOfLookupsGetsTheSameAnswers) {
  // Groups of 24 records (even numbers, every fifth missing) over blocks of 18 records.
  std::string description =
      "table Grupos.DB\nversion 7.x\ncodepage 1252\nblocksize 1\nfield A10 Grupo\nfield I Numero\n"
      "field A40 Nome\nkey 2\n";
  std::map<std::pair<Text, int>, Text> records;
  for (const Text group : {"B", "D", "F", "H"}) {
    for (int n = 1; n <= 30; ++n) {
      if (n % 5 == 0) continue;
      const Text name = group + "-" + std::to_string(n);
      records[{group, 2 * n}] = name;
      description += "record " + group + "|" + std::to_string(2 * n) + "|" + name + "\n";
    }
  }
  TempFolder folder;
  WriteDescribedTable(folder.Path(), description);
  Table table("TGrupos", "Grupos.DB", "Kalora",
              {{"Grupo", FieldKind::kString}, {"Numero", FieldKind::kInteger}, {"Nome", FieldKind::kString}});
  table.OpenIn(folder.Path());

  struct Lookup {
    Text group;
    std::optional<int> number;  // none: the group alone
    Text expected;              // the record's name; empty when there is none
  };
  std::vector<Lookup> lookups;
  std::map<Text, Lookup> group_alone;
  for (const Text group : {"A", "B", "C", "D", "F", "H", "I"}) {
    auto first = records.lower_bound({group, 0});
    group_alone[group] = {group, std::nullopt, first != records.end() && first->first.first == group ? first->second : ""};
    lookups.push_back(group_alone[group]);
    for (int number = 0; number <= 62; ++number) {
      auto found = records.find({group, number});
      lookups.push_back({group, number, found != records.end() ? found->second : ""});
    }
  }
  const auto check = [&](const Lookup& lookup) {
    SCOPED_TRACE(lookup.group + " " + (lookup.number ? std::to_string(*lookup.number) : "alone"));
    const bool found = lookup.number ? table.FindKey({lookup.group, *lookup.number}) : table.FindKey({lookup.group});
    EXPECT_EQ(found, !lookup.expected.empty());
    if (found) {
      EXPECT_EQ(table.AsText("Nome"), lookup.expected);
    }
  };
  for (const Lookup& lookup : lookups) check(lookup);
  for (auto lookup = lookups.rbegin(); lookup != lookups.rend(); ++lookup) check(*lookup);
  for (std::size_t i = 0; i < lookups.size(); ++i) check(lookups[i * 37 % lookups.size()]);  // 37: prime to the count
  for (const Lookup& lookup : lookups) {
    check(lookup);
    check(group_alone[lookup.group]);  // from inside its group: the group's first record may lie blocks before
  }
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
