// Check digits of a customer's CPF (11 digits) and a company's CNPJ (14 digits).
//
// Any text is accepted. The digits among all characters but the last two are weighted by
// their count (separators are skipped); the two check digits computed from them must equal
// the last two characters as they stand. Only the check digits are tested, so eleven equal
// digits pass as a CPF.
#pragma once

#include "runtime/Text.h"

namespace kalora::gen {

bool TestaCpf(std::string_view numero);
bool TestaCgc(std::string_view numero);

}  // namespace kalora::gen
