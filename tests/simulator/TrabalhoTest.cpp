// The simulator's work files: the download's ranges, the mirror's lines and positions as the
// generation run reads them, and type-E records that pass the state validator.
#include "simulator/Trabalho.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/TestEnvironment.h"
#include "TipoEValidator.h"
#include "runtime/Text.h"
#include "runtime/TextLines.h"

namespace kalora::sim {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using kalora::testing::Fixture;
using kalora::testing::ReadFile;
using kalora::testing::RecordsOf;
using kalora::testing::ValidaTipoE;

Memoria Pequena() { return ReadMemoria(Fixture("simulator/memoria-pequena.txt").string()); }

std::vector<int32_t> Coos(const Memoria& memoria) {
  std::vector<int32_t> coos;
  for (const Cupom& cupom : memoria.cupons) coos.push_back(cupom.coo);
  return coos;
}

Text Joined(const std::vector<Text>& lines) {
  Text text;
  for (const Text& line : lines) text += line + "\r\n";
  return text;
}

TEST(TrabalhoTest, DownloadServesTheCouponsOfItsRange) {
  struct Case {
    const char* tipo;
    const char* inicial;
    const char* final_;
    std::vector<int32_t> coos;
  };
  const Case kCases[] = {
      {"2", "001001", "001003", {1001, 1002, 1003}},
      {"2", "1004", "999999", {1004, 1005}},
      {"2", "5", "10", {}},
      {"2", "1003", "1003", {1003}},
      {"1", "02112026", "02112026", {1003, 1004, 1005}},
      {"1", "01102026", "01112026", {1001, 1002}},
      {"1", "03112026", "30112026", {}},
  };
  const Memoria memoria = Pequena();
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.tipo) + " " + c.inicial + " " + c.final_);
    Text text = DownloadMFD(memoria, c.tipo, c.inicial, c.final_);
    Memoria served = ParseMemoria("#" + text, "Download.MFD");
    EXPECT_THAT(Coos(served), ElementsAreArray(c.coos));
    EXPECT_EQ(served.serie, memoria.serie);
    if (!c.coos.empty()) {
      EXPECT_EQ(served.cupons.front().crz, c.coos.front() < 1003 ? 120 : 121);
    }
  }
}

TEST(TrabalhoTest, DownloadRefusesARangeItCannotServe) {
  struct Case {
    const char* tipo;
    const char* inicial;
    const char* final_;
    const char* message;
  };
  const Case kCases[] = {
      {"2", "12a", "20", "first COO '12a' is not a COO number"},
      {"2", "20", nullptr, "last COO 'NULL' is not a COO number"},
      {"2", "20", "12", "the first COO comes after the last"},
      {"1", "31112026", "30112026", "first date '31112026' is not ddmmyyyy"},
      {"1", "01/11/2026", "30112026", "first date '01/11/2026' is not ddmmyyyy"},
      {"1", "02112026", "01112026", "the first date comes after the last"},
      {"3", "1", "2", "download kind '3' is neither \"1\" nor \"2\""},
      {nullptr, "1", "2", "download kind 'NULL' is neither \"1\" nor \"2\""},
  };
  const Memoria memoria = Pequena();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.message);
    try {
      DownloadMFD(memoria, c.tipo, c.inicial, c.final_);
      ADD_FAILURE() << "served";
    } catch (const PedidoInvalido& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

// The mirror as the generation run reads it: line by line without its empty lines, then
// loaded whole as a list.
std::vector<Text> AsTheRunReadsIt(const Text& mirror) {
  MemoryInput input(mirror);
  LineReader reader(input);
  Text kept;
  for (Text line; reader.ReadLine(line);) {
    if (!line.empty()) kept += line + "\r\n";
  }
  return SplitList(kept);
}

TEST(TrabalhoTest, MirrorHoldsTheRangesDatesWhereEachFamilyIsRead) {
  struct Case {
    Familia familia;
    int32_t first, last;
    const char* first_date;
    const char* last_date;
  };
  const Case kCases[] = {
      {Familia::kPrimeira, 1001, 1005, "01/11/2026", "02/11/2026"},
      {Familia::kSegunda, 1001, 1005, "01/11/2026", "02/11/2026"},
      {Familia::kPrimeira, 1002, 1002, "01/11/2026", "01/11/2026"},
      {Familia::kSegunda, 1003, 2000, "02/11/2026", "02/11/2026"},
  };
  const Memoria memoria = Pequena();
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.first) + "-" + std::to_string(c.last) +
                 (c.familia == Familia::kPrimeira ? " first family" : " second family"));
    std::vector<Text> lines = AsTheRunReadsIt(Joined(Espelho(memoria, c.familia, c.first, c.last)));
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(Slice(lines[7], 1, 10), c.first_date);
    if (c.familia == Familia::kPrimeira) {
      EXPECT_EQ(Slice(lines[lines.size() - 3], 29, 38), c.last_date);
      EXPECT_NE(Slice(lines[lines.size() - 2], 20, 29), c.last_date);
    } else {
      EXPECT_EQ(Slice(lines[lines.size() - 2], 20, 29), c.last_date);
      EXPECT_NE(Slice(lines[lines.size() - 3], 29, 38), c.last_date);
    }
  }
}

