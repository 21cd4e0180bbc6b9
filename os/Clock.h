// "Today" on the machine's clock, in its local time.
#pragma once

#include "runtime/Dates.h"

namespace kalora::os {

Date Today();

}  // namespace kalora::os
