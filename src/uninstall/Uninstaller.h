#pragma once
// unkalvora: the program that removes an installation from its uninstall log.
//   unkalvora.exe LOG            asks (when the log says so), removes, sums up
//   unkalvora.exe LOG /silent    the rollback of a cancelled run: no question, no window
//   unkalvora.exe LOG /quiet     the same, for administrators
//   /log=FILE                    unkalvora.log also written to FILE
// Exit codes: 0 everything that was the installation's removed or put back
// (what is the user's or other programs' now may stay), 1 something of it
// left or the user declined, 2 a bad command line or a log that cannot be
// acted on, 1618 another setup or uninstaller is running. Every step goes to
// unkalvora.log in the temporary directory.
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "uninstall/Removal.h"

namespace kalvora {

struct UninstallArguments {
  std::string logPath;
  bool silent = false;
  std::optional<std::string> copyLog; // /log=FILE
};

// The arguments after the program's name, as WinMain gets them. The log's path
// may hold blanks and may be quoted: the registration writes it unquoted; the
// switches follow it. Nothing when the path is missing or a switch is unknown.
std::optional<UninstallArguments> parseUninstallArguments(const std::string& commandLine);

// kAnotherInstaller: a setup or another uninstaller runs (msiexec's code for it).
enum UninstallExit { kRemovedAll = 0, kLeftSome = 1, kBadInput = 2, kAnotherInstaller = 1618 };

// The window of an interactive removal; silent runs have none.
class UninstallWindow : public RemovalProgress {
public:
  virtual void open(const std::string& caption) { (void)caption; }
  virtual void close() {}
};

// The whole run; window is shown only when the run is interactive.
int runUninstaller(Platform& platform, const std::string& commandLine, UninstallWindow& window);

} // namespace kalvora
