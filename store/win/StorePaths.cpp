#include <cstdlib>

#include "store/StorePaths.h"

namespace kalora::store {

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const std::wstring wide_name = PathFromUtf8(name).wstring();
  const wchar_t* value = _wgetenv(wide_name.c_str());
  if (value == nullptr) return std::nullopt;
  return PathToUtf8(std::filesystem::path(value));
}

std::filesystem::path FolderFromSetting(std::string_view utf8) { return PathFromUtf8(utf8); }

}  // namespace kalora::store
