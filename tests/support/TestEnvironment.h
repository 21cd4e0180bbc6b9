// Helpers the printer and simulator tests share: environment variables, temporary folders,
// the test program's own folder and the fixtures.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kalora::testing {

// Sets (or, with nullopt, removes) an environment variable for the scope's lifetime.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// A fresh empty folder, made the current folder for the scope's lifetime, then removed.
class WorkFolder {
 public:
  WorkFolder();
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string Read(const std::string& name) const;  // a file of the folder, whole

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// The folder of the running test program, where the stand-in libraries are built.
std::filesystem::path ProgramFolder();

// A file under tests/fixtures/, as an absolute path usable after a change of folder.
std::filesystem::path Fixture(const std::string& relative);

// A file of the source tree (tools/demo/..., simulator/demo/...), as an absolute path.
std::filesystem::path SourceFile(const std::string& relative);

std::string ReadFile(const std::filesystem::path& path);

}  // namespace kalora::testing
