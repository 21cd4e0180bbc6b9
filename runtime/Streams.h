// Byte streams under the text files: files come from the OS layer, tests use memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kalora {

class InputStream {
 public:
  virtual ~InputStream() = default;
  // Up to size bytes into buffer; 0 at the end. A failure raises a PlatformError.
  virtual size_t Read(char* buffer, size_t size) = 0;
};

class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // All of bytes, or a PlatformError ("Disco cheio", ...).
  virtual void Write(std::string_view bytes) = 0;
  // Makes sure everything written has reached its destination, or raises a PlatformError.
  virtual void Close() = 0;
};

class MemoryInput : public InputStream {
 public:
  explicit MemoryInput(std::string bytes) : bytes_(std::move(bytes)) {}
  size_t Read(char* buffer, size_t size) override;

 private:
  std::string bytes_;
  size_t pos_ = 0;
};

class MemoryOutput : public OutputStream {
 public:
  void Write(std::string_view bytes) override { bytes_.append(bytes); }
  void Close() override {}
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Every byte of a stream, to its end.
std::string ReadAll(InputStream& input);

}  // namespace kalora
