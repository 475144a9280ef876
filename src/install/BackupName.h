#pragma once
// Backups the run makes of start-up and INI files never replace a file that
// is there: a name that is taken gives way to a free one beside it.
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace kalvora {

// dir + "\" + name when no file or directory has that path; else the first free
// one of the name's stem with the extensions .001 to .999; none when all are taken.
std::optional<std::string> freeBackupPath(Platform& platform, const std::string& dir, const std::string& name);

} // namespace kalvora
