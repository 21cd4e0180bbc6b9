// The line reader and the list loader over the same bytes. The first byte picks how many
// bytes each read of the stream gives (1 to 16, or everything at once); the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "runtime/TextLines.h"
#include "tests/support/ChunkedInput.h"
#include "tests/fuzz/FuzzCheck.h"

namespace kalora::fuzz {
namespace {

constexpr char kEndOfText = 26;
using Lines = std::vector<Text>;

Lines ReadLines(std::string_view text, size_t chunk) {
  testing::ChunkedInput input{std::string(text), chunk};
  LineReader reader(input);
  Lines lines;
  Text line;
  while (reader.ReadLine(line)) lines.push_back(line);
  Require(line.empty(), "the reader leaves no text behind at the end");
  Require(!reader.ReadLine(line), "the reader stays at the end");
  return lines;
}

// The lines, each followed by its line end, give back text exactly: a line end is one
// character of ends, or CR LF; only a last line may lack one, and then it is not empty.
void RequireJoinsBack(const Lines& lines, std::string_view text, std::string_view ends) {
  size_t pos = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Text& line = lines[i];
    Require(line.find_first_of(ends) == Text::npos, "no line holds a line end");
    Require(text.substr(pos, line.size()) == line, "each line is the next text");
    pos += line.size();
    if (pos == text.size()) {
      Require(i + 1 == lines.size(), "only the last line ends with the text");
      Require(!line.empty(), "no empty line is made up after the last line end");
      break;
    }
    Require(ends.find(text[pos]) != std::string_view::npos, "a line stops at a line end");
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    ++pos;
  }
  Require(pos == text.size(), "the lines cover the whole text");
}

bool HasLoneLineFeed(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return true;
  }
  return false;
}

void CheckReader(std::string_view text, size_t chunk, Lines& lines) {
  lines = ReadLines(text, chunk);
  for (const Text& line : lines) {
    Require(line.find(kEndOfText) == Text::npos, "no line holds the end mark");
  }
  // Only CR ends a line for the reader; an LF after it belongs to the line end.
  RequireJoinsBack(lines, text.substr(0, text.find(kEndOfText)), "\r");
}

void CheckList(std::string_view text, Lines& lines) {
  lines = SplitList(text);
  RequireJoinsBack(lines, text.substr(0, text.find('\0')), "\r\n");
  int count = static_cast<int>(lines.size());
  for (int index : {-1, count}) {
    try {
      (void)ListLine(lines, index);
      Require(false, "a line outside the list is an error");
    } catch (const PlatformError& error) {
      Require(error.Message() ==
                  "Lista de índices fora de faixa ("_cp + std::to_string(index) + ")",
              "the list error names the index");
    }
  }
  for (int index : {0, count - 1}) {
    if (index >= 0 && index < count) {
      Require(&ListLine(lines, index) == &lines[index], "ListLine gives the line");
    }
  }
}

// What the writer makes of lines reads back as the same lines.
void CheckWriter(const Lines& lines) {
  MemoryOutput output;
  LineWriter writer(output);
  Text expected;
  for (const Text& line : lines) {
    writer.WriteLine(line);
    expected += line + "\r\n";
  }
  writer.Close();
  Require(output.Bytes() == expected, "every line written ends with CR LF");
  Require(ReadLines(output.Bytes(), output.Bytes().size()) == lines,
          "written lines read back the same");
}

}  // namespace
}  // namespace kalora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kalora;
  using namespace kalora::fuzz;
  if (size == 0) return 0;
  size_t chunk = data[0] < 16 ? data[0] + 1u : size;
  std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  Lines read;
  CheckReader(text, chunk, read);
  Lines listed;
  CheckList(text, listed);
  CheckWriter(read);

  // Without a lone LF, a code 0 or a code 26 the two splits agree.
  std::string_view common = text.substr(0, text.find_first_of(std::string_view("\0\x1a", 2)));
  if (!HasLoneLineFeed(common)) {
    Require(ReadLines(common, chunk) == SplitList(common), "reader and list agree");
  }
  return 0;
}
