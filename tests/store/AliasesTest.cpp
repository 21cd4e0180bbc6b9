// Aliases name folders through the environment or the file beside the program.
#include <gtest/gtest.h>

#include <map>

#include "runtime/Errors.h"
#include "store/Aliases.h"
#include "store/StorePaths.h"
#include "tests/store/StoreTestSupport.h"

namespace kalora::store {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

EnvironmentLookup FakeEnvironment(std::map<std::string, std::string> values) {
  return [values](const std::string& name) -> std::optional<std::string> {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
}

TEST(Aliases, TheEnvironmentWinsOverTheFile) {
  TempFolder program;
  WriteBytes(program.Path() / kAliasFileName, "Kalora=/from/file\n");
  const auto env = FakeEnvironment({{"KALORA_ALIAS_Kalora", "/from/env"}, {"KALORA_ALIAS_KaloraLocal", "  "}});
  EXPECT_EQ(ResolveAlias("Kalora", program.Path(), env), PathFromUtf8("/from/env"));
  EXPECT_EQ(ResolveAlias("Kalora", program.Path(), FakeEnvironment({})), PathFromUtf8("/from/file"));
}

TEST(Aliases, TheFileIsReadLineByLine) {
  TempFolder program;
  WriteBytes(program.Path() / kAliasFileName,
             "\xEF\xBB\xBF# aliases of the shop\r\n[aliases]\r\n; comment\r\n  kalora =  /lojas/dados \r\n"
             "KaloraLocal=/lojas/local\r\nOutro=/x\r\n");
  const auto env = FakeEnvironment({});
  EXPECT_EQ(ResolveAlias("Kalora", program.Path(), env), PathFromUtf8("/lojas/dados"));
  EXPECT_EQ(ResolveAlias("KaloraLocal", program.Path(), env), PathFromUtf8("/lojas/local"));
}

TEST(Aliases, AnUnknownAliasSaysWhereItWasLookedFor) {
  TempFolder program;
  try {
    ResolveAlias("KaloraLocal", program.Path(), FakeEnvironment({{"KALORA_ALIAS_Kalora", "/x"}}));
    ADD_FAILURE() << "resolved";
  } catch (const PlatformError& error) {
    const std::string message = error.what();
    EXPECT_EQ(error.Kind(), "EDBEngineError");
    EXPECT_EQ(message.rfind("Unknown alias 'KaloraLocal': set KALORA_ALIAS_KaloraLocal or add the line "
                            "\"KaloraLocal=<folder>\" to ", 0),
              0u)
        << message;
    EXPECT_NE(message.find(kAliasFileName), std::string::npos);
  }
}

#ifndef _WIN32
// Elsewhere than Windows, a Windows folder of drive C: lies under KALORA_DRIVE_C.
TEST(Aliases, WindowsFoldersMapToTheDriveFolder) {
  ::setenv("KALORA_DRIVE_C", "/srv/drive_c", 1);
  EXPECT_EQ(FolderFromSetting("C:\\Varnex\\Dados"), PathFromUtf8("/srv/drive_c/Varnex/Dados"));
  EXPECT_EQ(FolderFromSetting("c:/Varnex"), PathFromUtf8("/srv/drive_c/Varnex"));
  EXPECT_EQ(FolderFromSetting("C:\\"), PathFromUtf8("/srv/drive_c"));
  ::unsetenv("KALORA_DRIVE_C");
  ::setenv("HOME", "/home/loja", 1);
  EXPECT_EQ(FolderFromSetting("C:\\Varnex"), PathFromUtf8("/home/loja/.kalora/drive_c/Varnex"));
  EXPECT_EQ(FolderFromSetting("/plain/folder"), PathFromUtf8("/plain/folder"));
}
#endif

}  // namespace
}  // namespace kalora::store
