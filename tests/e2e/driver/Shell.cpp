#include "Shell.h"

#include <windows.h>
// after windows.h
#include <objidl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <vector>

namespace kvdrive {
namespace {

BOOL CALLBACK collectFolderWindow(HWND window, LPARAM found) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  const std::string kind = name;
  if (kind == "ExplorerWClass" || kind == "CabinetWClass")
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

std::vector<HWND> folderWindows() {
  std::vector<HWND> found;
  EnumWindows(collectFolderWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

} // namespace

std::string userProgramsFolder() {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::string linkFault(const std::string& path, const std::string& target, const std::string& arguments) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  std::string fault;
  wchar_t widePath[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
  char gotTarget[MAX_PATH] = "", gotArguments[1024] = "";
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))) ||
      FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) ||
      FAILED(file->Load(widePath, STGM_READ)))
    fault = "cannot read the link " + path;
  if (fault.empty()) {
    link->GetPath(gotTarget, sizeof gotTarget, nullptr, SLGP_RAWPATH);
    link->GetArguments(gotArguments, sizeof gotArguments);
    if (target != gotTarget || arguments != gotArguments)
      fault = path + " starts \"" + gotTarget + "\" with \"" + gotArguments + "\"";
  }
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return fault;
}

std::string linkCountFault(const std::string& folder, int count) {
  int found = 0;
  std::string names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.lnk").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      ++found;
      names += std::string(" \"") + data.cFileName + "\"";
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  if (found == count) return {};
  return folder + " holds " + std::to_string(found) + " links:" + names;
}

namespace {

// Ends every shell process but the desktop's; how many it ended.
int endStrayShellProcesses() {
  DWORD desktop = 0;
  GetWindowThreadProcessId(GetDesktopWindow(), &desktop);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  int ended = 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, "explorer.exe") != 0 || entry.th32ProcessID == desktop) continue;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)) {
      if (TerminateProcess(process, 1)) ++ended;
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
  return ended;
}

} // namespace

void endShellProcesses() {
  closeShellWindows();
  // A program ended just after it asked the shell for a group leaves the
  // shell starting a folder process a moment later: watch until none has come
  // for two seconds (at most ten).
  for (int quiet = 0, round = 0; quiet < 20 && round < 100; ++round) {
    quiet = endStrayShellProcesses() > 0 ? 0 : quiet + 1;
    Sleep(100);
  }
}

std::string folderWindowWithin(int milliseconds) {
  for (int waited = 0;; waited += 100) {
    for (HWND window : folderWindows())
      if (IsWindowVisible(window)) {
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        return std::string("\"") + title + "\"";
      }
    if (waited >= milliseconds) return {};
    Sleep(100);
  }
}

void closeShellWindows() {
  std::vector<HWND> windows = folderWindows();
  for (HWND window : windows)
    PostMessageA(window, WM_CLOSE, 0, 0);
  for (int i = 0; i < 50 && !windows.empty(); ++i) {
    Sleep(100);
    windows = folderWindows();
  }
  // A window that would not close goes with its process.
  for (HWND window : windows) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
      TerminateProcess(process, 1);
      CloseHandle(process);
    }
  }
}

} // namespace kvdrive
