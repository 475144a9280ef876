#pragma once
// The directory stage: the directories of the chosen options below the target.
#include <string>

#include "install/RunContext.h"

namespace kalvora {

void directoryStage(RunContext& run);

} // namespace kalvora
