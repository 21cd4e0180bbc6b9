#include "store/StorePaths.h"

#include <system_error>

#include "store/CodePages.h"

namespace kalora::store {

Text PathText(const std::filesystem::path& path) {
  const std::string utf8 = PathToUtf8(path);
  auto text = FromUtf8(utf8, 1252);
  if (text) return *text;
  Text ascii;
  for (char c : utf8) ascii += static_cast<unsigned char>(c) < 0x80 ? c : '?';
  return ascii;
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path FindInFolder(const std::filesystem::path& folder, std::string_view name) {
  std::error_code error;
  const std::filesystem::path exact = folder / PathFromUtf8(name);
  if (std::filesystem::is_regular_file(exact, error)) return exact;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (SameIgnoringCase(PathToUtf8(it->path().filename()), name) && it->is_regular_file(error)) return it->path();
  }
  return {};
}

std::filesystem::path FindSibling(const std::filesystem::path& path, std::string_view extension) {
  const std::string name = PathToUtf8(path.stem()) + std::string(extension);
  return FindInFolder(path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path(), name);
}

}  // namespace kalora::store
