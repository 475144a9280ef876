#pragma once
// The start-up of the program (the background window's creation): finds and
// opens setup.inf, loads InstallState, checks for an installed copy and applies
// the [vercheck] rules. The layout of the background window follows it.
#include <functional>
#include <string>

#include "model/InstallState.h"
#include "platform/Platform.h"

namespace kalvora {

enum class StartUpOutcome {
  Continue,   // go on creating the windows
  EndProgram, // end at once with exit code 0
};

// The medium's directory from the program's own path, ending in one backslash:
// A:\SETUP.EXE gives A:\, D:\DISK1\SETUP.EXE gives D:\DISK1\.
std::string sourceDirOf(const std::string& programPath);

// The version an installed copy recorded: decimal, or hexadecimal after "0x";
// -1 when missing or not a number.
std::int32_t installedVersionFrom(const std::optional<std::string>& text);

// The installed copy's directory from its uninstall command line
// ("uninstaller target\setup\uninst.log"); empty when nothing remains.
std::string targetDirFromUninstallString(const std::string& uninstallString);

// The question before the remains of an interrupted installation are removed.
std::string interruptedRunQuestion(const std::string& productName);

class StartUp {
public:
  StartUp(Platform& platform, InstallState& state) : platform_(platform), state_(state) {}
  // The unattended run: the remains of an interrupted installation are removed without a question.
  StartUp& withoutQuestions() {
    asks_ = false;
    return *this;
  }

  // Every step up to the layout of the background window, then the run flags.
  StartUpOutcome run();

  // An unattended run told to remove an older copy first: the [vercheck] old
  // question is not asked; remover gets the copy's uninstall command line, and
  // the start-up goes on when it answers true, ends otherwise.
  using OldCopyRemover = std::function<bool(const std::string& uninstallString)>;
  void removeOldCopyWith(OldCopyRemover remover) { removeOldCopy_ = std::move(remover); }

private:
  bool openScript();
  void checkFormatVersion();
  void readTextsAndPictures();
  // The remains of a run of this product that was stopped before its end
  // (a kill, a power cut) are removed first, by its uninstaller; a user who
  // declines ends the program, which would otherwise install over them.
  StartUpOutcome undoInterruptedRun();
  void findInstalledCopy();
  void reportInstalledVersion();
  void proposeTargetDir();
  StartUpOutcome handleOldCopy();
  void readOptions();
  void computeTotals();

  Platform& platform_;
  InstallState& state_;
  bool asks_ = true;
  std::unique_ptr<SetupScript> script_; // setup.inf as read at the start
  OldCopyRemover removeOldCopy_;
};

} // namespace kalvora
