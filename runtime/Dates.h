// Calendar dates and their three text forms.
//
// "dd/mm/yyyy" is the short date form of the program. It is fixed here, never read from the
// system's settings, because file names and day loops are built from it.
#pragma once

#include <chrono>
#include <optional>

#include "runtime/Text.h"

namespace kalora {

using Date = std::chrono::sys_days;

// A valid date of the years 1 to 9999, or nothing.
std::optional<Date> MakeDate(int year, unsigned month, unsigned day);

// The short date form: day and month of one or two digits and a four-digit year, separated
// by "/", with blanks allowed around it.
std::optional<Date> TryParseDate(std::string_view text);
// As above; anything else raises "'%s' não é uma data válida".
Date ParseDate(std::string_view text);

// Eight digits "ddmmyyyy", as the printer library takes its dates.
std::optional<Date> TryParseDdmmyyyy(std::string_view text);

Text FormatDate(Date date);       // "dd/mm/yyyy"
Text FormatDdmmyyyy(Date date);   // "ddmmyyyy"
Text FormatYyyymmdd(Date date);   // "yyyymmdd"

}  // namespace kalora
