#pragma once
// The directory stage: the directories of the chosen options below the target.
#include <string>
#include <vector>

#include "install/RunContext.h"

namespace kalvora {

void directoryStage(RunContext& run);

// Creates a directory and its missing parents; failures are left to the writes that follow.
void createDirectories(Platform& platform, const std::string& path);
// The directories of path that do not exist yet, outermost first.
std::vector<std::string> missingDirectories(Platform& platform, const std::string& path);

} // namespace kalvora
