#include "os/Files.h"

#include <cstdlib>

namespace kalora::os {

namespace {
FileSystem* current = nullptr;
}  // namespace

FileSystem& Files() { return current ? *current : MachineFiles(); }

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : previous_(current) {
  current = &replacement;
}

ScopedFileSystem::~ScopedFileSystem() { current = previous_; }

std::optional<Text> EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return Text(value);
}

bool ForceDirectories(const Text& path) {
  Text trimmed = path;
  while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
  if (Files().FolderExists(trimmed)) return true;
  size_t cut = trimmed.find_last_of('\\');
  // A missing root ("C:\") is its own parent: it is tried once, never recursed into.
  bool has_parent = cut != Text::npos && cut > 0 && cut + 1 < trimmed.size();
  if (has_parent && !ForceDirectories(trimmed.substr(0, cut + 1))) return false;
  return Files().CreateFolder(trimmed);
}

}  // namespace kalora::os
