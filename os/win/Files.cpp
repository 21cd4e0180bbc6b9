// Files on Windows, through the ANSI functions: paths are Windows-1252, the shops' code page.
#include <windows.h>

#include "os/Files.h"
#include "runtime/Errors.h"

namespace kalora::os {

namespace {

// The operator's file error code for a system error.
int IoCode(DWORD error) {
  switch (error) {
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return 101;
    default: return static_cast<int>(error);
  }
}

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

class FileInput : public InputStream {
 public:
  explicit FileInput(HANDLE handle) : handle_(handle) {}
  size_t Read(char* buffer, size_t size) override {
    DWORD count = 0;
    if (!ReadFile(handle_.get(), buffer, static_cast<DWORD>(size), &count, nullptr)) {
      throw InOutError(IoCode(GetLastError()));
    }
    return count;
  }

 private:
  UniqueHandle handle_;
};

class FileOutput : public OutputStream {
 public:
  explicit FileOutput(HANDLE handle) : handle_(handle) {}
  void Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      DWORD count = 0;
      if (!WriteFile(handle_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count,
                     nullptr)) {
        throw InOutError(IoCode(GetLastError()));
      }
      if (count == 0) throw InOutError(101);
      bytes.remove_prefix(count);
    }
  }
  void Close() override {
    HANDLE handle = handle_.release();
    if (handle != nullptr && !CloseHandle(handle)) throw InOutError(IoCode(GetLastError()));
  }

 private:
  UniqueHandle handle_;
};

HANDLE OpenHandle(const Text& path, DWORD access, DWORD creation) {
  HANDLE handle = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, creation,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw InOutError(IoCode(GetLastError()));
  return handle;
}

DWORD Attributes(const Text& path) { return GetFileAttributesA(path.c_str()); }

class WindowsFileSystem : public FileSystem {
 public:
  bool FileExists(const Text& path) override {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool FolderExists(const Text& path) override {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool CreateFolder(const Text& path) override {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
  }
  bool RemoveFile(const Text& path) override { return DeleteFileA(path.c_str()) != 0; }
  bool CopyOver(const Text& from, const Text& to) override {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
  }
  void MoveOver(const Text& from, const Text& to) override {
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      throw InOutError(IoCode(GetLastError()));
    }
  }
  std::unique_ptr<InputStream> OpenRead(const Text& path) override {
    return std::make_unique<FileInput>(OpenHandle(path, GENERIC_READ, OPEN_EXISTING));
  }
  std::unique_ptr<OutputStream> Create(const Text& path) override {
    return std::make_unique<FileOutput>(OpenHandle(path, GENERIC_WRITE, CREATE_ALWAYS));
  }
};

}  // namespace

FileSystem& MachineFiles() {
  static WindowsFileSystem files;
  return files;
}

Text NativePath(const Text& path) { return path; }

Text ProgramFolder() {
  char buffer[MAX_PATH];
  DWORD size = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  Text path(buffer, size);
  return path.substr(0, path.find_last_of('\\') + 1);
}

}  // namespace kalora::os
