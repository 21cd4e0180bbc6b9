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
  // Where the system has it (Windows 8, Windows 7 updated, Wine): bare names are searched
  // in the program's folder and the system folders only. Looked up, so that older systems
  // still start.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  constexpr DWORD kSearchDefaultDirs = 0x00001000;  // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
  auto set_default_directories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  bool defaults = set_default_directories != nullptr &&
                  set_default_directories(kSearchDefaultDirs) != 0;
  // Everywhere: an empty text takes the current folder out of LoadLibrary's search order.
  bool no_current_folder = SetDllDirectoryA("") != 0;
  return defaults || no_current_folder;
}

}  // namespace kalora::os
