// The support dump: a summary, then the records as CSV in UTF-8.
#include <gtest/gtest.h>

#include <sstream>

#include "runtime/Errors.h"
#include "store/StorePaths.h"
#include "tests/store/StoreTestSupport.h"

namespace kalora::store {
namespace {

using testing::FixturePath;
using testing::ReadBytes;

std::string Dump(ParadoxTable& table) {
  std::ostringstream out;
  DumpTable(table, out);
  return out.str();
}

TEST(TableDump, MatchesTheGoldenFile) {
  testing::TempFolder folder;
  const auto db = testing::WriteDescribedTable(folder.Path(), ReadBytes(FixturePath("Mixed.txt")));
  ParadoxTable table(MakeMemorySource(ReadBytes(db)), "Mixed.DB", MakeMemorySource(ReadBytes(folder.Path() / "Mixed.PX")),
                     "Mixed.PX");
  EXPECT_EQ(Dump(table), ReadBytes(FixturePath("Mixed.dump.csv")));
}

TEST(TableDump, ShowsARealTableWithItsNulls) {
  ParadoxTable table(MakeMemorySource(ReadBytes(testing::SamplePath("fields/date7.db"))), "date7.db", nullptr, "");
  const std::string dump = Dump(table);
  EXPECT_NE(dump.find("Version: 5.x (version byte 11)\r\nKind: unkeyed\r\nCode page: 850\r\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("Records: 5\r\n"), std::string::npos);
  EXPECT_NE(dump.find("\r\n\r\nDATE,TIME\r\n2018-01-01,10:00:00\r\n"), std::string::npos);
  EXPECT_NE(dump.find("\r\n,10:00:00\r\n2018-01-01,\r\n"), std::string::npos);
}

TEST(TableDump, ABadFileWritesNothingAndNamesTheFile) {
  std::ostringstream out;
  const auto missing = testing::SamplePath("nothing/here.DB");
  EXPECT_THROW(DumpTable(missing, out), PlatformError);
  std::string bad = ReadBytes(testing::SamplePath("fields/date7.db"));
  bad[static_cast<std::size_t>(0x800 + 5)] = 0x7F;  // record count past the block
  ParadoxTable table(MakeMemorySource(bad), "date7.db", nullptr, "");
  try {
    DumpTable(table, out);
    ADD_FAILURE() << "dumped";
  } catch (const PlatformError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("date7.db: block 1", 0), 0u) << error.what();
  }
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace kalora::store
