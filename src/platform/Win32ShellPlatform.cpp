// The platform of setup.exe: the shell, started programs, the drives, the session and the worker.
#include "platform/Win32ShellPlatform.h"

#include "platform/SystemWorker.h"
#include "platform/Win32ProgramFault.h"
#include "platform/Win32Shell.h"

namespace kalvora {
namespace {

void enableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  CloseHandle(token);
}

} // namespace

std::unique_ptr<Worker> Win32ShellPlatform::startWorker(WorkerJob job) {
  // On one processor a worker would only take turns with the caller, and the
  // caller, waiting for it, would leave its windows unanswered meanwhile.
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  if (system.dwNumberOfProcessors < 2) return nullptr;
  return startSystemWorker(std::move(job));
}

std::unique_ptr<Stream> Win32ShellPlatform::openFileForWorker(const std::string& path) {
  return openFile(path, OpenMode::ReadShared);
}

std::string Win32ShellPlatform::driveLetters() {
  const DWORD mask = GetLogicalDrives();
  std::string letters;
  for (int i = 0; i < 26; ++i)
    if (mask & (DWORD{1} << i)) letters += static_cast<char>('A' + i);
  return letters;
}

std::string Win32ShellPlatform::driveCurrentDirectory(char drive) {
  const char drivePath[3] = {drive, ':', 0};
  char path[MAX_PATH];
  const DWORD n = GetFullPathNameA(drivePath, sizeof path, path, nullptr);
  if (n == 0 || n >= sizeof path) return std::string(1, drive) + ":\\";
  return path;
}

std::optional<std::vector<std::string>> Win32ShellPlatform::listSubdirectories(const std::string& dir) {
  std::string pattern = dir;
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  pattern += '*';
  // A drive without a medium answers with an error, not with the system's "not ready" box.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  const DWORD error = find == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  SetErrorMode(oldMode);
  if (find == INVALID_HANDLE_VALUE) {
    if (error == ERROR_FILE_NOT_FOUND) return std::vector<std::string>{};
    return std::nullopt;
  }
  std::vector<std::string> names;
  const DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    const std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & skipped) && name != "." &&
        name != "..")
      names.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

bool Win32ShellPlatform::sendShellCommands(const std::string& commands) { return sendProgmanCommands(commands); }

std::string Win32ShellPlatform::programsFolder(bool common) { return startMenuPrograms(common); }

std::optional<ShellLink> Win32ShellPlatform::readShellLink(const std::string& path) { return loadShellLink(path); }

bool Win32ShellPlatform::writeShellLink(const std::string& path, const ShellLink& link) {
  return saveShellLink(path, link);
}

bool Win32ShellPlatform::startProgram(const std::string& commandLine) {
  return WinExec(commandLine.c_str(), SW_SHOWNORMAL) > 31;
}

bool Win32ShellPlatform::startHiddenProgram(const std::string& commandLine) {
  return WinExec(commandLine.c_str(), SW_HIDE) > 31;
}

std::optional<std::uint32_t> Win32ShellPlatform::runHiddenProgram(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  std::string line = commandLine; // CreateProcessA may write into it
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return std::nullopt;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  const bool known = GetExitCodeProcess(process.hProcess, &exitCode) != 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // An exit code that cannot be read counts as a failure of the program.
  return known ? exitCode : std::uint32_t{1};
}

std::string Win32ShellPlatform::foregroundWindowTitle() {
  HWND window = GetForegroundWindow();
  char title[256] = "";
  const int n = window ? GetWindowTextA(window, title, sizeof title) : 0;
  return std::string(title, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool Win32ShellPlatform::endSession(SessionEnd how) {
  if (how == SessionEnd::LogOff) return ExitWindowsEx(EWX_LOGOFF, 0) != 0;
  // Windows NT restarts only for a process holding the shutdown privilege.
  enableShutdownPrivilege();
  return ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_FLAG_PLANNED) != 0;
}

void Win32ShellPlatform::prepareFaultRollback(const std::string& commandLine) { setFaultRollback(commandLine); }

Platform& systemPlatform() {
  static Win32ShellPlatform platform;
  return platform;
}

} // namespace kalvora
