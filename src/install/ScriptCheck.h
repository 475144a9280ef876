#pragma once
// Everything the script names for the run to write is tested before the run
// writes anything: a directory or file that would leave the target or the
// Windows directory, a device name, a path too long for Windows, a count no
// script can mean. Such a script stops the run with its message while the
// system is still untouched.
#include <string>

#include "model/InstallState.h"
#include "platform/Errors.h"

namespace kalvora {

// EUnsafeScriptPath or EInvalidScriptValue for the first value that no
// installation into targetDir and windowsDir can use.
Status checkScriptBeforeRun(const SetupScript& script, const InstallState& state, const std::string& windowsDir);

} // namespace kalvora
