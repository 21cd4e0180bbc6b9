// Files on Linux: the program's Windows paths mapped onto a folder standing for drive C:.
#include "os/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>

#include "runtime/Errors.h"

namespace kalora::os {

namespace {

Text DriveC() {
  if (auto folder = EnvironmentValue("KALORA_DRIVE_C")) return *folder;
  return EnvironmentValue("HOME").value_or("/tmp") + "/.kalora/drive_c";
}

bool IsDirectory(const Text& native) {
  struct stat info {};
  return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Text ParentOf(const Text& native) {
  size_t cut = native.find_last_of('/');
  return cut == Text::npos ? Text(".") : cut == 0 ? Text("/") : native.substr(0, cut);
}

// The operator's file error code for errno, the way Windows would have reported it.
int IoCode(int error, const Text& native) {
  switch (error) {
    case ENOENT: return IsDirectory(ParentOf(native)) ? 2 : 3;
    case ENOTDIR:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return 5;
    case ENOSPC:
    case EDQUOT: return 101;
    default: return error;
  }
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

class FileInput : public InputStream {
 public:
  FileInput(int fd, Text native) : fd_(fd), native_(std::move(native)) {}
  size_t Read(char* buffer, size_t size) override {
    for (;;) {
      ssize_t count = ::read(fd_.Get(), buffer, size);
      if (count >= 0) return static_cast<size_t>(count);
      if (errno != EINTR) throw InOutError(IoCode(errno, native_));
    }
  }

 private:
  Descriptor fd_;
  Text native_;
};

class FileOutput : public OutputStream {
 public:
  FileOutput(int fd, Text native) : fd_(fd), native_(std::move(native)) {}
  void Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t count = ::write(fd_.Get(), bytes.data(), bytes.size());
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) throw InOutError(IoCode(errno, native_));
      bytes.remove_prefix(static_cast<size_t>(count));
    }
  }
  void Close() override {
    int fd = fd_.Release();
    if (fd >= 0 && ::close(fd) != 0) throw InOutError(IoCode(errno, native_));
  }

 private:
  Descriptor fd_;
  Text native_;
};

class UnixFileSystem : public FileSystem {
 public:
  bool FileExists(const Text& path) override {
    struct stat info {};
    return stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
  }
  bool FolderExists(const Text& path) override { return IsDirectory(NativePath(path)); }
  bool CreateFolder(const Text& path) override {
    return ::mkdir(NativePath(path).c_str(), 0777) == 0;
  }
  bool RemoveFile(const Text& path) override { return ::unlink(NativePath(path).c_str()) == 0; }
  bool CopyOver(const Text& from, const Text& to) override {
    try {
      auto input = OpenRead(from);
      auto output = Create(to);
      char buffer[64 * 1024];
      while (size_t count = input->Read(buffer, sizeof buffer)) output->Write({buffer, count});
      output->Close();
      return true;
    } catch (const PlatformError&) {
      return false;
    }
  }
  void MoveOver(const Text& from, const Text& to) override {
    Text native_to = NativePath(to);
    if (::rename(NativePath(from).c_str(), native_to.c_str()) != 0) {
      throw InOutError(IoCode(errno, native_to));
    }
  }
  std::unique_ptr<InputStream> OpenRead(const Text& path) override {
    Text native = NativePath(path);
    int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || IsDirectory(native)) {
      int error = fd < 0 ? errno : EISDIR;
      if (fd >= 0) ::close(fd);
      throw InOutError(IoCode(error, native));
    }
    return std::make_unique<FileInput>(fd, native);
  }
  std::unique_ptr<OutputStream> Create(const Text& path) override {
    Text native = NativePath(path);
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw InOutError(IoCode(errno, native));
    return std::make_unique<FileOutput>(fd, native);
  }
};

}  // namespace

FileSystem& MachineFiles() {
  static UnixFileSystem files;
  return files;
}

Text NativePath(const Text& path) {
  Text native = path;
  if (native.size() >= 2 && (native[0] == 'C' || native[0] == 'c') && native[1] == ':') {
    native = DriveC() + "/" + native.substr(2);
  }
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

Text ProgramFolder() {
  char buffer[PATH_MAX];
  ssize_t size = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (size <= 0 || static_cast<size_t>(size) >= sizeof buffer - 1) return {};  // unknown or cut
  Text path(buffer, static_cast<size_t>(size));
  return path.substr(0, path.find_last_of('/') + 1);
}

}  // namespace kalora::os
