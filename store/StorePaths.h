#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/Text.h"

namespace kalora::store {

// A path as Windows-1252 text, for messages.
Text PathText(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// The file `name` in `folder`, matched without regard to letter case as Windows does;
// empty when there is none.
std::filesystem::path FindInFolder(const std::filesystem::path& folder, std::string_view name);
// The file beside `path` with the same stem and the extension `extension` (any case).
std::filesystem::path FindSibling(const std::filesystem::path& path, std::string_view extension);

// Per system (store/unix, store/win):
// An environment variable's value as UTF-8.
std::optional<std::string> EnvironmentValue(const std::string& name);
// A folder as written in an alias setting. Windows paths ("C:\Lojas\Dados") are taken as
// they are on Windows; elsewhere drive X: is the folder named by KALORA_DRIVE_X (default
// $HOME/.kalora/drive_x) and backslashes separate folders.
std::filesystem::path FolderFromSetting(std::string_view utf8);

}  // namespace kalora::store
