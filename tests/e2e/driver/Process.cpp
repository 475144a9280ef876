#include "Process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Failure.h"

namespace kvdrive {
namespace {

// Programs started here write to files: a pipe inherited by a program that
// outlives its step would keep the test runner waiting.
HANDLE outputFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

STARTUPINFOA startupWith(HANDLE output) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nullptr;
  si.hStdOutput = output;
  si.hStdError = output;
  return si;
}

} // namespace

std::string windowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  char full[MAX_PATH];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? std::string(full, n) : path;
}

std::string selfPath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, n);
}

void Program::start(std::string commandLine, const std::string& directory, const std::string& outputPath) {
  stop();
  HANDLE out = outputFile(outputPath);
  STARTUPINFOA si = startupWith(out);
  const BOOL started =
      CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, directory.c_str(), &si, &pi_);
  CloseHandle(out);
  if (!started) throw Failure("cannot start " + commandLine);
  running_ = true;
}

void Program::stop() {
  if (!running_) return;
  if (!exited()) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
  running_ = false;
}

bool Program::kill() {
  // An exit code no program under test gives: it tells the kill from an end of the program's own.
  constexpr UINT kKilled = 0x4B494C4C;
  if (!running_ || exited()) return false;
  TerminateProcess(pi_.hProcess, kKilled);
  WaitForSingleObject(pi_.hProcess, 5000);
  return exited() && exitCode() == kKilled;
}

void Program::hold(bool held) {
  if (!running_) return;
  if (held)
    SuspendThread(pi_.hThread);
  else
    ResumeThread(pi_.hThread);
}

void endLeftPrograms() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, "setup.exe") != 0 && lstrcmpiA(entry.szExeFile, "unkalvora.exe") != 0) continue;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      if (TerminateProcess(process, 1)) WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
}

bool Program::exited() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; }

DWORD Program::exitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void runTool(const std::string& tool, const std::vector<std::string>& args, const std::string& directory,
             const std::string& work, int timeoutMs) {
  std::string commandLine = "\"" + tool + "\"";
  for (const std::string& a : args)
    commandLine += " \"" + a + "\"";
  const std::string output = work + "\\kalvora-output.txt";
  HANDLE out = outputFile(output);
  STARTUPINFOA si = startupWith(out);
  PROCESS_INFORMATION pi{};
  const BOOL started =
      CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, directory.c_str(), &si, &pi);
  CloseHandle(out);
  if (!started) throw Failure("cannot start " + tool);
  const DWORD waited = WaitForSingleObject(pi.hProcess, static_cast<DWORD>(timeoutMs));
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (waited != WAIT_OBJECT_0) throw Failure("kalvora did not finish in time");
  if (code != 0) {
    std::ifstream in(output);
    std::stringstream text;
    text << in.rdbuf();
    throw Failure("kalvora ended with exit code " + std::to_string(code) + ":\n" + text.str());
  }
}

int actAsUninstaller(const char* commandLine) {
  CreateDirectoryA("C:\\temp", nullptr);
  FILE* f = std::fopen("C:\\temp\\uninstaller-ran.txt", "w");
  if (!f) return 1;
  std::fputs(commandLine, f);
  return std::fclose(f) == 0 ? 0 : 1;
}

} // namespace kvdrive
