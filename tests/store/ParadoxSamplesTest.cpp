// The samples written by real Paradox software read as their README lists them.
#include <gtest/gtest.h>

#include <ostream>

#include "runtime/Errors.h"
#include "store/ParadoxWriter.h"
#include "store/StorePaths.h"
#include "tests/store/StoreTestSupport.h"

namespace kalora::store {
namespace {

using testing::ReadAll;
using testing::SamplePath;
using Rows = std::vector<std::vector<std::string>>;

struct SampleCase {
  std::string file;
  std::string version;
  int key_fields;          // 0: unkeyed
  int code_page;           // effective: 850 where the header has none
  std::size_t records;
  Rows expected_first;     // leading records, leading fields, as the dump writes them
};

// By name: gtest would otherwise print the case's bytes, padding included (valgrind objects).
void PrintTo(const SampleCase& sample, std::ostream* out) { *out << sample.file; }

const SampleCase kSamples[] = {
    {"mtdemo/EMPLOYEE.DB", "3.0", 2, 850, 21, {{"A", "1", "Cynthia Elkins"}}},
    {"mtdemo/FILMS.DB", "3.0", 1, 850, 36, {{"A1001", "It Happened One Night"}}},
    {"mtdemo/RENTAL.DB", "3.0", 3, 850, 198,
     {{"1989-01-01", "1332", "B1406", "The Blob", "1.5", "Sci-Fi", "San Bruno", "1989-01-09"}}},
    {"areas/STATES.DB", "3.0", 1, 850, 53, {}},
    {"areas/ZIPCODES.DB", "4.x", 1, 437, 43185, {}},
    {"db/ORDERS.DB", "7.x", 1, 437, 224,
     {{"1001", "1221", "1988-04-03", "1988-04-05", "UPS", "7320", "7320", "0", "FOB", "Credit", "Apr"}}},
    {"db/DECIMAL.DB", "7.x", 0, 1252, 9,
     {{"-200"}, {"-20"}, {"-1"}, {"1"}, {"20"}, {"200"}, {"200.36"}, {"1.37"}, {"-1.387"}}},
    {"db/GENERAL.DB", "5.x", 1, 936, 3, {{"1", "Mari", "100"}, {"2", "Katty", "150"}, {"333333333", "Elizabet", "75"}}},
    {"db/SERVER.DB", "7.x", 2, 1252, 4, {}},
    {"db/AREACODES.DB", "7.x", 1, 1252, 370, {}},
    {"geog/County.DB", "7.x", 1, 437, 3218, {}},
    {"fields/date35.db", "3.5", 0, 850, 3, {{"2018-01-01"}, {"2018-02-01"}, {"2018-01-02"}}},
    {"fields/date4.db", "4.x", 0, 850, 3, {{"2018-01-01"}, {"2018-02-01"}, {"2018-01-02"}}},
    {"fields/date5.db", "5.x", 0, 850, 3,
     {{"2018-01-01", "10:00:00"}, {"2018-02-01", "10:30:00"}, {"2018-01-02", "09:25:25"}}},
    {"fields/date7.db", "5.x", 0, 850, 5,
     {{"2018-01-01", "10:00:00"}, {"2018-02-01", "10:30:00"}, {"2018-01-02", "09:25:25"}, {"", "10:00:00"},
      {"2018-01-01", ""}}},
    {"fields/time.db", "5.x", 0, 1252, 3, {{"01:00:01"}, {""}, {"03:00:03"}}},
    {"fields/timestamp.db", "5.x", 0, 850, 2, {{""}, {"2020-02-01 01:00:01"}}},
    {"fields/long.db", "5.x", 1, 850, 3, {{"1", "1"}, {"2", "2"}, {"3", ""}}},
    {"fields/logical.db", "5.x", 0, 1252, 4, {{"true"}, {"false"}, {"true"}, {"true"}}},
    {"fields/bcd.db", "5.x", 0, 850, 3, {{"1.23", "1", "0.123"}, {"-1.23", "-1", "-0.123"}, {"0.00", "", "0.9999"}}},
    {"fields/memo.db", "5.x", 1, 850, 2, {{"1"}, {"2"}}},
    {"joins/fk1.db", "5.x", 1, 850, 0, {}},
    {"joins/C.DB", "5.x", 1, 1252, 3, {{"1", "1", "4"}, {"2", "2", "5"}, {"3", "3", "6"}}},
};

class SampleTest : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleTest, ReadsAsListed) {
  const SampleCase& sample = GetParam();
  ParadoxTable table = ParadoxTable::OpenFile(SamplePath(sample.file));
  EXPECT_EQ(VersionName(table.Header().file_version), sample.version);
  EXPECT_EQ(table.IsKeyed() ? table.KeyFieldCount() : 0, sample.key_fields);
  EXPECT_EQ(table.CodePage(), sample.code_page);
  const Rows rows = ReadAll(table);
  ASSERT_EQ(rows.size(), sample.records);
  for (std::size_t r = 0; r < sample.expected_first.size(); ++r) {
    const auto& expected = sample.expected_first[r];
    ASSERT_GE(rows[r].size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(rows[r].begin(), rows[r].begin() + static_cast<long>(expected.size())), expected)
        << "record " << r + 1;
  }
}

// Every key of a keyed sample is found, through the .PX and through the blocks alike.
TEST_P(SampleTest, FindsEveryKeyThroughBothIndexes) {
  const SampleCase& sample = GetParam();
  if (sample.key_fields == 0) GTEST_SKIP() << "unkeyed";
  ParadoxTable with_index = ParadoxTable::OpenFile(SamplePath(sample.file));
  ParadoxTable without_index(OpenFileSource(SamplePath(sample.file)), "no index", nullptr, "");
  const bool has_index_file = !FindSibling(SamplePath(sample.file), ".PX").empty();
  ASSERT_EQ(with_index.Index(), has_index_file ? ParadoxTable::IndexKind::kIndexFile
                                               : ParadoxTable::IndexKind::kBuiltFromBlocks)
      << with_index.IndexNote();
  ASSERT_EQ(without_index.Index(), ParadoxTable::IndexKind::kBuiltFromBlocks);
  const int key_width = [&] {
    int width = 0;
    for (int i = 0; i < with_index.KeyFieldCount(); ++i) width += with_index.Fields()[static_cast<std::size_t>(i)].width;
    return width;
  }();
  ParadoxTable walker = ParadoxTable::OpenFile(SamplePath(sample.file));
  std::size_t checked = 0;
  for (auto position = walker.First(); position; position = walker.Next(*position)) {
    const std::string key(walker.Record(*position).substr(0, static_cast<std::size_t>(key_width)));
    for (ParadoxTable* table : {&with_index, &without_index}) {
      const auto found = table->FindKeyPrefix(key);
      ASSERT_TRUE(found) << "record " << checked + 1;
      EXPECT_EQ(std::string(table->Record(*found).substr(0, key.size())), key);
    }
    ++checked;
  }
  // A key beyond the last one, and below the first, is not found.
  EXPECT_FALSE(with_index.FindKeyPrefix(std::string(static_cast<std::size_t>(key_width), '\xFF')));
  EXPECT_FALSE(with_index.FindKeyPrefix(std::string(static_cast<std::size_t>(key_width), '\x01')));
}

// The writer's rewrite of a sample reads back with the same values and the same keys.
TEST_P(SampleTest, RewriteReadsTheSame) {
  const SampleCase& sample = GetParam();
  ParadoxTable original = ParadoxTable::OpenFile(SamplePath(sample.file));
  TableLayout layout;
  layout.file_version = original.Header().file_version;
  layout.code_page = original.CodePage();
  layout.block_size_kb = original.Header().block_size / 1024;
  layout.key_field_count = original.IsKeyed() ? original.KeyFieldCount() : 0;
  for (const auto& field : original.Fields()) {
    if (IsBlob(field.type)) GTEST_SKIP() << "the writer writes no blobs";
    layout.fields.push_back({field.name, field.type, field.descriptor_size});
  }
  std::vector<std::vector<Value>> records;
  for (auto position = original.First(); position; position = original.Next(*position)) {
    const std::string record(original.Record(*position));
    std::vector<Value> values;
    for (const auto& field : original.Fields()) values.push_back(DecodeValue(field, record));
    records.push_back(values);
  }
  testing::TempFolder folder;
  const auto copy_path = folder.Path() / "COPY.DB";
  WriteTable(copy_path, layout, records);
  ParadoxTable copy = ParadoxTable::OpenFile(copy_path, OpenOptions{original.CodePage()});
  EXPECT_EQ(ReadAll(copy), ReadAll(original));
  if (layout.key_field_count > 0) {
    EXPECT_EQ(copy.Index(), ParadoxTable::IndexKind::kIndexFile) << copy.IndexNote();
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleTest, ::testing::ValuesIn(kSamples), [](const auto& test_info) {
  std::string name = test_info.param.file;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
});

TEST(SampleFacts, HeaderDetailsOfTheOddOnes) {
  ParadoxTable employee = ParadoxTable::OpenFile(SamplePath("mtdemo/EMPLOYEE.DB"));
  EXPECT_EQ(employee.Header().header_size, 222);
  EXPECT_EQ(employee.Header().block_size, 1024);
  EXPECT_EQ(employee.Fields()[0].name, "Store #");
  EXPECT_EQ(employee.Fields()[1].type, FieldType::kShort);

  ParadoxTable roman = ParadoxTable::OpenFile(SamplePath("db/ROMAN8.db"));
  EXPECT_EQ(roman.Header().code_page, 0);
  const auto first = roman.First();
  ASSERT_TRUE(first);
  EXPECT_EQ(std::get<TableText>(DecodeValue(roman.Fields()[0], roman.Record(*first))).bytes, "\xEB\xF8\xBE\xF4");

  ParadoxTable customer = ParadoxTable::OpenFile(SamplePath("db/CUSTOMER.DB"));
  const Rows rows = ReadAll(customer);
  ASSERT_EQ(rows.size(), 20u);
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i][0], std::to_string(i + 1));
  const auto date_entered = std::find_if(customer.Fields().begin(), customer.Fields().end(),
                                         [](const FieldInfo& f) { return f.name == "DateEntered"; });
  ASSERT_NE(date_entered, customer.Fields().end());
  EXPECT_EQ(rows[0][static_cast<std::size_t>(date_entered - customer.Fields().begin())], "1996-02-02");
}

TEST(SampleFacts, EncryptedTablesAreRefusedByName) {
  for (const char* file : {"encrypt/encrypted.db", "encrypt/encrypted35.db", "encrypt/encryptedmemo.db"}) {
    SCOPED_TRACE(file);
    try {
      ParadoxTable::OpenFile(SamplePath(file));
      ADD_FAILURE() << "opened";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Kind(), "EDBEngineError");
      EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find("password-protected"), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace kalora::store
