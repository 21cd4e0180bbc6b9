#include "FakeLibraryLoader.h"

#include <stdexcept>

namespace kalora::testing {

void FakeLibraryLoader::Provide(const std::string& name,
                                std::map<std::string, os::EntryPoint> entry_points) {
  libraries_[name] = Library{name, std::move(entry_points), 0};
}

os::LibraryHandle FakeLibraryLoader::Load(const Text& name) {
  calls.push_back("Load " + name);
  if (throw_on_load_) throw std::runtime_error("loader failure");
  auto library = libraries_.find(name);
  if (library == libraries_.end()) {
    last_error_ = os::kErrorModuleNotFound;
    return nullptr;
  }
  ++library->second.loads;
  return &library->second;
}

FakeLibraryLoader::Library* FakeLibraryLoader::Find(os::LibraryHandle handle) {
  for (auto& [name, library] : libraries_) {
    if (&library == handle) return &library;
  }
  return nullptr;
}

os::EntryPoint FakeLibraryLoader::Symbol(os::LibraryHandle handle, const char* name) {
  Library* library = Find(handle);
  calls.push_back("Symbol " + (library ? library->name : "?") + " " + name);
  if (library == nullptr || library->loads == 0) throw std::logic_error("lookup in a freed library");
  auto entry = library->entry_points.find(name);
  if (entry == library->entry_points.end()) {
    last_error_ = os::kErrorProcNotFound;
    return nullptr;
  }
  return entry->second;
}

bool FakeLibraryLoader::Free(os::LibraryHandle handle) {
  Library* library = Find(handle);
  calls.push_back("Free " + (library ? library->name : "?"));
  if (free_error_ != 0) {
    last_error_ = free_error_;
    return false;
  }
  if (library == nullptr || library->loads == 0) throw std::logic_error("double free");
  --library->loads;
  return true;
}

std::multiset<std::string> FakeLibraryLoader::Loaded() const {
  std::multiset<std::string> loaded;
  for (const auto& [name, library] : libraries_) {
    for (int i = 0; i < library.loads; ++i) loaded.insert(name);
  }
  return loaded;
}

os::LibraryHandle FakeLibraryLoader::HandleOf(const std::string& name) {
  return &libraries_.at(name);
}

}  // namespace kalora::testing
