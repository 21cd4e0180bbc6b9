// Libraries loaded at run time: load by bare file name, look up an entry point, release.
//
// The printer binding reaches the loader through the LibraryLoader interface, so tests can put
// a fake in its place or steer the real one to other files.
//
// Where a bare name is searched:
// - Windows: LoadLibraryA with the name as given. Once HardenLibrarySearch has run, the current
//   folder is no longer searched (a DLL dropped into the work folder cannot stand in for the
//   printer maker's); the program's own folder and the system folders still are.
// - Linux: a name ending in ".dll" (any case) stands for the shared object of the same stem
//   with ".so" ("BemaMFD.dll" -> "BemaMFD.so"). A bare name is looked up only in the program's
//   own folder (the folder of /proc/self/exe), never in the current folder nor on the system's
//   library path. A name holding a "/" is a path and is loaded as given (after the same
//   ".dll" -> ".so" mapping).
// Error codes are the Windows ones on both systems, so messages and tests read alike:
// 126 the library was not found, 127 the entry point was not found, 193 the file is not a
// loadable library, 6 the handle given to Free is not a loaded library.
#pragma once

#include <cstdint>

#include "runtime/Text.h"

namespace kalora::os {

// An opaque module handle; nullptr means none.
using LibraryHandle = void*;
// The address of an entry point, cast to its real type by the caller; nullptr when missing.
using EntryPoint = void (*)();

inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorModuleNotFound = 126;
inline constexpr uint32_t kErrorProcNotFound = 127;
inline constexpr uint32_t kErrorBadExeFormat = 193;

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;

  // The library's handle, or nullptr with the reason in LastError().
  virtual LibraryHandle Load(const Text& name) = 0;
  // The entry point called name, or nullptr with the reason in LastError().
  virtual EntryPoint Symbol(LibraryHandle library, const char* name) = 0;
  // Releases a handle from Load; false with the reason in LastError().
  virtual bool Free(LibraryHandle library) = 0;
  // The code of the last failure of this loader (GetLastError on Windows).
  virtual uint32_t LastError() = 0;
};

// The system's loader: LoadLibraryA / GetProcAddress / FreeLibrary / GetLastError on Windows,
// dlopen / dlsym / dlclose on Linux. One per process.
LibraryLoader& SystemLibraryLoader();

// Takes the current folder out of the search for libraries loaded by bare name. Called once at
// start-up, before the first library is loaded at run time; calling it again does no harm.
// Answers whether the search is hardened (always true on Linux, where there is nothing to do:
// the loader above never searches the current folder).
bool HardenLibrarySearch();

}  // namespace kalora::os
