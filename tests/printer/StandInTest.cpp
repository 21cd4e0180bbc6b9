// The binding against the stand-in libraries, through the system's loader: the call log
// tells which library served each call and what it was given.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "tests/support/TestEnvironment.h"
#include "printer/Bemafi32.h"
#include "printer/UnitBemaMFD.h"

namespace kalora::printer {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using kalora::testing::Fixture;
using kalora::testing::ScopedEnv;
using kalora::testing::WorkFolder;

// The system's loader with some library names served by other files.
class RenamingLoader : public os::LibraryLoader {
 public:
  explicit RenamingLoader(std::map<Text, Text> names) : names_(std::move(names)) {}
  os::LibraryHandle Load(const Text& name) override {
    auto renamed = names_.find(name);
    return system_.Load(renamed == names_.end() ? name : renamed->second);
  }
  os::EntryPoint Symbol(os::LibraryHandle library, const char* name) override {
    return system_.Symbol(library, name);
  }
  bool Free(os::LibraryHandle library) override { return system_.Free(library); }
  uint32_t LastError() override { return system_.LastError(); }

 private:
  os::LibraryLoader& system_ = os::SystemLibraryLoader();
  std::map<Text, Text> names_;
};

const ArgumentosTipoE kDia = {"Download.MFD", "CTP1704.txt", "02112026", "02/11/2026",
                              "Padaria Kalora", "", "", "2"};

class StandInTest : public ::testing::Test {
 protected:
  // The log's lines from the last call on, without their line ends.
  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    std::string text = std::filesystem::exists(log_) ? kalora::testing::ReadFile(log_) : "";
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    std::filesystem::remove(log_);
    return lines;
  }

  void Download() {
    ASSERT_EQ(Bematech_FI_DownloadMFD("Download.MFD", "2", "001001", "001030", "1"), 1);
    Log();
  }

  WorkFolder work_;
  std::filesystem::path log_ = work_.Path() / "chamadas.log";
  ScopedEnv memory_{"KALORA_SIM_MEMORIA", Fixture("simulator/memoria-pequena.txt").string()};
  ScopedEnv log_env_{"KALORA_SIM_LOG", log_.string()};
  ScopedEnv faults_{"KALORA_SIM_FALHA", std::nullopt};
};

TEST_F(StandInTest, LoadTimeBoundDownloadServesAndLogsEveryArgument) {
  EXPECT_EQ(Bematech_FI_DownloadMFD("Download.MFD", "2", "001001", "1002", "1"), 1);
  EXPECT_TRUE(std::filesystem::exists("Download.MFD"));
  EXPECT_THAT(Log(), ElementsAre(R"(Bematech_FI_DownloadMFD("Download.MFD","2","001001","1002","1") = 1 [BEMAFI32])"));
}

TEST_F(StandInTest, SwitchesBetweenTheTwoLibrariesOnTheNextCall) {
  Download();
  TDLLBemaMFD binding;
  binding.FUsarMFD2 = true;
  EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 1001, 1002), 1);
  EXPECT_EQ(binding.GeraRegistrosTipoE(kDia), 1);
  binding.FUsarMFD2 = false;
  EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 1001, 1002), 1);
  EXPECT_THAT(Log(),
              ElementsAre(R"(BemaGeraTxtPorCOO("Download.MFD","Espelho.TXT",1,1001,1002) = 1 [BemaMFD2])",
                          R"(BemaGeraRegistrosTipoE("Download.MFD","CTP1704.txt","02112026","02/11/2026","Padaria Kalora",NULL,NULL,"2",NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL) = 1 [BemaMFD2])",
                          R"(BemaGeraTxtPorCOO("Download.MFD","Espelho.TXT",1,1001,1002) = 1 [BemaMFD])"));
  EXPECT_TRUE(std::filesystem::exists("CTP1704.txt"));
}

TEST_F(StandInTest, MissingSecondLibraryCallsNothingAndSwitchingBackServesAgain) {
  Download();
  RenamingLoader loader(std::map<Text, Text>{{kBemaMFD2, "BemaAusente.dll"}});
  TDLLBemaMFD binding(loader);
  std::vector<Text> boxes;
  binding.SetPlainBox([&](const Text& text) { boxes.push_back(text); });
  binding.FUsarMFD2 = true;
  EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 1001, 1002), -1);
  EXPECT_EQ(binding.GeraRegistrosTipoE(kDia), -1);
  EXPECT_THAT(Log(), IsEmpty());
  binding.FUsarMFD2 = false;
  EXPECT_EQ(binding.GeraRegistrosTipoE(kDia), 1);
  EXPECT_EQ(Log().size(), 1u);
  EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(StandInTest, LibraryWithoutTheMirrorAnswersMinusOneForItOnly) {
  Download();
  RenamingLoader loader(std::map<Text, Text>{{kBemaMFD2, "BemaMFD2SemTxt.dll"}});
  TDLLBemaMFD binding(loader);
  binding.FUsarMFD2 = true;
  EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 1001, 1002), -1);
  EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 1001, 1002), -1);
  EXPECT_EQ(binding.FGeraTxtPorCOO, nullptr);
  EXPECT_EQ(binding.GeraRegistrosTipoE(kDia), 1);
  std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], ::testing::EndsWith("= 1 [BemaMFD2SemTxt]"));
  EXPECT_FALSE(std::filesystem::exists("Espelho.TXT"));
}

}  // namespace
}  // namespace kalora::printer
