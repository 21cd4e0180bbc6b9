// The stand-in libraries as the program meets them: loaded, called through their exported
// names, with the memory, fault switches and call log given by the environment.
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/TestEnvironment.h"
#include "os/Library.h"
#include "printer/Bemafi32.h"
#include "printer/UnitBemaMFD.h"
#include "runtime/Cp1252.h"

namespace kalora::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;
using kalora::testing::Fixture;
using kalora::testing::ReadFile;
using kalora::testing::ScopedEnv;
using kalora::testing::WorkFolder;

using DownloadFunction = decltype(&Bematech_FI_DownloadMFD);

// One stand-in library, loaded for the scope's lifetime.
class StandIn {
 public:
  explicit StandIn(const char* name) : library_(Loader().Load(name)) {
    if (library_ == nullptr) throw std::runtime_error(std::string("cannot load ") + name);
  }
  ~StandIn() { Loader().Free(library_); }
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

  template <typename Function>
  Function Get(const char* name) {
    os::EntryPoint entry = Loader().Symbol(library_, name);
    if (entry == nullptr) throw std::runtime_error(std::string("no entry point ") + name);
    return reinterpret_cast<Function>(entry);
  }

 private:
  static os::LibraryLoader& Loader() { return os::SystemLibraryLoader(); }
  os::LibraryHandle library_;
};

class ExportsTest : public ::testing::Test {
 protected:
  int32_t Download(const char* tipo, const char* inicial, const char* final_) {
    return download_("Download.MFD", tipo, inicial, final_, "1");
  }
  int32_t Txt(StandIn& library) {
    return library.Get<printer::TBemaGeraTxtPorCOO>(printer::kGeraTxtPorCOO)(
        "Download.MFD", "Espelho.TXT", 1, 1001, 1005);
  }
  int32_t TipoE(StandIn& library, const char* first, const char* last, const char* razao = "P") {
    return library.Get<printer::TBemaGeraRegistrosTipoE>(printer::kGeraRegistrosTipoE)(
        "Download.MFD", "CTP1704.txt", first, last, razao, "Rua A", nullptr, "2", nullptr,
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr);
  }
  // The log's lines so far, then an empty log.
  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    if (!std::filesystem::exists(log_)) return lines;
    std::string text = ReadFile(log_);
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    std::filesystem::remove(log_);
    return lines;
  }
  // A memory file of the work folder: the small fixture with extra header lines.
  void Memory(const std::string& header) {
    std::ofstream("memoria.txt", std::ios::binary)
        << header << ReadFile(Fixture("simulator/memoria-pequena.txt"));
    memory_env_.emplace("KALORA_SIM_MEMORIA", (work_.Path() / "memoria.txt").string());
  }

  WorkFolder work_;
  std::filesystem::path log_ = work_.Path() / "chamadas.log";
  ScopedEnv log_env_{"KALORA_SIM_LOG", log_.string()};
  ScopedEnv faults_{"KALORA_SIM_FALHA", std::nullopt};
  std::optional<ScopedEnv> memory_env_{std::in_place, "KALORA_SIM_MEMORIA",
                                       Fixture("simulator/memoria-pequena.txt").string()};
  StandIn bemafi32_{"BEMAFI32.DLL"};
  StandIn mfd_{"BemaMFD.dll"};
  StandIn mfd2_{"BemaMFD2.dll"};
  DownloadFunction download_ = bemafi32_.Get<DownloadFunction>("Bematech_FI_DownloadMFD");
};

TEST_F(ExportsTest, EachFamilyWritesItsOwnMirror) {
  ASSERT_EQ(Download("2", "001001", "001005"), 1);
  EXPECT_EQ(Txt(mfd_), 1);
  EXPECT_EQ(ReadFile("Espelho.TXT"), ReadFile(Fixture("simulator/Espelho-familia1.TXT")));
  EXPECT_EQ(Txt(mfd2_), 1);
  EXPECT_EQ(ReadFile("Espelho.TXT"), ReadFile(Fixture("simulator/Espelho-familia2.TXT")));
}

TEST_F(ExportsTest, RecordsTakeTheDatesInBothForms) {
  ASSERT_EQ(Download("1", "01112026", "30112026"), 1);
  ASSERT_EQ(TipoE(mfd_, "02112026", "02112026"), 1);
  std::string compact = ReadFile("CTP1704.txt");
  ASSERT_EQ(TipoE(mfd_, "02/11/2026", "02/11/2026"), 1);
  EXPECT_EQ(ReadFile("CTP1704.txt"), compact);
  EXPECT_EQ(compact.substr(127, 16), "2026110220261102");
}

