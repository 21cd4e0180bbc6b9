// Libraries on Windows: LoadLibraryA by bare name, as the printer maker's libraries expect.
#include "os/Library.h"

#include <windows.h>

namespace kalora::os {
namespace {

class WinLibraryLoader final : public LibraryLoader {
 public:
  LibraryHandle Load(const Text& name) override { return LoadLibraryA(name.c_str()); }

  EntryPoint Symbol(LibraryHandle library, const char* name) override {
    // GetProcAddress answers a generic function pointer; callers cast it to the real type.
    return reinterpret_cast<EntryPoint>(GetProcAddress(static_cast<HMODULE>(library), name));
  }

  bool Free(LibraryHandle library) override {
    return FreeLibrary(static_cast<HMODULE>(library)) != 0;
  }

  uint32_t LastError() override { return GetLastError(); }
};

}  // namespace

LibraryLoader& SystemLibraryLoader() {
  static WinLibraryLoader loader;
  return loader;
}

bool HardenLibrarySearch() {
  // An empty text removes the current folder from the search order of LoadLibrary; the
  // program's folder, the system folders and PATH still serve.
  return SetDllDirectoryA("") != 0;
}

}  // namespace kalora::os
