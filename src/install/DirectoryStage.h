#pragma once
// The directory stage: the directories of the chosen options below the target.
#include <string>

#include "install/RunContext.h"

namespace kalvora {

[[nodiscard]] bool directoryStage(RunContext& run);

} // namespace kalvora
