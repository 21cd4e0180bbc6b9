#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kalora::store {

// The file beside the program that names the aliases' folders when no environment variable does.
inline constexpr char kAliasFileName[] = "kalora-aliases.ini";
// KALORA_ALIAS_<alias> names an alias's folder and wins over the file.
inline constexpr char kAliasVariablePrefix[] = "KALORA_ALIAS_";

using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The folder of an alias: the environment variable KALORA_ALIAS_<alias>, else the line
// "<alias>=<folder>" of kalora-aliases.ini in `program_folder` (alias names compare without
// regard to case). Throws EDBEngineError "Unknown alias ..." naming where it looked.
std::filesystem::path ResolveAlias(std::string_view alias, const std::filesystem::path& program_folder,
                                   const EnvironmentLookup& environment);

// The program's folder, where kalora-aliases.ini is looked for: the running program's own,
// unless a test set another.
void SetProgramFolder(const std::filesystem::path& folder);
const std::filesystem::path& ProgramFolder();
// ResolveAlias with the process's environment and ProgramFolder().
std::filesystem::path ResolveAlias(std::string_view alias);

}  // namespace kalora::store
