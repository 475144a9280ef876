#pragma once
// Checks of what the distributor wrote into the setup.inf sections, against
// the files selected and the way the setup program reads each value.
#include <cstdint>

#include "media/Diagnostics.h"
#include "media/FileSelection.h"
#include "media/Project.h"
#include "media/ScriptComposer.h"

namespace kalvora::media {

// References, names and lists: everything that needs no volume.
void checkScript(const Project& project, const FileSelection& selection, Diagnostics& diag);

// The 32-bit sums the setup program forms from the sizes: option spaces,
// configuration totals and the progress divisor.
void checkSizes(const Project& project, const FileSelection& selection, const MediumFacts& facts,
                std::int64_t compressionSize, Diagnostics& diag);

// A value as the setup program's integer and boolean reads take it.
std::optional<std::int64_t> projectInteger(const Project& project, const std::string& section, const std::string& key);
bool projectBool(const Project& project, const std::string& section, const std::string& key, bool defaultValue);

} // namespace kalvora::media
