#include "ui/win32/Automation.h"

#include <vector>

namespace kalvora {
namespace {

// Global atoms outlive the process unless deleted: each one added is kept here.
std::vector<ATOM>& nameAtoms() {
  static std::vector<ATOM> atoms;
  return atoms;
}

} // namespace

void setWindowName(HWND window, const std::string& name) {
  const ATOM atom = GlobalAddAtomA(name.c_str());
  if (atom) nameAtoms().push_back(atom);
  SetPropA(window, "Name", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void releaseWindowNames() {
  for (ATOM atom : nameAtoms())
    GlobalDeleteAtom(atom);
  nameAtoms().clear();
}

std::string windowName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(window, "Name")));
  char name[256];
  const UINT n = atom ? GlobalGetAtomNameA(atom, name, sizeof name) : 0;
  return std::string(name, n);
}

void automationTrace(const std::string& line) {
  char path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("KALVORA_TRACE", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  HANDLE file =
      CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

} // namespace kalvora
