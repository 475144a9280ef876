#pragma once
// A DosTime as the logs show it, with leading zeros.
#include <string>

#include "platform/Platform.h"

namespace kalvora {

// "YYYY-MM-DD"
std::string dateText(const DosTime& time);

// "HH:MM:SS"
std::string clockText(const DosTime& time);

} // namespace kalvora
