#pragma once
// The file stage: every file of the chosen options placed from the archive
// volumes, after the replace test, and recorded in the uninstall log.
#include "install/RunContext.h"

namespace kalvora {

[[nodiscard]] bool fileStage(RunContext& run);

// [files] total and [systemroot] total, as the run writes them after the stage.
[[nodiscard]] bool logFileTotals(RunContext& run);

} // namespace kalvora
