#pragma once
// The shell of the Windows program, behind the platform's shell operations.
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace kalvora {

// Program Manager commands in one execute transaction to the DDE service
// "Progman"; false when undelivered or refused. Bounded in time.
bool sendProgmanCommands(const std::string& commands);
// The Start Menu's Programs folder of all users or of the current user; empty when none.
std::string startMenuPrograms(bool common);
std::optional<ShellLink> loadShellLink(const std::string& path);
bool saveShellLink(const std::string& path, const ShellLink& link);

} // namespace kalvora
