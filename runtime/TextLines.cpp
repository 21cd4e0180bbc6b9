#include "runtime/TextLines.h"

#include <cstring>

#include "runtime/Errors.h"

namespace kalora {

namespace {
constexpr char kEndOfText = 26;
constexpr size_t kBufferSize = 64 * 1024;

// Where the text from start stops: at the first CR or end mark, or at the end of the buffer.
// memchr keeps the scan as fast as a plain copy of the bytes.
size_t LineStop(const std::string& buffer, size_t start, size_t end) {
  const char* begin = buffer.data() + start;
  size_t size = end - start;
  if (const void* cr = std::memchr(begin, '\r', size)) {
    size = static_cast<size_t>(static_cast<const char*>(cr) - begin);
  }
  if (const void* mark = std::memchr(begin, kEndOfText, size)) {
    size = static_cast<size_t>(static_cast<const char*>(mark) - begin);
  }
  return start + size;
}

}  // namespace

bool LineReader::Fill() {
  if (ended_) return false;
  if (buffer_.size() != kBufferSize) buffer_.resize(kBufferSize);
  end_ = input_.Read(buffer_.data(), buffer_.size());
  pos_ = 0;
  if (end_ == 0) ended_ = true;
  return end_ > 0;
}

bool LineReader::ReadLine(Text& line) {
  line.clear();
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !Fill()) return any;
    any = true;
    size_t start = pos_;
    pos_ = LineStop(buffer_, start, end_);
    line.append(buffer_, start, pos_ - start);
    if (pos_ == end_) continue;
    if (buffer_[pos_] == kEndOfText) {
      // Text before the end mark is a last line; nothing at all is no line.
      bool last_line = start != pos_ || !line.empty();
      ended_ = true;
      pos_ = end_ = 0;
      return last_line;
    }
    ++pos_;  // the CR
    if (pos_ == end_) Fill();
    if (pos_ < end_ && buffer_[pos_] == '\n') ++pos_;
    return true;
  }
}

void LineWriter::WriteLine(std::string_view line) {
  buffer_.append(line);
  buffer_.append("\r\n");
  if (buffer_.size() >= kBufferSize) {
    // Whole buffers only: page-sized writes keep the system from patching partial pages.
    size_t whole = buffer_.size() - buffer_.size() % kBufferSize;
    output_.Write({buffer_.data(), whole});
    buffer_.erase(0, whole);
  }
}

void LineWriter::Flush() {
  if (buffer_.empty()) return;
  output_.Write(buffer_);
  buffer_.clear();
}

void LineWriter::Close() {
  Flush();
  output_.Close();
}

std::vector<Text> SplitList(std::string_view text) {
  std::vector<Text> lines;
  size_t pos = 0;
  while (pos < text.size() && text[pos] != '\0') {
    size_t start = pos;
    while (pos < text.size() && text[pos] != '\0' && text[pos] != '\r' && text[pos] != '\n') ++pos;
    lines.emplace_back(text.substr(start, pos - start));
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

const Text& ListLine(const std::vector<Text>& lines, int index) {
  if (index < 0 || static_cast<size_t>(index) >= lines.size()) throw ListIndexError(index);
  return lines[static_cast<size_t>(index)];
}

}  // namespace kalora
