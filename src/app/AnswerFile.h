#pragma once
// Answer files: the choices of one run as a plain INI file, saved by a run
// (/saveinf=FILE) and taken by others (/loadinf=FILE), so that choices made
// once in the wizard are replayed on many machines:
//   [answers]
//   dir=C:\Tool
//   group=Tool
//   config=custom           standard, minimal, custom or medium
//   options=Program,Help    by name or number
//   removeold=1             remove an older copy first (0 or 1)
//   allowdowngrade=0        install over a newer version (0 or 1)
// A switch on the command line wins over the file's value.
#include <string>

#include "app/CommandLine.h"
#include "install/SetupLog.h"
#include "model/InstallState.h"
#include "platform/Platform.h"

namespace kalvora {

// Takes the file's values into the switches the command line leaves unset.
// The error, one line naming the file, the key and the value; empty when good.
std::string loadAnswerFile(Platform& platform, const std::string& path, SetupSwitches& switches);

// The answer file of the choices in state, as the wizard (or the switches) left them.
std::string answerFileText(const InstallState& state, const SetupSwitches& switches);

// Writes the answer file when /saveinf names one, and logs where (or that it cannot).
void saveAnswerFile(Platform& platform, const SetupSwitches& switches, const InstallState& state, SetupLog& log);

} // namespace kalvora
