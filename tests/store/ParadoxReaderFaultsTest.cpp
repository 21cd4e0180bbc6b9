// Damaged and hostile files give an error naming the file, never a crash, a hang or a read
// outside the file; a damaged .PX never changes the answers.
#include <gtest/gtest.h>

#include <functional>

#include "runtime/Errors.h"
#include "tests/store/StoreTestSupport.h"

namespace kalora::store {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

// 200 records in 23 blocks of 1 KB; the .PX has two levels.
struct Files {
  std::string db;
  std::string px;
};

const Files& Sample() {
  static const Files files = [] {
    std::string description = "table Chaves.DB\nversion 7.x\ncodepage 1252\nblocksize 1\nfield A100 Chave\nfield I Valor\nkey 1\n";
    for (int i = 0; i < 200; ++i) description += "record chave " + std::to_string(1000 + i * 7) + "|" + std::to_string(i) + "\n";
    TempFolder folder;
    const auto path = testing::WriteDescribedTable(folder.Path(), description);
    return Files{ReadBytes(path), ReadBytes(folder.Path() / "Chaves.PX")};
  }();
  return files;
}

ParadoxTable Open(const std::string& db, const std::string& px) {
  return ParadoxTable(MakeMemorySource(db), "bad.DB", px.empty() ? nullptr : MakeMemorySource(px), "bad.PX");
}

// Opens, walks every record and looks a key up: everything a table is asked to do.
std::vector<std::vector<std::string>> Exercise(const std::string& db, const std::string& px) {
  ParadoxTable table = Open(db, px);
  auto rows = testing::ReadAll(table);
  std::string key(100, '\0');
  key.replace(0, 10, "chave 1007");
  if (table.IsKeyed()) table.FindKeyPrefix(key);
  return rows;
}

void Put16(std::string& bytes, std::size_t offset, unsigned value) {
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>(value >> 8);
}

std::size_t BlockStart(const std::string& file, int number) {
  const auto header = static_cast<unsigned char>(file[2]) | static_cast<unsigned char>(file[3]) << 8;
  const auto block_kb = static_cast<unsigned char>(file[5]);
  return header + static_cast<std::size_t>(number - 1) * block_kb * 1024;
}

struct FaultCase {
  std::string name;
  std::function<void(std::string&)> damage;
  std::string expected;  // part of the message, after "bad.DB: "
};

const std::vector<FaultCase>& FaultCases() {
  static const std::vector<FaultCase> cases = {
      {"too short", [](std::string& db) { db.resize(10); }, "file too short for a table header"},
      {"header past the end", [](std::string& db) { Put16(db, 0x02, 0xFFFF); }, "header size 65535 does not fit"},
      {"header too small", [](std::string& db) { Put16(db, 0x02, 0x10); }, "header size 16 does not fit"},
      {"unknown version", [](std::string& db) { db[0x39] = 0x55; }, "not a table file of a known version"},
      {"an index as data", [](std::string& db) { db[0x04] = 1; }, "not a data table"},
      {"no block size", [](std::string& db) { db[0x05] = 0; }, "block size of 0 KB"},
      {"huge block size", [](std::string& db) { db[0x05] = 100; }, "block size of 100 KB"},
      {"zero record size", [](std::string& db) { Put16(db, 0x00, 0); }, "record size 0 does not fit a block"},
      {"record size off", [](std::string& db) { Put16(db, 0x00, 105); }, "fields take 104 bytes but records have 105"},
      {"unknown field type", [](std::string& db) { db[0x78] = 0x33; }, "field 1 has an unknown type 0x33"},
      {"too many fields", [](std::string& db) { Put16(db, 0x21, 0xFFFF); }, "field descriptors run past the header"},
      {"encrypted", [](std::string& db) { db[0x5C] = 1; }, "password-protected"},
      {"more keys than fields", [](std::string& db) { Put16(db, 0x23, 3); }, "more key fields than fields"},
      {"names past the header", [](std::string& db) {
         std::fill(db.begin() + 0x78 + 4 + 4 + 8 + 261, db.begin() + BlockStart(db, 1), 'x');
       }, "field names run past the header"},
      {"first block outside", [](std::string& db) { Put16(db, 0x0E, 999); }, "block 999 is outside the file's 23 blocks"},
      {"chain loops", [](std::string& db) { Put16(db, BlockStart(db, 5), 2); }, "the chain of blocks loops"},
      {"chain to itself", [](std::string& db) { Put16(db, BlockStart(db, 1), 1); }, "the chain of blocks loops"},
      {"next outside", [](std::string& db) { Put16(db, BlockStart(db, 3), 40000); }, "block 40000 is outside"},
      {"too many records", [](std::string& db) { Put16(db, BlockStart(db, 4) + 4, 30000); }, "block 4 holds more records than fit"},
      {"negative record count", [](std::string& db) { Put16(db, BlockStart(db, 4) + 4, 0x8000); }, "block 4 has a bad record count"},
      {"cut inside a block", [](std::string& db) { db.resize(BlockStart(db, 23) + 100); }, "block 23 holds more records than fit"},
      {"cut before a block", [](std::string& db) { db.resize(BlockStart(db, 23) + 3); }, "block 23 lies past the end of the file"},
      {"blocks beyond the file", [](std::string& db) { Put16(db, 0x0C, 60000); Put16(db, BlockStart(db, 23), 24); },
       "block 24 lies past the end of the file"},
  };
  return cases;
}

TEST(ReaderFaults, DamagedDataFilesFailNamingTheFile) {
  for (const auto& fault : FaultCases()) {
    SCOPED_TRACE(fault.name);
    std::string db = Sample().db;
    fault.damage(db);
    try {
      Exercise(db, Sample().px);
      ADD_FAILURE() << "no error";
    } catch (const PlatformError& error) {
      const std::string message = error.what();
      EXPECT_EQ(error.Kind(), "EDBEngineError");
      EXPECT_EQ(message.rfind("bad.DB: ", 0), 0u) << message;
      EXPECT_NE(message.find(fault.expected), std::string::npos) << message;
    }
  }
}

TEST(ReaderFaults, TheBlocksWinOverTheHeaderCount) {
  std::string db = Sample().db;
  Put16(db, 0x06, 5);
  EXPECT_EQ(Exercise(db, Sample().px).size(), 200u);
}

// However the .PX is damaged, every key is still found: through the .PX where it is sound,
// otherwise through the blocks.
TEST(ReaderFaults, ADamagedIndexFileNeverChangesTheAnswers) {
  const std::vector<std::pair<std::string, std::function<void(std::string&)>>> damages = {
      {"sound", [](std::string&) {}},
      {"root outside", [](std::string& px) { Put16(px, 0x1E, 500); }},
      {"no levels", [](std::string& px) { px[0x20] = 0; }},
      {"other key type", [](std::string& px) { px[0x58] = 0x04; }},
      {"too short", [](std::string& px) { px.resize(40); }},
      {"root emptied", [](std::string& px) { Put16(px, BlockStart(px, 4) + 4, 0xFF96); }},
      {"entry to a missing block", [](std::string& px) {
         const std::size_t entry = BlockStart(px, 1) + 6;
         px[entry + 100] = static_cast<char>(0x83);  // block 0x03E7 ^ 0x8000 = 999
         px[entry + 101] = static_cast<char>(0xE7);
       }},
      {"levels beyond the data", [](std::string& px) { px[0x20] = 9; }},
  };
  for (const auto& [name, damage] : damages) {
    SCOPED_TRACE(name);
    std::string px = Sample().px;
    damage(px);
    ParadoxTable table = Open(Sample().db, px);
    ParadoxTable walker = Open(Sample().db, "");
    std::vector<std::string> keys;
    for (auto position = walker.First(); position; position = walker.Next(*position)) {
      keys.emplace_back(walker.Record(*position).substr(0, 100));
    }
    ASSERT_EQ(keys.size(), 200u);
    // Keys far apart, so that each lookup goes through the index, not the block in memory.
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const std::string& key = keys[i * 37 % keys.size()];
      const auto hit = table.FindKeyPrefix(key);
      ASSERT_TRUE(hit) << key;
      EXPECT_EQ(std::string(table.Record(*hit).substr(0, 100)), key);
    }
    EXPECT_FALSE(table.FindKeyPrefix("chave 1001"));
    EXPECT_FALSE(table.FindKeyPrefix(std::string(100, '\xFF')));
  }
}

TEST(ReaderFaults, TheSoundSampleHasATwoLevelIndex) {
  ParadoxTable table = Open(Sample().db, Sample().px);
  EXPECT_EQ(table.Index(), ParadoxTable::IndexKind::kIndexFile) << table.IndexNote();
  ParadoxFile index(MakeMemorySource(Sample().px), "bad.PX", FileRole::kPrimaryIndex, 1252);
  EXPECT_EQ(index.Header().index_levels, 2);
  EXPECT_EQ(table.Header().blocks_in_file, 23);
}

}  // namespace
}  // namespace kalora::store
