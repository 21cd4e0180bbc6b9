#include "tests/support/TestEnvironment.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kalora::testing {
namespace {

// Taken before any test changes folder: KALORA_FIXTURES may be relative to the drive.
const std::filesystem::path kFixtures = std::filesystem::absolute(KALORA_FIXTURES);
const std::filesystem::path kSources = std::filesystem::absolute(KALORA_SOURCE_DIR);

#if defined(_WIN32)
void PutEnv(const std::string& name, const std::optional<std::string>& value) {
  _putenv_s(name.c_str(), value ? value->c_str() : "");
}

std::filesystem::path ProgramPath() {
  char path[MAX_PATH];
  DWORD size = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::string(path, size));
}

unsigned long ProcessId() { return GetCurrentProcessId(); }
#else
void PutEnv(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name.c_str(), value->c_str(), 1);
  } else {
    unsetenv(name.c_str());
  }
}

std::filesystem::path ProgramPath() { return std::filesystem::read_symlink("/proc/self/exe"); }

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }
#endif

}  // namespace

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) previous_ = old;
  PutEnv(name_, value);
}

ScopedEnv::~ScopedEnv() { PutEnv(name_, previous_); }

WorkFolder::WorkFolder() : previous_(std::filesystem::current_path()) {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("kalora-test-" + std::to_string(ProcessId()) + "-" + std::to_string(++counter));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
  std::filesystem::current_path(path_);
}

WorkFolder::~WorkFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string WorkFolder::Read(const std::string& name) const { return ReadFile(path_ / name); }

std::filesystem::path ProgramFolder() { return ProgramPath().parent_path(); }

std::filesystem::path Fixture(const std::string& relative) { return kFixtures / relative; }

std::filesystem::path SourceFile(const std::string& relative) { return kSources / relative; }

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

}  // namespace kalora::testing
