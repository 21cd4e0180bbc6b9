#pragma once

#include <array>
#include <cstddef>

namespace kalora::store {

// One 8-bit code page: the Unicode code points of bytes 0x80-0xFF (the lower half is ASCII).
struct CodePageTable {
  int number;
  std::array<char16_t, 128> upper;
};

extern const CodePageTable* const kCodePageTables[];
extern const std::size_t kCodePageTableCount;

}  // namespace kalora::store
