#include "store/ByteSource.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace kalora::store {
namespace {

class FileSource final : public ByteSource {
 public:
  FileSource(std::ifstream stream, std::uint64_t size) : stream_(std::move(stream)), size_(size) {}

  std::uint64_t Size() const override { return size_; }

  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t size) override {
    if (offset >= size_) return 0;
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - offset));
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(offset));
    stream_.read(out, static_cast<std::streamsize>(wanted));
    return static_cast<std::size_t>(std::max<std::streamsize>(stream_.gcount(), 0));
  }

 private:
  std::ifstream stream_;
  std::uint64_t size_;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}

  std::uint64_t Size() const override { return bytes_.size(); }

  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t size) override {
    if (offset >= bytes_.size()) return 0;
    const auto count = std::min<std::size_t>(size, bytes_.size() - static_cast<std::size_t>(offset));
    std::memcpy(out, bytes_.data() + offset, count);
    return count;
  }

 private:
  std::string bytes_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return nullptr;
  stream.seekg(0, std::ios::end);
  const std::streamoff end = stream.tellg();
  if (end < 0) return nullptr;
  stream.seekg(0);
  return std::make_unique<FileSource>(std::move(stream), static_cast<std::uint64_t>(end));
}

std::unique_ptr<ByteSource> MakeMemorySource(std::string bytes) {
  return std::make_unique<MemorySource>(std::move(bytes));
}

}  // namespace kalora::store