TEST(TrabalhoTest, MirrorHasEmptyLinesBetweenSectionsAndMatchesItsGoldenFile) {
  const Memoria memoria = Pequena();
  for (auto [familia, golden] : {std::pair{Familia::kPrimeira, "simulator/Espelho-familia1.TXT"},
                                 std::pair{Familia::kSegunda, "simulator/Espelho-familia2.TXT"}}) {
    SCOPED_TRACE(golden);
    Text mirror = Joined(Espelho(memoria, familia, 1001, 1005));
    EXPECT_NE(mirror.find("\r\n\r\n"), Text::npos);
    EXPECT_EQ(mirror, ReadFile(Fixture(golden)));
  }
}

TEST(TrabalhoTest, RecordsMatchTheirGoldenFileAndPassTheValidator) {
  std::vector<Text> records =
      RegistrosTipoE(Pequena(), *TryParseDate("01/11/2026"), *TryParseDate("02/11/2026"),
                     "Padaria Kalora Ltda", "Rua das Flores, 100 - Centro - Sao Paulo/SP");
  EXPECT_THAT(ValidaTipoE(records), IsEmpty());
  EXPECT_EQ(Joined(records), ReadFile(Fixture("simulator/CTP1704.txt")));
  std::vector<std::string> types;
  for (const Text& record : records) types.push_back(record.substr(0, 3));
  EXPECT_THAT(types, ElementsAreArray({"E01", "E02", "E14", "E14", "E14", "E14", "E14", "E15",
                                       "E15", "E15", "E15", "E15", "E15", "E15", "E15", "E21",
                                       "E21", "E21", "E21", "E21", "E21"}));
}

TEST(TrabalhoTest, RecordsOfOneDayHoldThatDaysCouponsOnly) {
  std::vector<Text> records = RegistrosTipoE(Pequena(), *TryParseDate("02/11/2026"),
                                             *TryParseDate("02/11/2026"), "Padaria", "Rua A");
  EXPECT_THAT(ValidaTipoE(records), IsEmpty());
  std::vector<Text> coos;
  for (const Text& record : records) {
    if (record.substr(0, 3) == "E14") coos.push_back(Slice(record, 53, 58));
  }
  EXPECT_THAT(coos, ElementsAreArray({"001003", "001004", "001005"}));
  EXPECT_EQ(Slice(records[0], 116, 127), "000121000121") << "Z counters of the day";
}

TEST(TrabalhoTest, CompanyTextsAreCutToTheirFieldsAndBlankWhenMissing) {
  Text razao(60, 'R');
  Text endereco(130, 'E');
  std::vector<Text> records =
      RegistrosTipoE(Pequena(), *TryParseDate("01/11/2026"), *TryParseDate("01/11/2026"), razao, endereco);
  EXPECT_EQ(Slice(records[1], 73, 112), Text(40, 'R'));
  EXPECT_EQ(Slice(records[1], 113, 232), Text(120, 'E'));
  records = RegistrosTipoE(Pequena(), *TryParseDate("01/11/2026"), *TryParseDate("01/11/2026"), "", "");
  EXPECT_EQ(records[1].size(), 272u);
  EXPECT_THAT(ValidaTipoE(records), ::testing::Contains("line 2: E02 company name blank"));
}

TEST(TrabalhoTest, ValidatorFindsTheFaultsItLooksFor) {
  const std::vector<Text> good =
      RegistrosTipoE(Pequena(), *TryParseDate("01/11/2026"), *TryParseDate("02/11/2026"), "P", "R");
  struct Case {
    std::function<void(std::vector<Text>&)> spoil;
    const char* problem;
  };
  const Case kCases[] = {
      {[](auto& r) { std::swap(r[6], r[7]); }, "line 8: E14 after an E15"},
      {[](auto& r) { r[2] += " "; }, "line 3: E14 of 192 characters instead of 191"},
      {[](auto& r) { r[2].replace(177, 14, "00052998224726"); }, "line 3: E14 CPF/CNPJ check digits"},
      {[](auto& r) { r[2].replace(58, 8, "20261201"); }, "line 3: E14 date not valid or outside the period's month"},
      {[](auto& r) { r[7].replace(209, 14, "00000000000452"); }, "line 8: E15 net total differs from price x quantity"},
      {[](auto& r) { r[1].replace(44, 14, "11222333000182"); }, "line 2: E02 CNPJ differs from E01's"},
  };
  EXPECT_THAT(ValidaTipoE(good), IsEmpty());
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.problem);
    std::vector<Text> records = good;
    c.spoil(records);
    EXPECT_THAT(ValidaTipoE(records), ::testing::Contains(c.problem));
  }
}

TEST(TrabalhoTest, DemoMonthPassesTheValidatorWholeAndDayByDay) {
  Memoria demo = ReadMemoria(KALORA_DEMO_MEMORIA);
  EXPECT_THAT(ValidaTipoE(RegistrosTipoE(demo, *TryParseDate("01/11/2026"),
                                         *TryParseDate("30/11/2026"), "Padaria", "Rua A")),
              IsEmpty());
  for (unsigned day = 1; day <= 30; ++day) {
    SCOPED_TRACE(day);
    Date date = *MakeDate(2026, 11, day);
    std::vector<Text> records = RegistrosTipoE(demo, date, date, "Padaria", "Rua A");
    EXPECT_THAT(ValidaTipoE(records), IsEmpty());
    EXPECT_GE(records.size(), 2u + 15u * 3u);
  }
}

}  // namespace
}  // namespace kalora::sim
