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
  // The codes msiexec gives the same cases, which deployment tools know:
  kExitRestartStarted = 1641,   // installed; setup.exe has started the restart (or log-off) itself
  kExitAnotherInstaller = 1618, // another setup.exe or unkalvora.exe is running
  kExitNewerInstalled = 1638,   // a newer version is installed (a downgrade needs /allowdowngrade)
};
// Two installers at once would write the same files: the second one ends with this.
inline constexpr const char* kAnotherInstallerText =
    "Another setup or uninstaller is running.\rPlease start this setup again when it has ended.";

// A program that must end at once ends with kExitProgramFault (runtime/ProgramFault.h).

} // namespace kalvora
