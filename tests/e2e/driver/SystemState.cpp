#include "SystemState.h"

#include "Script.h"
#include "platform/NoCase.h"

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace kvdrive {
namespace {

constexpr DWORD kHashedSize = 1 << 20;

std::string hashOf(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "unreadable";
  std::uint64_t hash = 14695981039346656037ull; // FNV-1a
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    for (DWORD i = 0; i < got; ++i)
      hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
  CloseHandle(file);
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// Wine links a user's Desktop, Documents, Music, ... to the Unix home
// directory: below C:\users\NAME only AppData belongs to the prefix.
bool linkedToHome(const std::string& path) {
  const std::string p = kalvora::upperCaseAnsi(path);
  if (p.rfind("C:\\USERS\\", 0) != 0) return false;
  const auto name = p.find('\\', 9);
  if (name == std::string::npos) return false;
  const std::string rest = p.substr(name + 1);
  return rest.find('\\') == std::string::npos && rest != "APPDATA";
}

void walkFiles(const std::string& dir, std::map<std::string, std::string>& out) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = dir + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out[kalvora::upperCaseAnsi(path) + "\\"] = "directory";
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && !linkedToHome(path)) walkFiles(path, out);
      continue;
    }
    const auto size = static_cast<std::uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
    std::string content = std::to_string(size) + " bytes ";
    if (size <= kHashedSize)
      content += hashOf(path);
    else
      content += std::to_string(found.ftLastWriteTime.dwHighDateTime) + ":" +
                 std::to_string(found.ftLastWriteTime.dwLowDateTime);
    out[kalvora::upperCaseAnsi(path)] = content;
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

// view: 0 for this 32-bit program's own view of the registry, KEY_WOW64_64KEY
// for the 64-bit one, where the 32-bit view is the subkey Wow6432Node.
void walkKey(HKEY root, const std::string& name, const std::string& path, std::map<std::string, std::string>& out,
             REGSAM view, int depth = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
  out[kalvora::upperCaseAnsi(name) + "\\"] = "key";
  char valueName[16384];
  std::string data(65536, '\0');
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof valueName, dataSize = static_cast<DWORD>(data.size()), type = 0;
    const LONG result =
        RegEnumValueA(key, i, valueName, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &dataSize);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) break;
    const std::string content = result == ERROR_MORE_DATA ? "large" : data.substr(0, dataSize);
    out[kalvora::upperCaseAnsi(name) + " \"" + kalvora::upperCaseAnsi(std::string(valueName, nameSize)) + "\""] =
        std::to_string(type) + ":" + content;
  }
  std::vector<std::string> subkeys;
  char subkey[512];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof subkey;
    if (RegEnumKeyExA(key, i, subkey, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.emplace_back(subkey, size);
  }
  RegCloseKey(key);
  for (const std::string& sub : subkeys) {
    // Wine links keys into each other: those are not walked twice. Wow6432Node
    // is the 32-bit view, walked as such; the classes below the software keys
    // of the 32-bit view are what HKCR shows (the 64-bit view's are walked).
    const std::string upper = kalvora::upperCaseAnsi(sub);
    const bool linked =
        upper == "WOW6432NODE" || (depth == 0 && root != HKEY_CLASSES_ROOT && view == 0 && upper == "CLASSES");
    if (depth < 24 && !linked)
      walkKey(root, name + "\\" + sub, path.empty() ? sub : path + "\\" + sub, out, view, depth + 1);
  }
}

// Whether this 32-bit program runs on a 64-bit Windows.
bool onWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

} // namespace

SystemState SystemState::take() {
  SystemState state;
  // On a 64-bit Windows the files as they are: System32 the 64-bit one, and
  // SysWOW64, which a 32-bit program sees as System32, under its own name.
  void* redirection = nullptr;
  const bool unredirected = Wow64DisableWow64FsRedirection(&redirection);
  walkFiles("C:", state.entries_);
  // The small drive of the scenarios that run out of room (small-drive.sh), when it is there.
  walkFiles("T:", state.entries_);
  if (unredirected) Wow64RevertWow64FsRedirection(redirection);
  // The keys as setup.exe sees them (on a 64-bit Windows, the 32-bit view)...
  walkKey(HKEY_LOCAL_MACHINE, "HKLM\\Software", "Software", state.entries_, 0);
  walkKey(HKEY_CURRENT_USER, "HKCU\\Software", "Software", state.entries_, 0);
  // Wine keeps its own passing state there.
  std::erase_if(state.entries_, [](const auto& entry) { return entry.first.rfind("HKCU\\SOFTWARE\\WINE\\", 0) == 0; });
  walkKey(HKEY_CLASSES_ROOT, "HKCR", "", state.entries_, 0);
  // ... and the machine's 64-bit view, where nothing of a 32-bit setup belongs
  // (the users' keys are one for both views).
  if (onWow64()) walkKey(HKEY_LOCAL_MACHINE, "HKLM64\\Software", "Software", state.entries_, KEY_WOW64_64KEY);
  return state;
}

std::vector<std::string> SystemState::differencesFrom(const SystemState& earlier,
                                                      const std::vector<std::string>& exceptions) const {
  auto excepted = [&](const std::string& name) {
    return std::any_of(exceptions.begin(), exceptions.end(),
                       [&](const std::string& e) { return matches(kalvora::upperCaseAnsi(e), name); });
  };
  std::vector<std::string> out;
  for (const auto& [name, content] : entries_) {
    auto before = earlier.entries_.find(name);
    if (excepted(name)) continue;
    if (before == earlier.entries_.end())
      out.push_back("added " + name);
    else if (before->second != content)
      out.push_back("changed " + name);
  }
  for (const auto& [name, content] : earlier.entries_)
    if (!entries_.count(name) && !excepted(name)) out.push_back("removed " + name);
  return out;
}

bool processRunning(const std::string& exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
    found = kalvora::upperCaseAnsi(entry.szExeFile) == kalvora::upperCaseAnsi(exeName);
  CloseHandle(snapshot);
  return found;
}

} // namespace kvdrive
