#pragma once
// A dialog window created at start-up and kept hidden until it is shown:
// dialog border, no border icons, the forms' face colour.
#include "app/win32/Form.h"

namespace kalvora {

class DialogShell : public Form {
public:
  explicit DialogShell(const char* className) : Form(className, GetSysColor(COLOR_BTNFACE)) {}

protected:
  // Creates the hidden window, centred, or at (left, top) when left is not negative.
  void createDialog(const std::string& caption, int clientWidth, int clientHeight, int left = -1, int top = -1) {
    createWindow(caption, WS_POPUP | WS_CAPTION | WS_DLGFRAME, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, clientWidth,
                 clientHeight);
    if (left < 0)
      centre();
    else
      SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
};

} // namespace kalvora
