#include "generation/GenerationRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "generation/OutputFolders.h"
#include "os/Files.h"
#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "tests/support/TempDrive.h"
#include "ui/headless/HeadlessScreen.h"

namespace kalora::gen {
namespace {

namespace fs = std::filesystem;

// A printer that writes the work files a test asks for and records every call.
class ScriptedPrinter : public FiscalPrinter {
 public:
  int32_t download_result = 1;
  bool writes_mirror = true;
  bool writes_records = true;
  bool second_family = false;
  std::string mirror;
  std::vector<std::string> calls;

  int32_t DownloadMFD(const Text& arquivo, const Text& tipo, const Text& inicial,
                      const Text& final, const Text& quinto) override {
    calls.push_back("DownloadMFD " + arquivo + " " + tipo + " " + inicial + " " + final + " " +
                    quinto);
    if (download_result == 1) Write(arquivo, "MFD");
    return download_result;
  }
  int32_t GeraTxtPorCOO(const Text& mfd, const Text& txt, int32_t p3, int32_t p4,
                        int32_t p5) override {
    calls.push_back("GeraTxtPorCOO " + mfd + " " + txt + " " + std::to_string(p3) + " " +
                    std::to_string(p4) + " " + std::to_string(p5));
    if (writes_mirror) Write(txt, mirror);
    return 1;
  }
  int32_t GeraRegistrosTipoE(const RecordsArguments& arguments) override {
    std::string call = "GeraRegistrosTipoE";
    for (const Text& argument : arguments) call += " " + (argument.empty() ? "-" : argument);
    calls.push_back(call);
    if (writes_records) Write(arguments[1], "E01 " + arguments[2] + " " + arguments[3] + "\r\n");
    return 1;
  }
  bool UsarMFD2() const override { return second_family; }
  void SetUsarMFD2(bool usar) override { second_family = usar; }

 private:
  static void Write(const Text& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
};

// The controls the run reads, on a headless screen.
struct Window {
  ui::HeadlessScreen screen;
  ui::Form form{"frmPrincipal", {0, 0, 497, 335}, screen};
  ui::GroupBox box{&form, "GroupBox1", {}};
  ui::RadioButton rdbCOO{&box, "rdbCOO", {}};
  ui::RadioButton rdbData{&box, "rdbData", {}};
  ui::CheckBox CBDiario{&box, "CBDiario", {}};
  ui::Edit txtCOOInicial{&box, "txtCOOInicial", {}, 6};
  ui::Edit txtCOOFinal{&box, "txtCOOFinal", {}, 6};
  ui::DatePicker dtpDataInicial{&box, "dtpDataInicial", {}};
  ui::DatePicker dtpDataFinal{&box, "dtpDataFinal", {}};
  ui::Edit txtRazao{&box, "txtRazao", {}, 40};
  ui::Edit txtEndereco{&box, "txtEndereco", {}, 100};
  ui::ProgressBar ProgressBar1{&form, "ProgressBar1", {}};
};

class GenerationRunTest : public testing::Test {

 public:  // the failure table arranges cases through the fixture
  void SetUp() override {
    window_.txtRazao.SetText("Loja Exemplo Ltda");
    window_.txtEndereco.SetText("");
    window_.ProgressBar1.SetRange(0, 4);
  }

  void Coo(const Text& first, const Text& last) {
    window_.rdbCOO.SetChecked(true);
    window_.txtCOOInicial.SetText(first);
    window_.txtCOOFinal.SetText(last);
  }
  void Dates(const char* first, const char* last, bool daily) {
    window_.rdbData.SetChecked(true);
    window_.CBDiario.SetChecked(daily);
    window_.dtpDataInicial.SetDate(ParseDate(first));
    window_.dtpDataFinal.SetDate(ParseDate(last));
  }

