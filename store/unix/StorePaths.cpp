#include <cctype>
#include <cstdlib>

#include "store/StorePaths.h"

namespace kalora::store {

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::filesystem::path FolderFromSetting(std::string_view utf8) {
  const bool drive = utf8.size() >= 2 && std::isalpha(static_cast<unsigned char>(utf8[0])) && utf8[1] == ':';
  if (!drive) return PathFromUtf8(utf8);
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(utf8[0])));
  std::filesystem::path root;
  if (auto value = EnvironmentValue(std::string("KALORA_DRIVE_") + letter); value && !value->empty()) {
    root = PathFromUtf8(*value);
  } else {
    const auto home = EnvironmentValue("HOME");
    root = PathFromUtf8(home.value_or(".")) / ".kalora" /
           (std::string("drive_") + static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
  }
  std::string rest(utf8.substr(2));
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  return rest.empty() ? root : root / PathFromUtf8(rest);
}

}  // namespace kalora::store
