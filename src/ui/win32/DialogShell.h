#pragma once
// A dialog window created at start-up and kept hidden until it is shown:
// dialog border, no border icons, the forms' face colour. Shown modally, it
// keeps the program's other windows disabled until it is closed or the
// program is asked to end.
#include "platform/Platform.h"
#include "ui/win32/Form.h"
#include "ui/win32/ModalWindow.h"

namespace kalvora {

class DialogShell : public Form, public ModalWindow {
public:
  DialogShell(const char* className, Platform& platform)
      : Form(className, GetSysColor(COLOR_BTNFACE), true), platform_(platform) {}

  // Shows the dialog in front of the others and returns when it is closed or
  // the quit request has arrived.
  void showModal() override;
  bool shownModally() const { return modal_; }

protected:
  // Creates the hidden window, centred, or at (left, top) when left is not negative.
  void createDialog(const std::string& caption, int clientWidth, int clientHeight, int left = -1, int top = -1);
  // Ends the modal show (the dialog hides as showModal returns).
  void endModal() { modal_ = false; }
  // The focus when the dialog opens.
  virtual HWND initialFocus() const { return nullptr; }
  // The system's close request (Alt+F4): a modal dialog closes as cancelled.
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  Platform& platform_;

private:
  bool modal_ = false;
};

} // namespace kalvora
