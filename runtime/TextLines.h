// Text files: one record per line, 8-bit bytes written as they are.
//
// Two ways of splitting exist, and both are needed. The line reader is how day files and the
// printer's mirror are read one line at a time; the list loader is how a whole file is taken
// in as a list of lines. They differ on a lone LF, on code 26 and on code 0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/Streams.h"
#include "runtime/Text.h"

namespace kalora {

// A line ends at a CR, and an LF right after it is skipped; an LF anywhere else is an ordinary
// character of the line. A character of code 26 ends the text. A last line without a line end
// is a line like any other.
class LineReader {
 public:
  explicit LineReader(InputStream& input) : input_(input) {}

  // The next line into line; false at the end of the text.
  bool ReadLine(Text& line);

 private:
  bool Fill();

  InputStream& input_;
  // Read bytes are buffer_[pos_, end_); the buffer keeps its size so a read never clears it.
  std::string buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool ended_ = false;
};

// Every line written ends with CR LF. Output is buffered; Close flushes it.
class LineWriter {
 public:
  explicit LineWriter(OutputStream& output) : output_(output) {}

  void WriteLine(std::string_view line);
  void Close();

 private:
  void Flush();

  OutputStream& output_;
  std::string buffer_;
};

// The whole-text list split: a line ends at a CR, at an LF or at a CR LF pair (counted once);
// a character of code 0 ends the text; code 26 is ordinary.
std::vector<Text> SplitList(std::string_view text);

// Line index of a list, or "Lista de índices fora de faixa (%d)".
const Text& ListLine(const std::vector<Text>& lines, int index);

}  // namespace kalora
