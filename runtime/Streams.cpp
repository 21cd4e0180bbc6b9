#include "runtime/Streams.h"

#include <algorithm>
#include <cstring>

namespace kalora {

size_t MemoryInput::Read(char* buffer, size_t size) {
  size_t count = std::min(size, bytes_.size() - pos_);
  std::memcpy(buffer, bytes_.data() + pos_, count);
  pos_ += count;
  return count;
}

std::string ReadAll(InputStream& input) {
  std::string bytes;
  char buffer[64 * 1024];
  while (size_t count = input.Read(buffer, sizeof buffer)) bytes.append(buffer, count);
  return bytes;
}

}  // namespace kalora
