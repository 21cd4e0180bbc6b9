// The checks a state validator makes on a type-E records file, for the simulator's files and
// for the finished daily files. Each problem found is one text naming the line and the field.
#pragma once

#include <string>
#include <vector>

namespace kalora::testing {

// The records, one per element, without line ends; no problem found gives an empty list.
std::vector<std::string> ValidaTipoE(const std::vector<std::string>& records);

// The records of a file's text: CR LF after every record, nothing else.
std::vector<std::string> RecordsOf(const std::string& text);

}  // namespace kalora::testing
