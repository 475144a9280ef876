#include "wizard/win32/CancelDialog.h"

namespace kalvora {

namespace {
enum : int { kBtnTerminate = 101, kBtnCancel };
}

CancelDialog::CancelDialog(Platform& platform, InstallState& state)
    : DialogShell("Tabbruch", platform), logic_(platform, state, *this) {}

void CancelDialog::FormCreate() {
  logic_.FormCreate();
  createDialog(logic_.caption, 287, 83);
  addIcon("Image1", {11, 10, 34, 34}, LoadIconA(nullptr, IDI_QUESTION));
  Lbl_15_ = addLabel("Lbl_15", "", {53, 10, 226, 35}, formFont(), GetSysColor(COLOR_BTNTEXT), false, true);
  Btn_terminate_ = addButton("Btn_terminate", "", {55, 50, 75, 25}, kBtnTerminate, true);
  Btn_cancel_ = addButton("Btn_cancel", "", {133, 50, 75, 25}, kBtnCancel);
  apply();
}

void CancelDialog::apply() {
  setText(hwnd_, logic_.caption);
  setText(Lbl_15_, logic_.Lbl_15);
  setText(Btn_terminate_, logic_.Btn_terminate);
  setText(Btn_cancel_, logic_.Btn_cancel);
}

bool CancelDialog::preTranslateMessage(MSG& msg) {
  const bool onButton = msg.hwnd == Btn_terminate_ || msg.hwnd == Btn_cancel_;
  if (onButton && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
      logic_.Btn_terminateKeyDown(static_cast<int>(msg.wParam))) {
    apply();
    return true;
  }
  return DialogShell::preTranslateMessage(msg);
}

bool CancelDialog::onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    if (LOWORD(wp) == kBtnTerminate) logic_.Btn_terminateClick();
    if (LOWORD(wp) == kBtnCancel) logic_.Btn_cancelClick();
    apply();
    result = 0;
    return true;
  }
  if (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) { // Escape away from the buttons: nothing
    result = 0;
    return true;
  }
  return DialogShell::onMessage(msg, wp, lp, result);
}

} // namespace kalvora
