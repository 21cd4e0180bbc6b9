// Builds a store's tables from readable descriptions: the demo store, and the stores of the
// tests that run the whole program.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

namespace kalora::tools {

// Writes the tables of the descriptions into out (made if missing); the coupons of the list,
// when one is given, are added to EcfCupom.DB. Also writes out/kalora-aliases.ini naming out
// for both aliases. Each table written is reported on log.
void BuildStore(const std::filesystem::path& out,
                const std::vector<std::filesystem::path>& descriptions,
                const std::filesystem::path& coupons, std::ostream& log);

}  // namespace kalora::tools
