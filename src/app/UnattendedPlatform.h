#pragma once
// The platform of a run with switches. In quiet and passive runs nobody is
// asked: every message box goes to the log instead and gets the answer that
// asks for nothing (OK, Cancel, No), and the questions are counted. With
// /source, a volume missing beside setup.exe is looked for there: in the
// folder itself or in its disk2\, disk3\... subfolders.
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "install/SetupLog.h"
#include "platform/ForwardingPlatform.h"

namespace kalvora {

class UnattendedPlatform : public ForwardingPlatform {
public:
  UnattendedPlatform(Platform& inner, const SetupSwitches& switches, SetupLog& log);

  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override;
  std::optional<FileInfo> fileInfo(const std::string& path) override;
  std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) override;
  std::unique_ptr<Stream> openFileForWorker(const std::string& path) override;
  // The rollback's uninstaller: a run with switches ends only when it is done,
  // so that its exit code tells of a system rolled back; its log's lines and
  // its result go to this run's log (and so to the /log file).
  bool startHiddenProgram(const std::string& commandLine) override;
  // Waits for the program and copies the uninstaller's account of its run into the log.
  std::optional<std::uint32_t> runHiddenProgram(const std::string& commandLine) override;
  // A quiet run starts what the script asks for (the registry import) with its window hidden.
  bool startProgram(const std::string& commandLine) override;

  // Message boxes go to this log from now on (the run's, once it has one).
  void logTo(SetupLog& log) { log_ = &log; }
  // Questions answered without a user so far.
  int questions() const { return questions_; }

  // Where a volume of the medium is: its own path, or the place /source gives.
  std::string volumePath(const std::string& path);

private:
  UiMode mode_;
  std::optional<std::string> source_;
  std::string sourceDir_;
  SetupLog* log_;
  int questions_ = 0;
};

} // namespace kalvora