TEST_F(ExportsTest, RefusedCallsAnswerZeroLeaveNoFileAndSayWhy) {
  struct Case {
    std::function<int32_t()> call;
    const char* file;
    const char* reason;
  };
  const Case kCases[] = {
      {[&] { return Download("2", "20", "12"); }, "Download.MFD",
       "! Bematech_FI_DownloadMFD: the first COO comes after the last"},
      {[&] { return Download("1", "1/11/2026", "30112026"); }, "Download.MFD",
       "! Bematech_FI_DownloadMFD: first date '1/11/2026' is not ddmmyyyy"},
      {[&] { return TipoE(mfd_, "2026-11-02", "02112026"); }, "CTP1704.txt",
       "! BemaGeraRegistrosTipoE: Download.MFD: cannot open the download"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.reason);
    EXPECT_EQ(c.call(), 0);
    EXPECT_FALSE(std::filesystem::exists(c.file));
    std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], c.reason);
    EXPECT_THAT(log[1], ::testing::EndsWith(" = 0 [" + std::string(c.file[0] == 'D' ? "BEMAFI32" : "BemaMFD") + "]"));
  }
  ASSERT_EQ(Download("2", "1", "1000"), 1) << "a range without coupons is served";
  EXPECT_EQ(TipoE(mfd_, "2026-11-02", "02112026"), 0);
  EXPECT_THAT(Log().at(1), StartsWith("! BemaGeraRegistrosTipoE: first date '2026-11-02' is neither"));
  EXPECT_FALSE(std::filesystem::exists("CTP1704.txt"));
  EXPECT_FALSE(std::filesystem::exists("CTP1704.txt.tmp"));
}

TEST_F(ExportsTest, BadMemoryFileIsNamedWithItsLine) {
  Memory("serie=BE1\nmodelo=MP-4000 TH FI\nrelogio=12\n");
  EXPECT_EQ(Download("2", "1", "2000"), 0);
  std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_THAT(log[0], ::testing::HasSubstr("memoria.txt, line 3: unknown header key 'relogio'"));
}

TEST_F(ExportsTest, FaultSwitchesFromEitherPlaceStopTheirCallOnly) {
  for (bool from_memory : {false, true}) {
    for (const char* fault : {"download", "espelho", "registros"}) {
      SCOPED_TRACE(std::string(fault) + (from_memory ? " in the memory" : " in the environment"));
      std::filesystem::remove("Download.MFD");
      std::filesystem::remove("Espelho.TXT");
      std::filesystem::remove("CTP1704.txt");
      std::optional<ScopedEnv> env;
      if (from_memory) {
        Memory(std::string("falha=") + fault + "\n");
      } else {
        env.emplace("KALORA_SIM_FALHA", fault);
      }
      std::string which = fault;
      EXPECT_EQ(Download("2", "1001", "1005"), which == "download" ? 0 : 1);
      EXPECT_EQ(std::filesystem::exists("Download.MFD"), which != "download");
      if (which == "download") continue;
      EXPECT_EQ(Txt(mfd2_), which == "espelho" ? 0 : 1);
      EXPECT_EQ(TipoE(mfd2_, "01112026", "02112026"), which == "registros" ? 0 : 1);
      EXPECT_EQ(std::filesystem::exists("Espelho.TXT"), which != "espelho");
      EXPECT_EQ(std::filesystem::exists("CTP1704.txt"), which != "registros");
      for (const std::string& line : Log()) EXPECT_THAT(line, ::testing::Not(StartsWith("!")));
    }
  }
}

TEST_F(ExportsTest, LogShowsEveryArgumentWithItsQuotesAndBytes) {
  ASSERT_EQ(Download("1", "01112026", "01112026"), 1);
  TipoE(mfd2_, "01112026", "01/11/2026", "Padaria \"São João\"\\\x01"_cp);
  EXPECT_THAT(Log(),
              ElementsAre(R"(Bematech_FI_DownloadMFD("Download.MFD","1","01112026","01112026","1") = 1 [BEMAFI32])",
                          "BemaGeraRegistrosTipoE(\"Download.MFD\",\"CTP1704.txt\",\"01112026\","
                          "\"01/11/2026\",\"Padaria \\\"S\xE3o Jo\xE3o\\\"\\\\\\x01\",\"Rua A\",NULL,"
                          "\"2\",NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL) "
                          "= 1 [BemaMFD2]"));
}

TEST_F(ExportsTest, MissingMemoryIsReported) {
  memory_env_.reset();
  ScopedEnv none("KALORA_SIM_MEMORIA", std::nullopt);
  EXPECT_EQ(Download("2", "1", "2"), 0);
  EXPECT_EQ(Log().at(0),
            "! Bematech_FI_DownloadMFD: KALORA_SIM_MEMORIA does not name the printer's memory file");
}

}  // namespace
}  // namespace kalora::sim
