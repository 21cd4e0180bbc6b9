// Bytes from memory handed out a few at a time, so that line ends fall across the reader's
// refills the way they do on a slow or short read.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "runtime/Streams.h"

namespace kalora::testing {

class ChunkedInput : public InputStream {
 public:
  ChunkedInput(std::string bytes, size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}

  size_t Read(char* buffer, size_t size) override {
    size_t count = std::min({size, chunk_, bytes_.size() - pos_});
    std::memcpy(buffer, bytes_.data() + pos_, count);
    pos_ += count;
    return count;
  }

 private:
  std::string bytes_;
  size_t chunk_;
  size_t pos_ = 0;
};

}  // namespace kalora::testing
