#pragma once
// What `kalvora build` and `kalvora check PROJECT` share: where the built
// setup.exe and uninstaller are looked for, and how diagnostics are printed.
#include <string>
#include <vector>

#include "media/Diagnostics.h"
#include "media/MediumBuilder.h"

namespace kalvora::tool {

// A request for the project with the built programs' candidates and
// SOURCE_DATE_EPOCH filled in. Raises kalvora::Exception for a bad
// environment variable.
media::BuildRequest buildRequestFor(const std::string& projectPath);

// Each diagnostic on standard error, "FILE:LINE: error: ..." in English.
void printDiagnostics(const std::vector<media::Diagnostic>& diagnostics);

} // namespace kalvora::tool
