#pragma once
// The platform of setup.exe: the Windows program's platform with the shell and
// the session: Program Manager groups, shell links, started programs, the
// drive and folder lists of the folder browser, the foreground window's title
// and the end of the session; and the worker thread that decodes ahead.
#include "platform/Win32Platform.h"

namespace kalvora {

class Win32ShellPlatform : public Win32Platform {
public:
  std::unique_ptr<Worker> startWorker(WorkerJob job) override;
  std::unique_ptr<Stream> openFileForWorker(const std::string& path) override;
  std::string driveLetters() override;
  std::string driveCurrentDirectory(char drive) override;
  std::optional<std::vector<std::string>> listSubdirectories(const std::string& dir) override;
  bool sendShellCommands(const std::string& commands) override;
  std::string programsFolder(bool common) override;
  std::optional<ShellLink> readShellLink(const std::string& path) override;
  bool writeShellLink(const std::string& path, const ShellLink& link) override;
  bool startProgram(const std::string& commandLine) override;
  bool startHiddenProgram(const std::string& commandLine) override;
  std::optional<std::uint32_t> runHiddenProgram(const std::string& commandLine) override;
  std::string foregroundWindowTitle() override;
  bool endSession(SessionEnd how) override;
  void prepareFaultRollback(const std::string& commandLine) override;
};

} // namespace kalvora
