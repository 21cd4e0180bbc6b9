// The support program run whole: the window's run through the headless window, with the
// stand-in printer libraries and the demo store, and what it leaves on disk when things fail.
#include "shell/Console.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "generation/OutputFolders.h"
#include "printer/UnitBemaMFD.h"
#include "runtime/Cp1252.h"
#include "tests/shell/ShopFixture.h"

namespace kalora::shell {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

struct Result {
  int status;
  Names out;  // what reached stdout and stderr, in UTF-8
};

Result RunProgram(const std::vector<std::string>& arguments) {
  printer::UnitBemaMFD unit;
  std::vector<Text> texts;
  for (const auto& argument : arguments) texts.push_back(Utf8ToCp1252(argument));
  Result result{0, {}};
  result.status = RunConsole(texts, [&](os::ConsoleStream, const Text& line) {
    result.out.push_back(Cp1252ToUtf8(line));
  });
  return result;
}

bool HasWorkFiles() {
  for (const char* file : {gen::kDownloadFile, gen::kMirrorFile,
                           gen::kMirrorWithoutBlankLinesFile, gen::kRecordsFile}) {
    if (fs::exists(file)) return true;
  }
  return false;
}

TEST(Console, DailyRunFinishesEveryDayWithTheCustomers) {
  test::Shop shop;
  Result result = RunProgram({"gerar", "--diario", "01/11/2026", "03/11/2026"});
  EXPECT_EQ(result.status, kExitSuccess);
  EXPECT_EQ(result.out,
            Names{"Arquivos \"C:\\Varnex\\PDV\\NFP\\NFP_DIA_YYYYMMDD.txt\" gerados com sucesso!"});
  EXPECT_EQ(shop.FilesIn(gen::kOutputFolder),
            (Names{"NFP_DIA_20261101.txt", "NFP_DIA_20261102.txt", "NFP_DIA_20261103.txt"}));
  EXPECT_EQ(shop.FilesIn(gen::kFinalFolder), (Names{"BE091010.1BQ", "BE091010.2BQ", "BE091010.3BQ"}));
  EXPECT_FALSE(HasWorkFiles());

  std::string finished = testing::ReadFile(shop.Native("C:\\Varnex\\PDV\\NFP\\Final\\BE091010.1BQ"));
  // Coupon 001001 is Maria's, with a grouped CPF; 001003 a company's grouped CNPJ.
  EXPECT_NE(finished.find(Utf8ToCp1252("Maria da Conceição") +
                          std::string(40 - 18, ' ') + "00052998224725\r\n"),
            std::string::npos);
  EXPECT_NE(finished.find("11222333000181\r\n"), std::string::npos);

  Names calls = shop.Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0], "Bematech_FI_DownloadMFD(\"Download.MFD\",\"1\",\"01112026\",\"03112026\",\"1\") = 1 [BEMAFI32]");
  EXPECT_EQ(calls[2],
            "BemaGeraRegistrosTipoE(\"Download.MFD\",\"CTP1704.txt\",\"02/11/2026\",\"02/11/2026\","
            "\"Kalora Com\xE9rcio de Alimentos Ltda\",\"Avenida Paulista, 1578\",NULL,\"2\",NULL,NULL,"
            "NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL) = 1 [BemaMFD]");
}

TEST(Console, CooRunOfTheSecondFamilySwitchesLibrariesAtTheMirror) {
  test::Shop shop;
  Result result = RunProgram({"gerar", "--modelo", "2", "--coo", "001001", "001030"});
  EXPECT_EQ(result.status, kExitSuccess);
  EXPECT_EQ(result.out,
            Names{"Arquivo \"C:\\Varnex\\PDV\\NFP\\NFP_COO_001001.txt\" gerado com sucesso!"});
  Names calls = shop.Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[1],
            "BemaGeraTxtPorCOO(\"Download.MFD\",\"Espelho.TXT\",1,1001,1030) = 1 [BemaMFD2]");
  EXPECT_NE(calls[2].find("\"01/11/2026\",\"02/11/2026\""), std::string::npos);
  EXPECT_TRUE(shop.FilesIn(gen::kFinalFolder).empty());
}

TEST(Console, DateRangeRunMakesOneFile) {
  test::Shop shop;
  Result result = RunProgram({"gerar", "--periodo", "01/11/2026", "30/11/2026"});
  EXPECT_EQ(result.status, kExitSuccess);
  EXPECT_EQ(shop.FilesIn(gen::kOutputFolder), Names{"NFP_DATA_20261101.txt"});
  EXPECT_TRUE(shop.FilesIn(gen::kFinalFolder).empty());
}

