#include "ui/win32/DialogShell.h"

#include <vector>

namespace kalvora {

namespace {

struct WindowSearch {
  HWND dialog;
  std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM lp) {
  auto& search = *reinterpret_cast<WindowSearch*>(lp);
  if (window != search.dialog && IsWindowVisible(window) && IsWindowEnabled(window)) search.found.push_back(window);
  return TRUE;
}

// The enabled, visible top-level windows of this thread: a modal show disables them.
std::vector<HWND> otherWindows(HWND dialog) {
  WindowSearch search{dialog, {}};
  EnumThreadWindows(GetCurrentThreadId(), collectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

} // namespace

void DialogShell::createDialog(const std::string& caption, int clientWidth, int clientHeight, int left, int top) {
  createWindow(caption, WS_POPUP | WS_CAPTION | WS_DLGFRAME, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, clientWidth,
               clientHeight);
  if (left < 0)
    centre();
  else
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogShell::showModal() {
  HWND previous = GetActiveWindow();
  const std::vector<HWND> disabled = otherWindows(hwnd_);
  for (HWND window : disabled)
    EnableWindow(window, FALSE);
  modal_ = true;
  // Above the wizard, which stays on top of other windows.
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd_);
  if (HWND focus = initialFocus()) SetFocus(focus);
  while (modal_ && !platform_.terminated()) {
    WaitMessage();
    platform_.processMessages();
  }
  modal_ = false;
  for (HWND window : disabled)
    EnableWindow(window, TRUE);
  hide();
  if (previous && IsWindowVisible(previous)) SetForegroundWindow(previous);
}

bool DialogShell::onMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != WM_CLOSE) return false;
  endModal();
  result = 0;
  return true;
}

} // namespace kalvora
