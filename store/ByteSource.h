#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace kalora::store {

// Random access to the bytes of one table file. The reader asks only for the header and the
// blocks it needs; tests and the fuzzer hand it bytes in memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads up to `size` bytes at `offset` into `out`; fewer only where the file ends.
  virtual std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t size) = 0;
};

// nullptr when the file cannot be opened for reading.
std::unique_ptr<ByteSource> OpenFileSource(const std::filesystem::path& path);
std::unique_ptr<ByteSource> MakeMemorySource(std::string bytes);

}  // namespace kalora::store
