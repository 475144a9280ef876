#pragma once
// The last stage of the run: start-up files, INI entries, registry entries and
// the uninstall registration, in this order; it closes the uninstall log.
#include "install/RunContext.h"

namespace kalvora {

[[nodiscard]] bool systemChanges(RunContext& run);

} // namespace kalvora
