// Files and folders, reached through one small interface so that a test can put a failing
// disk in the program's way.
//
// Paths are the program's own Windows paths ("C:\Varnex\PDV\NFP\..." or a bare work file
// name). On Windows they are used as they are; elsewhere the drive C: is the folder named by
// KALORA_DRIVE_C (default ~/.kalora/drive_c, like Wine's drive_c) and "\" becomes "/".
#pragma once

#include <memory>
#include <optional>

#include "runtime/Streams.h"
#include "runtime/Text.h"

namespace kalora::os {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool FileExists(const Text& path) = 0;
  virtual bool FolderExists(const Text& path) = 0;
  // Creates one folder whose parent exists; false when it cannot.
  virtual bool CreateFolder(const Text& path) = 0;
  virtual bool RemoveFile(const Text& path) = 0;
  // Copies over any file of that name; false when it cannot.
  virtual bool CopyOver(const Text& from, const Text& to) = 0;
  // Puts from in place of to in one step (both in one folder); an InOutError when it cannot.
  virtual void MoveOver(const Text& from, const Text& to) = 0;
  // An InOutError (2 missing file, 3 missing folder, 5 denied, ...) when it cannot be opened.
  virtual std::unique_ptr<InputStream> OpenRead(const Text& path) = 0;
  // Creates the file anew, or raises an InOutError.
  virtual std::unique_ptr<OutputStream> Create(const Text& path) = 0;
};

// The file system of the machine, or the one a test put in its place.
FileSystem& Files();

// Puts another file system in place of the machine's for as long as it lives (tests).
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& replacement);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

// The machine's own file system, for a replacement that changes only some of its answers.
FileSystem& MachineFiles();

// The native form of one of the program's paths (see above).
Text NativePath(const Text& path);

// The folder of the running program, with its path separator at the end; empty when the
// system does not tell.
Text ProgramFolder();

// A value of the process environment, or nothing when it is unset or empty.
std::optional<Text> EnvironmentValue(const char* name);

// Creates every missing folder of a path (parents first); false when one cannot be made.
bool ForceDirectories(const Text& path);

}  // namespace kalora::os
