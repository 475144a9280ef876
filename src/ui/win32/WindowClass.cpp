#include "ui/win32/WindowClass.h"

namespace kalvora {

void registerWindowClass(const char* name, WNDPROC proc, int extraBytes) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = extraBytes;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

} // namespace kalvora
