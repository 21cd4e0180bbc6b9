#include "store/Aliases.h"

#include <fstream>

#include "os/Files.h"
#include "runtime/Errors.h"
#include "store/StorePaths.h"

namespace kalora::store {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::optional<std::string> AliasFromFile(const std::filesystem::path& file, std::string_view alias) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  bool first_line = true;
  while (std::getline(in, line)) {
    std::string_view view = line;
    if (first_line && view.starts_with("\xEF\xBB\xBF")) view.remove_prefix(3);
    first_line = false;
    view = Trimmed(view);
    if (view.empty() || view.front() == '#' || view.front() == ';' || view.front() == '[') continue;
    const auto equals = view.find('=');
    if (equals == std::string_view::npos) continue;
    if (SameIgnoringCase(Trimmed(view.substr(0, equals)), alias)) return std::string(Trimmed(view.substr(equals + 1)));
  }
  return std::nullopt;
}

std::filesystem::path& ProgramFolderSetting() {
  static std::filesystem::path folder = os::ProgramFolder();
  return folder;
}

}  // namespace

std::filesystem::path ResolveAlias(std::string_view alias, const std::filesystem::path& program_folder,
                                   const EnvironmentLookup& environment) {
  const std::string variable = kAliasVariablePrefix + std::string(alias);
  if (auto value = environment(variable); value && !Trimmed(*value).empty()) {
    return FolderFromSetting(Trimmed(*value));
  }
  const std::filesystem::path file = program_folder / kAliasFileName;
  if (auto value = AliasFromFile(file, alias); value && !value->empty()) return FolderFromSetting(*value);
  throw PlatformError("EDBEngineError", "Unknown alias '" + std::string(alias) + "': set " + variable +
                                            " or add the line \"" + std::string(alias) + "=<folder>\" to " +
                                            PathText(file));
}

void SetProgramFolder(const std::filesystem::path& folder) { ProgramFolderSetting() = folder; }

const std::filesystem::path& ProgramFolder() { return ProgramFolderSetting(); }

std::filesystem::path ResolveAlias(std::string_view alias) {
  return ResolveAlias(alias, ProgramFolder(), EnvironmentValue);
}

}  // namespace kalora::store
