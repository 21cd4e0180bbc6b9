// A file system held in memory, for fuzz targets that must never touch the disk. Paths are
// the program's Windows paths; "\" and "/" both separate, and "." and ".." are resolved the
// way Windows resolves them, so a name that climbs out of its folder really lands elsewhere.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "os/Files.h"

namespace kalora::fuzz {

class MemoryFiles : public os::FileSystem {
 public:
  // read_chunk: the most bytes one read of an opened file gives.
  explicit MemoryFiles(size_t read_chunk) : read_chunk_(read_chunk) {}

  // Every file, by resolved path, with its bytes.
  std::map<Text, std::string> Snapshot() const;
  void Put(const Text& path, std::string bytes);

  // The path with "/" as "\", no "." or empty parts and every ".." taken off with its parent.
  static Text Resolved(const Text& path);

  bool FileExists(const Text& path) override;
  bool FolderExists(const Text& path) override;
  bool CreateFolder(const Text& path) override;
  bool RemoveFile(const Text& path) override;
  bool CopyOver(const Text& from, const Text& to) override;
  void MoveOver(const Text& from, const Text& to) override;
  std::unique_ptr<InputStream> OpenRead(const Text& path) override;
  std::unique_ptr<OutputStream> Create(const Text& path) override;

 private:
  using Bytes = std::shared_ptr<std::string>;  // shared with the streams writing them

  // The resolved path, or an InOutError(3) when its folder does not exist.
  Text InExistingFolder(const Text& path) const;

  size_t read_chunk_;
  std::map<Text, Bytes> files_;
  std::set<Text> folders_;
};

}  // namespace kalora::fuzz
