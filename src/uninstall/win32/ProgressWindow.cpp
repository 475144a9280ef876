#include "uninstall/win32/ProgressWindow.h"

#include <commctrl.h>

namespace kalvora {
namespace {

constexpr const char* kClassName = "Tuninstall";

void name(HWND window, const char* text) {
  SetPropA(window, "Name", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GlobalAddAtomA(text))));
}

LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  // The removal runs to its end: closing the window does not stop it halfway.
  if (msg == WM_CLOSE) return 0;
  return DefWindowProcA(window, msg, wp, lp);
}

} // namespace

void ProgressWindow::open(const std::string& caption) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  RECT r{0, 0, 360, 70};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;
  AdjustWindowRect(&r, style, FALSE);
  const int width = r.right - r.left, height = r.bottom - r.top;
  window_ = CreateWindowExA(0, kClassName, caption.c_str(), style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr, wc.hInstance,
                            nullptr);
  if (!window_) return;
  name(window_, kClassName);
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  label_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 340, 16, window_, nullptr,
                           wc.hInstance, nullptr);
  SendMessageA(label_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  name(label_, "Lbl_o");
  bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 34, 340, 20, window_, nullptr, wc.hInstance,
                         nullptr);
  name(bar_, "Pr_o");
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  pumpMessages();
}

void ProgressWindow::close() {
  if (window_) DestroyWindow(window_);
  window_ = label_ = bar_ = nullptr;
}

void ProgressWindow::phase(const std::string& label) {
  if (label_) SetWindowTextA(label_, label.c_str());
  pumpMessages();
}

void ProgressWindow::percent(int value) {
  if (bar_) SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(value), 0);
  pumpMessages();
}

void ProgressWindow::pumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

} // namespace kalvora
