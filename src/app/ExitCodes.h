#pragma once
// The exit codes of setup.exe, for administrators' scripts.
namespace kalvora {

enum SetupExit : int {
  kExitInstalled = 0,
  kExitFailed = 1,        // cancelled or failed, after the rollback
  kExitBadValue = 2,      // a bad command line, or a value that breaks an entry rule
  kExitInstalledCopy = 3, // an installed copy stops the setup
  kExitNoSpace = 4,
  kExitVolumeMissing = 5,
  kExitRestartRequired = 3010, // installed; the restart the script asks for is still due
};
// A program that must end at once ends with kExitProgramFault (runtime/ProgramFault.h).

} // namespace kalvora
