// A library loader for the binding's tests: libraries and entry points are whatever the test
// says, and every call is recorded.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "os/Library.h"

namespace kalora::testing {

class FakeLibraryLoader : public os::LibraryLoader {
 public:
  // A library the loader can load, with the entry points it exports.
  void Provide(const std::string& name, std::map<std::string, os::EntryPoint> entry_points);
  void FailFree(uint32_t error) { free_error_ = error; }
  void ThrowOnLoad(bool on) { throw_on_load_ = on; }

  os::LibraryHandle Load(const Text& name) override;
  os::EntryPoint Symbol(os::LibraryHandle library, const char* name) override;
  bool Free(os::LibraryHandle library) override;
  uint32_t LastError() override { return last_error_; }

  // What happened, in order: "Load BemaMFD.dll", "Symbol BemaMFD.dll BemaGeraTxtPorCOO",
  // "Free BemaMFD.dll".
  std::vector<std::string> calls;
  // The names of the libraries loaded and not yet freed.
  std::multiset<std::string> Loaded() const;
  os::LibraryHandle HandleOf(const std::string& name);

 private:
  struct Library {
    std::string name;
    std::map<std::string, os::EntryPoint> entry_points;
    int loads = 0;
  };
  Library* Find(os::LibraryHandle handle);

  std::map<std::string, Library> libraries_;
  uint32_t free_error_ = 0;
  bool throw_on_load_ = false;
  uint32_t last_error_ = 0;
};

}  // namespace kalora::testing