  // Runs "Gerar" as the window's click would: "ok", "aborted" or the error's message.
  std::string Run() { return Run(printer_); }
  std::string Run(FiscalPrinter& printer) {
    RunContext context{{window_.form, window_.rdbCOO, window_.rdbData, window_.CBDiario,
                        window_.txtCOOInicial, window_.txtCOOFinal, window_.dtpDataInicial,
                        window_.dtpDataFinal, window_.txtRazao, window_.txtEndereco,
                        window_.ProgressBar1},
                       printer,
                       [this](const Text& dia) {
                         finished_days_.push_back(dia);
                         if (dia == fail_finishing_on_) throw InOutError(101);
                       },
                       "Kalora PDV NFP",
                       company_known_};
    try {
      RunGeneration(context);
      return "ok";
    } catch (const SilentAbort&) {
      return "aborted";
    } catch (const PlatformError& error) {
      return Cp1252ToUtf8(error.Message());
    }
  }

  std::vector<std::string> Events() const {
    std::vector<std::string> events;
    for (const auto& event : window_.screen.Events()) events.push_back(Cp1252ToUtf8(event));
    return events;
  }

  // Where an output file is, its folder made.
  std::string Output(const std::string& name) const {
    fs::create_directories(drive_.Native(kOutputFolder));
    return drive_.Native(Text(kOutputFolder) + name);
  }
  static std::string Read(const std::string& native) {
    std::ifstream in(native, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static bool WorkFilesGone() {
    for (const char* file : {kDownloadFile, kMirrorFile, kMirrorWithoutBlankLinesFile,
                             kRecordsFile}) {
      if (fs::exists(file)) return false;
    }
    return true;
  }

  test::TempDrive drive_;
  Window window_;
  ScriptedPrinter printer_;
  bool company_known_ = true;
  Text fail_finishing_on_;
  std::vector<Text> finished_days_;
};

// The mirror as the MFD library lays it out: blank lines between sections, line 7 of the
// lines that are not blank with the first date, and the last date near the end.
std::string Mirror() {
  std::string lines[] = {"CUPOM FISCAL", "", "line1", "line2", "line3", "", "line4", "line5",
                         "line6", "01/03/2010 10:00:00", "", "line8",
                         // last but two: first family, positions 29-38
                         "Periodo final" + std::string(15, '.') + "02/03/2010",
                         // last but one: second family, positions 20-29
                         "Data final" + std::string(9, '.') + "03/03/2010",
                         "FIM"};
  std::string mirror;
  for (const auto& line : lines) mirror += line + "\r\n";
  return mirror;
}

TEST_F(GenerationRunTest, CooModeCallsThePrinterCopiesAndReports) {
  Coo("000012", "20");
  printer_.mirror = Mirror();
  EXPECT_EQ(Run(), "ok");
  std::string output = "C:\\Varnex\\PDV\\NFP\\NFP_COO_000012.txt";
  EXPECT_EQ(printer_.calls,
            (std::vector<std::string>{
                "DownloadMFD Download.MFD 2 000012 20 1",
                "GeraTxtPorCOO Download.MFD Espelho.TXT 1 12 20",
                "GeraRegistrosTipoE Download.MFD CTP1704.txt 01/03/2010 02/03/2010 Loja Exemplo "
                "Ltda - - 2 - - - - - - - - - - - - -"}));
  EXPECT_EQ(Events(), (std::vector<std::string>{
                          "repaint ProgressBar1 4 1", "repaint ProgressBar1 4 2",
                          "repaint ProgressBar1 4 3", "repaint ProgressBar1 4 4",
                          "box information 'Atenção' 'Arquivo \"" + output +
                              "\" gerado com sucesso!'",
                          "repaint ProgressBar1 4 0", "cursor frmPrincipal",
                          "repaint frmPrincipal"}));
  EXPECT_EQ(Read(Output("NFP_COO_000012.txt")), "E01 01/03/2010 02/03/2010\r\n");
  EXPECT_TRUE(WorkFilesGone());
  EXPECT_TRUE(fs::is_empty(drive_.Native(kFinalFolder)));
}

TEST_F(GenerationRunTest, CooModeTakesTheLastDateWhereTheModelFamilyPutsIt) {
  Coo("1", "2");
  printer_.mirror = Mirror();
  printer_.second_family = true;
  window_.CBDiario.SetChecked(true);  // ignored in COO mode
  EXPECT_EQ(Run(), "ok");
  EXPECT_NE(printer_.calls.back().find("01/03/2010 03/03/2010"), std::string::npos);
  EXPECT_TRUE(finished_days_.empty());
}

TEST_F(GenerationRunTest, CooTextsAreCheckedBeforeAnythingReachesThePrinter) {
  for (auto [first, last, bad] : {std::tuple{"", "2", ""}, {"1", "-", "-"},
                                  {"12a", "2", "12a"}, {"1", "$G", "$G"}}) {
    SCOPED_TRACE(first);
    printer_.calls.clear();
    Coo(first, last);
    EXPECT_EQ(Run(), "'" + std::string(bad) + "' não é um valor inteiro válido");
    EXPECT_TRUE(printer_.calls.empty());
  }
}

TEST_F(GenerationRunTest, DateRangeModeUsesTheCompactDates) {
  Dates("01/03/2010", "31/03/2010", false);
  EXPECT_EQ(Run(), "ok");
  EXPECT_EQ(printer_.calls[0], "DownloadMFD Download.MFD 1 01032010 31032010 1");
  EXPECT_NE(printer_.calls[1].find("CTP1704.txt 01032010 31032010 "), std::string::npos);
  EXPECT_EQ(Events(), (std::vector<std::string>{
                          "repaint ProgressBar1 4 1", "repaint ProgressBar1 4 2",
                          "repaint ProgressBar1 4 3", "repaint ProgressBar1 4 4",
                          "box information 'Atenção' 'Arquivo \"C:\\Varnex\\PDV\\NFP\\NFP_DATA_"
                          "20100301.txt\" gerado com sucesso!'",
                          "repaint ProgressBar1 4 0", "cursor frmPrincipal",
                          "repaint frmPrincipal"}));
  EXPECT_TRUE(fs::exists(Output("NFP_DATA_20100301.txt")));
  EXPECT_TRUE(finished_days_.empty());
}

TEST_F(GenerationRunTest, DailyModeMakesEveryDayInOrderAcrossAMonthEnd) {
  Dates("30/01/2010", "02/02/2010", true);
  EXPECT_EQ(Run(), "ok");
  EXPECT_EQ(finished_days_,
            (std::vector<Text>{"30/01/2010", "31/01/2010", "01/02/2010", "02/02/2010"}));
  for (const char* day : {"20100130", "20100131", "20100201", "20100202"}) {
    EXPECT_TRUE(fs::exists(Output("NFP_DIA_" + std::string(day) + ".txt"))) << day;
  }
  EXPECT_NE(printer_.calls[2].find("CTP1704.txt 31/01/2010 31/01/2010 "), std::string::npos);
  // Maximum 2 x 3 + 3 = 9: 1, 2, 3 after the download, then one advance per day.
  std::vector<std::string> expected = {"repaint ProgressBar1 9 1", "repaint ProgressBar1 9 2",
                                       "repaint ProgressBar1 9 3"};
  for (int position = 4; position <= 7; ++position) {
    expected.push_back("repaint ProgressBar1 9 " + std::to_string(position));
  }
  expected.push_back(
      "box information 'Atenção' 'Arquivos \"C:\\Varnex\\PDV\\NFP\\NFP_DIA_YYYYMMDD.txt\" "
      "gerados com sucesso!'");
  expected.insert(expected.end(), {"repaint ProgressBar1 9 0", "cursor frmPrincipal",
                                   "repaint frmPrincipal"});
  EXPECT_EQ(Events(), expected);
  EXPECT_TRUE(WorkFilesGone());
}

TEST_F(GenerationRunTest, DailyModeWithEqualDatesStaysAtItsMaximum) {
  Dates("05/11/2010", "05/11/2010", true);
  EXPECT_EQ(Run(), "ok");
  EXPECT_EQ(finished_days_, std::vector<Text>{"05/11/2010"});
  auto events = Events();
  EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 4),
            (std::vector<std::string>{"repaint ProgressBar1 3 1", "repaint ProgressBar1 3 2",
                                      "repaint ProgressBar1 3 3", "repaint ProgressBar1 3 3"}));
}

TEST_F(GenerationRunTest, ForeseenFailuresShowTheirBoxAndLeaveNoWorkFiles) {
  struct Case {
    const char* name;
    std::function<void(GenerationRunTest&)> arrange;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"COO download fails",
       [](GenerationRunTest& t) {
         t.Coo("1", "2");
         t.printer_.download_result = 0;
       },
       {"repaint ProgressBar1 4 1",
        "box plain 'Kalora PDV NFP' 'Flaha de Comunicação com  a impressora!'"}},
      {"range download fails",
       [](GenerationRunTest& t) {
         t.Dates("01/03/2010", "02/03/2010", false);
         t.printer_.download_result = -1;
       },
       {"repaint ProgressBar1 4 1", "repaint ProgressBar1 4 2",
        "box plain 'Kalora PDV NFP' 'Falha de Comunicação com  a impressora!'"}},
      {"daily download fails",
       [](GenerationRunTest& t) {
         t.Dates("01/03/2010", "02/03/2010", true);
         t.printer_.download_result = 0;
       },
       {"repaint ProgressBar1 5 1", "repaint ProgressBar1 5 2", "repaint ProgressBar1 5 3",
        "box plain 'Kalora PDV NFP' 'Flaha de Comunicação com  a impressora!'"}},
      {"dates reversed",
       [](GenerationRunTest& t) { t.Dates("02/03/2010", "01/03/2010", true); },
       {"box plain 'Kalora PDV NFP' 'A data Final não pode ser inferior da data Inicial'"}},
      {"range records not written",
       [](GenerationRunTest& t) {
         t.Dates("01/03/2010", "02/03/2010", false);
         t.printer_.writes_records = false;
       },
       {"repaint ProgressBar1 4 1", "repaint ProgressBar1 4 2", "repaint ProgressBar1 4 3",
        "box plain 'Kalora PDV NFP' 'A impressora não gerou os registros; o arquivo "
        "\"C:\\Varnex\\PDV\\NFP\\NFP_DATA_20100301.txt\" não foi gerado.'"}},
      {"company unknown",
       [](GenerationRunTest& t) {
         t.Dates("01/03/2010", "02/03/2010", false);
         t.company_known_ = false;
       },
       {"box plain 'Kalora PDV NFP' 'Os dados da empresa não foram lidos das tabelas ao abrir "
        "o programa; nenhum arquivo foi gerado. Verifique as tabelas da loja e abra o programa "
        "novamente.'"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    window_.screen.Clear();
    window_.ProgressBar1.SetPosition(0);
    printer_ = ScriptedPrinter();
    company_known_ = true;
    std::ofstream(kRecordsFile) << "left over by an earlier run";
    c.arrange(*this);
    EXPECT_EQ(Run(), "aborted");
    EXPECT_EQ(Events(), c.events);
    EXPECT_EQ(window_.ProgressBar1.Position(), 0);
    if (std::string(c.name) != "company unknown") {
      EXPECT_TRUE(WorkFilesGone());
    }
  }
}

TEST_F(GenerationRunTest, AFolderThatCannotBeMadeIsReportedBeforeThePrinter) {
  // A file where the output folder should be.
  fs::create_directories(drive_.Native("C:\\Varnex\\PDV"));
  std::ofstream(drive_.Native("C:\\Varnex\\PDV\\NFP"), std::ios::binary) << "not a folder";
  Dates("01/03/2010", "02/03/2010", true);
  EXPECT_EQ(Run(), "aborted");
  EXPECT_TRUE(printer_.calls.empty());
  EXPECT_EQ(Events(), std::vector<std::string>{"box plain 'Kalora PDV NFP' 'Não foi possível "
                                               "criar a pasta \"C:\\Varnex\\PDV\\NFP\". Nenhum "
                                               "arquivo foi gerado.'"});
}

TEST_F(GenerationRunTest, AnOlderOutputSurvivesARunThatWroteNoRecords) {
  std::ofstream(Output("NFP_COO_7.txt"), std::ios::binary) << "older";
  Coo("7", "8");
  printer_.mirror = Mirror();
  printer_.writes_records = false;
  EXPECT_EQ(Run(), "aborted");
  EXPECT_EQ(Read(Output("NFP_COO_7.txt")), "older");
}

TEST_F(GenerationRunTest, DailyModeStopsAtADayWithoutRecordsAndKeepsTheEarlierDays) {
  std::ofstream(Output("NFP_DIA_20100302.txt"), std::ios::binary) << "older";
  Dates("01/03/2010", "03/03/2010", true);
  // The library writes the first day, then nothing.
  struct OneDayPrinter : ScriptedPrinter {
    int32_t GeraRegistrosTipoE(const RecordsArguments& arguments) override {
      writes_records = arguments[2] == "01/03/2010";
      return ScriptedPrinter::GeraRegistrosTipoE(arguments);
    }
  };
  OneDayPrinter one_day;
  EXPECT_EQ(Run(one_day), "aborted");
  EXPECT_EQ(finished_days_, std::vector<Text>{"01/03/2010"});
  EXPECT_TRUE(fs::exists(Output("NFP_DIA_20100301.txt")));
  EXPECT_EQ(Read(Output("NFP_DIA_20100302.txt")), "older");
  EXPECT_NE(window_.screen.Events().back().find("do dia 02/03/2010"), std::string::npos);
}

TEST_F(GenerationRunTest, AFailedDayEndsTheRunAndLeavesTheWorkFilesForTheNextRun) {
  Dates("01/03/2010", "02/03/2010", true);
  fail_finishing_on_ = "01/03/2010";
  EXPECT_EQ(Run(), "Disco cheio");
  EXPECT_TRUE(fs::exists(kDownloadFile));
  EXPECT_EQ(Events().back(), "repaint ProgressBar1 5 3");

  fail_finishing_on_.clear();
  EXPECT_EQ(Run(), "ok");
  EXPECT_TRUE(WorkFilesGone());
}

TEST_F(GenerationRunTest, AMirrorWithTooFewLinesIsAnError) {
  Coo("1", "2");
  printer_.mirror = "a\r\n\r\nb\r\n";
  EXPECT_EQ(Run(), "Lista de índices fora de faixa (7)");
  printer_.writes_mirror = false;
  EXPECT_EQ(Run(), "Arquivo não encontrado");
}

// A disk where no folder exists and none can be made, not even the drive's root: the root is
// its own parent, and must be tried once rather than recursed into.
class NoFolders : public os::FileSystem {
 public:
  bool FileExists(const Text& path) override { return machine_.FileExists(path); }
  bool FolderExists(const Text&) override { return false; }
  bool CreateFolder(const Text&) override { return false; }
  bool RemoveFile(const Text& path) override { return machine_.RemoveFile(path); }
  bool CopyOver(const Text& from, const Text& to) override { return machine_.CopyOver(from, to); }
  void MoveOver(const Text& from, const Text& to) override { machine_.MoveOver(from, to); }
  std::unique_ptr<InputStream> OpenRead(const Text& path) override {
    return machine_.OpenRead(path);
  }
  std::unique_ptr<OutputStream> Create(const Text& path) override {
    return machine_.Create(path);
  }

 private:
  os::FileSystem& machine_ = os::MachineFiles();
};

TEST_F(GenerationRunTest, AMissingDriveRootIsReportedNotRecursedInto) {
  NoFolders disk;
  os::ScopedFileSystem scoped(disk);
  Dates("01/03/2010", "02/03/2010", true);
  EXPECT_EQ(Run(), "aborted");
  EXPECT_EQ(Events(), std::vector<std::string>{
                          "box plain 'Kalora PDV NFP' 'Não foi possível criar a pasta "
                          "\"C:\\Varnex\\PDV\\NFP\". Nenhum arquivo foi gerado.'"});
  EXPECT_TRUE(printer_.calls.empty());
}

}  // namespace
}  // namespace kalora::gen
