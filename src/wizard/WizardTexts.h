#pragma once
// The [language] texts the wizard and its dialogs show: those start-up read
// (l1-l28, l48-l54) from InstallState, the others from the script where used.
#include <string>

#include "model/InstallState.h"

namespace kalvora {

std::string wizardText(const InstallState& state, int number);

} // namespace kalvora