// What the operator sees, the exit status and what is on disk when something fails.
TEST(Console, FaultsEndWithTheirMessageAndLoseNothing) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    const char* fault;  // KALORA_SIM_FALHA
    int status;
    Names out;
  } cases[] = {
      {"download fails (daily)", {"gerar", "--diario", "01/11/2026", "02/11/2026"}, "download",
       kExitAborted, {"Flaha de Comunicação com  a impressora!"}},
      {"download fails (range)", {"gerar", "--periodo", "01/11/2026", "02/11/2026"}, "download",
       kExitAborted, {"Falha de Comunicação com  a impressora!"}},
      {"records not written", {"gerar", "--periodo", "01/11/2026", "02/11/2026"}, "registros",
       kExitAborted,
       {"A impressora não gerou os registros; o arquivo "
        "\"C:\\Varnex\\PDV\\NFP\\NFP_DATA_20261101.txt\" não foi gerado."}},
      {"daily records not written", {"gerar", "--diario", "01/11/2026", "02/11/2026"},
       "registros", kExitAborted,
       {"A impressora não gerou os registros do dia 01/11/2026; o arquivo "
        "\"C:\\Varnex\\PDV\\NFP\\NFP_DIA_20261101.txt\" não foi gerado."}},
      {"mirror not written", {"gerar", "--coo", "001001", "001030"}, "espelho", kExitError,
       {"Arquivo não encontrado."}},
      {"dates reversed", {"gerar", "--periodo", "02/11/2026", "01/11/2026"}, nullptr,
       kExitAborted, {"A data Final não pode ser inferior da data Inicial"}},
      {"COO not a number", {"gerar", "--coo", "12a", "20"}, nullptr, kExitError,
       {"'12a' não é um valor inteiro válido."}},
      {"COO hexadecimal is a number", {"gerar", "--coo", "$3E9", "$3F0"}, "download",
       kExitAborted, {"Flaha de Comunicação com  a impressora!"}},
      {"COO negative, refused by the printer", {"gerar", "--coo", "-5", "10"}, nullptr,
       kExitAborted, {"Flaha de Comunicação com  a impressora!"}},
      {"COO too long", {"gerar", "--coo", "1234567", "1"}, nullptr, kExitUsage,
       {"kalora-nfp: o COO tem no máximo 6 caracteres: 1234567", "Veja: kalora-nfp --help"}},
      {"date not a date", {"gerar", "--periodo", "31/02/2026", "01/03/2026"}, nullptr,
       kExitUsage,
       {"kalora-nfp: data inválida: 31/02/2026 (use DD/MM/AAAA)", "Veja: kalora-nfp --help"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::Shop shop;
    fs::create_directories(shop.Native("C:\\Varnex\\PDV\\NFP"));
    std::ofstream(shop.Native("C:\\Varnex\\PDV\\NFP\\NFP_DATA_20261101.txt")) << "older";
    testing::ScopedEnv fault("KALORA_SIM_FALHA",
                             c.fault ? std::optional<std::string>(c.fault) : std::nullopt);
    Result result = RunProgram(c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(shop.FilesIn(gen::kOutputFolder), Names{"NFP_DATA_20261101.txt"});
    EXPECT_EQ(testing::ReadFile(shop.Native("C:\\Varnex\\PDV\\NFP\\NFP_DATA_20261101.txt")),
              "older");
    EXPECT_TRUE(shop.FilesIn(gen::kFinalFolder).empty());
    if (c.status == kExitAborted) {
      EXPECT_FALSE(HasWorkFiles());
    }
  }
}

TEST(Console, DailyRunAcrossAYearEnd) {
  test::Shop shop;
  Result result = RunProgram({"gerar", "--diario", "31/12/2026", "01/01/2027"});
  EXPECT_EQ(result.status, kExitSuccess);
  EXPECT_EQ(shop.FilesIn(gen::kOutputFolder),
            (Names{"NFP_DIA_20261231.txt", "NFP_DIA_20270101.txt"}));
  EXPECT_EQ(shop.FilesIn(gen::kFinalFolder), (Names{"BE091010.11R", "BE091010.VCQ"}));
}

TEST(Console, StoreFaultsStopBeforeThePrinter) {
  struct Case {
    const char* name;
    std::string company_key;
    const char* remove;  // a table file taken away
    std::string message_start;
  } cases[] = {
      {"no EMPRESA parameter", "", nullptr, "TParametro: "},
      {"no such company", "404", nullptr, "TEmp: "},
      {"coupon table missing", "001", "EcfCupom.DB", "TECFCupom: "},
      {"parameter table missing", "001", "Parametro.DB", "TParametro: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::Shop shop(c.company_key);
    if (c.remove) fs::remove(shop.StoreFolder() / c.remove);
    Result result = RunProgram({"gerar", "--diario"});
    EXPECT_EQ(result.status, kExitError);
    ASSERT_EQ(result.out.size(), 1u);
    EXPECT_TRUE(result.out[0].starts_with(c.message_start)) << result.out[0];
    EXPECT_TRUE(shop.Calls().empty());
  }
}

TEST(Console, DocumentTellsWhatTheFinishedRecordCarries) {
  Result cpf = RunProgram({"documento", "529.982.247-25"});
  EXPECT_EQ(cpf.status, kExitSuccess);
  EXPECT_EQ(cpf.out, (Names{"Texto: 529.982.247-25", "Dígitos: 52998224725 (11)",
                            "Documento: CPF válido", "Posições 178-191: 00052998224725"}));
  Result invalid = RunProgram({"documento", "111.444.777-42"});
  EXPECT_EQ(invalid.out[2], "Documento: nem CPF nem CNPJ válido; o arquivo final grava zeros");
  EXPECT_EQ(invalid.out[3], "Posições 178-191: 00000000000000");
}

TEST(Console, UsageErrorsAndHelp) {
  EXPECT_EQ(RunProgram({}).status, kExitUsage);
  EXPECT_EQ(RunProgram({"--help"}).status, kExitSuccess);
  EXPECT_EQ(RunProgram({"gerar"}).status, kExitUsage);
  EXPECT_EQ(RunProgram({"gerar", "--coo", "1"}).status, kExitUsage);
  EXPECT_EQ(RunProgram({"gerar", "--coo", "1", "2", "--diario"}).status, kExitUsage);
  EXPECT_EQ(RunProgram({"gerar", "--diario", "--modelo", "3"}).status, kExitUsage);
  EXPECT_EQ(RunProgram({"imprimir"}).status, kExitUsage);
}

}  // namespace
}  // namespace kalora::shell
