// Libraries on Linux: shared objects in the program's own folder, through dlopen.
#include "os/Library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "os/Files.h"

namespace kalora::os {
namespace {

bool EndsWithDll(std::string_view name) {
  constexpr std::string_view kDll = ".dll";
  return name.size() >= kDll.size() && SameIgnoringCase(name.substr(name.size() - kDll.size()), kDll);
}

// "BemaMFD.dll" -> "<program folder>/BemaMFD.so"; a path keeps its folder.
std::string SharedObjectPath(const Text& name) {
  std::string file = EndsWithDll(name) ? name.substr(0, name.size() - 4) + ".so" : name;
  if (file.find('/') != std::string::npos) return file;
  static const std::string kFolder = ProgramFolder();
  return kFolder + file;
}

class UnixLibraryLoader final : public LibraryLoader {
 public:
  LibraryHandle Load(const Text& name) override {
    std::string path = SharedObjectPath(name);
    // An empty folder (no /proc) must not turn the bare name into a search of the system path.
    if (path.find('/') == std::string::npos || access(path.c_str(), F_OK) != 0) {
      return Fail(kErrorModuleNotFound);
    }
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    return library != nullptr ? library : Fail(kErrorBadExeFormat);
  }

  EntryPoint Symbol(LibraryHandle library, const char* name) override {
    dlerror();
    void* address = dlsym(library, name);
    if (address == nullptr) {
      Fail(kErrorProcNotFound);
      return nullptr;
    }
    // POSIX guarantees that a function's address survives the trip through void*.
    return reinterpret_cast<EntryPoint>(address);
  }

  bool Free(LibraryHandle library) override {
    if (library != nullptr && dlclose(library) == 0) return true;
    Fail(kErrorInvalidHandle);
    return false;
  }

  uint32_t LastError() override { return last_error_; }

 private:
  std::nullptr_t Fail(uint32_t code) {
    last_error_ = code;
    return nullptr;
  }

  uint32_t last_error_ = 0;
};

}  // namespace

LibraryLoader& SystemLibraryLoader() {
  static UnixLibraryLoader loader;
  return loader;
}

bool HardenLibrarySearch() { return true; }

}  // namespace kalora::os
