#pragma once
// Processes the driver starts: the program under test, one at a time, and
// kalvora.exe, run to its end. Their output goes to files: a pipe inherited by
// a program that outlives its step would keep the test runner waiting.
#include <windows.h>

#include <string>
#include <vector>

namespace kvdrive {

// A full Windows path: the programs the driver starts run in other directories.
std::string windowsPath(std::string path);
// The driver's own program file.
std::string selfPath();

class Program {
public:
  ~Program() { stop(); }
  // Starts the command line in directory; Failure when it cannot start.
  void start(std::string commandLine, const std::string& directory, const std::string& outputPath);
  // Ends the program unless it has ended.
  void stop();
  // Ends the program at once (TerminateProcess), as the task manager would;
  // false when it had ended by itself. Its exit code stays readable.
  bool kill();
  // Holds the program's first thread, or lets it go on again: while it is
  // held, what it has done can be looked at without its next step overtaking the look.
  void hold(bool held);
  bool running() const { return running_; }
  bool exited() const;
  DWORD exitCode() const;
  DWORD processId() const { return pi_.dwProcessId; }

private:
  PROCESS_INFORMATION pi_{};
  bool running_ = false;
};

// Ends any setup.exe or unkalvora.exe still running: the scenarios run one at
// a time, so such a program was left by an attempt that the test runner ended
// on its time limit, and it would hold the medium's files and windows.
void endLeftPrograms();

// Runs the tool with args in directory and waits for it; its output goes to
// work\kalvora-output.txt and is shown when it fails.
void runTool(const std::string& tool, const std::vector<std::string>& args, const std::string& directory,
             const std::string& work, int timeoutMs);

// Stand-in for an installed copy's uninstaller: records its command line in C:\temp\uninstaller-ran.txt.
int actAsUninstaller(const char* commandLine);

} // namespace kvdrive
