#include "runtime/TextLines.h"

#include <gtest/gtest.h>

#include "runtime/Errors.h"
#include "tests/support/ChunkedInput.h"

namespace kalora {
namespace {

using Lines = std::vector<Text>;

Lines ReadLines(const std::string& bytes, size_t step) {
  testing::ChunkedInput input(bytes, step);
  LineReader reader(input);
  Lines lines;
  Text line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

struct SplitCase {
  std::string bytes;
  Lines reader;  // what the line reader gives
  Lines list;    // what the list loader gives
};

const SplitCase kSplitCases[] = {
    {"", {}, {}},
    {"a\r\nb\r\n", {"a", "b"}, {"a", "b"}},
    {"a\r\nb", {"a", "b"}, {"a", "b"}},
    {"a\rb\r", {"a", "b"}, {"a", "b"}},
    {"a\nb\r\n", {"a\nb"}, {"a", "b"}},
    {"a\n\nb", {"a\n\nb"}, {"a", "", "b"}},
    {"\r\n\r\n", {"", ""}, {"", ""}},
    {"a\r\r\nb", {"a", "", "b"}, {"a", "", "b"}},
    {"a\n\r", {"a\n"}, {"a", ""}},
    {"a\r\n\x1A" "b\r\n", {"a"}, {"a", "\x1A" "b"}},
    {"ab\x1A" "cd", {"ab"}, {"ab\x1A" "cd"}},
    {"\x1A", {}, {"\x1A"}},
    {std::string("a\0b\r\nc", 6), {std::string("a\0b", 3), "c"}, {"a"}},
    {"  \r\n", {"  "}, {"  "}},
};

TEST(TextLines, LineReaderAndListLoaderSplitTheirOwnWay) {
  for (const auto& c : kSplitCases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    for (size_t step : {1, 2, 3, 1000}) {
      EXPECT_EQ(ReadLines(c.bytes, step), c.reader) << "step " << step;
    }
    EXPECT_EQ(SplitList(c.bytes), c.list);
  }
}

TEST(TextLines, LongLinesAreReadWhole) {
  std::string line(1 << 20, 'x');
  EXPECT_EQ(ReadLines(line + "\r\n" + line, 70000), (Lines{line, line}));
}

TEST(TextLines, WriterEndsEveryLineWithCrLfAndKeepsBytes) {
  MemoryOutput output;
  LineWriter writer(output);
  writer.WriteLine("E14\xE7");
  writer.WriteLine("");
  writer.WriteLine("a\nb");
  writer.Close();
  EXPECT_EQ(output.Bytes(), "E14\xE7\r\n\r\na\nb\r\n");
}

TEST(TextLines, LinesAcrossTheWritersBufferArriveWhole) {
  MemoryOutput output;
  LineWriter writer(output);
  Text expected;
  for (int i = 0; i < 3000; ++i) {
    const Text line(static_cast<size_t>(i % 301), static_cast<char>('a' + i % 26));
    writer.WriteLine(line);
    expected += line + "\r\n";
  }
  writer.Close();
  ASSERT_GT(expected.size(), 6u * 64 * 1024);
  EXPECT_EQ(output.Bytes(), expected);
}

TEST(TextLines, ListLineOutsideTheListNamesTheIndex) {
  Lines lines = {"a", "b"};
  EXPECT_EQ(ListLine(lines, 1), "b");
  for (int index : {-1, 2}) {
    try {
      ListLine(lines, index);
      ADD_FAILURE();
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Message(),
                "Lista de \xEDndices fora de faixa (" + std::to_string(index) + ")");
    }
  }
}

}  // namespace
}  // namespace kalora
