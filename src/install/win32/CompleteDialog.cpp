#include "install/win32/CompleteDialog.h"

namespace kalvora {

namespace {
enum : int { kBtnComplete = 101, kBtnReadme };
constexpr int kButtonTop = 54, kButtonHeight = 25;
} // namespace

CompleteDialog::CompleteDialog(Platform& platform, InstallState& state)
    : DialogShell("Tcomplete", platform), logic_(platform, state, *this) {}

void CompleteDialog::FormCreate() {
  logic_.FormCreate();
  createDialog("kalvora", 263, 85);
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  addIcon("Image1", {5, 9, 32, 32}, icon ? icon : LoadIconA(nullptr, IDI_INFORMATION));
  Lbl_complete_ = addLabel("Lbl_complete", "", {48, 19, 206, 16}, formFont(), GetSysColor(COLOR_BTNTEXT), false, true);
  // Created first: the readme button comes first in the tab order.
  Btn_readme_ = addButton("Btn_readme", "Read&Me....", {133, kButtonTop, 88, kButtonHeight}, kBtnReadme);
  Btn_complete_ =
      addButton("Btn_complete", "&Ok", {kCompleteButtonLeft, kButtonTop, 73, kButtonHeight}, kBtnComplete, true);
  apply();
}

void CompleteDialog::apply() {
  setText(Lbl_complete_, logic_.Lbl_complete);
  setVisible(Btn_readme_, logic_.readmeVisible);
  EnableWindow(Btn_readme_, logic_.readmeEnabled ? TRUE : FALSE);
  place(Btn_complete_, {logic_.completeLeft, kButtonTop, 73, kButtonHeight});
}

void CompleteDialog::showModalFor(std::unique_ptr<SetupScript>& setupCopy) {
  owner_ = GetActiveWindow();
  logic_.FormShow(setupCopy);
  apply();
  showModal();
}

void CompleteDialog::bringApplicationToFront() {
  if (owner_) SetForegroundWindow(owner_);
}

bool CompleteDialog::preTranslateMessage(MSG& msg) {
  if (msg.hwnd == Btn_complete_ && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
      logic_.Btn_completeKeyDown(static_cast<int>(msg.wParam))) {
    apply();
    return true;
  }
  return DialogShell::preTranslateMessage(msg);
}

bool CompleteDialog::onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    if (LOWORD(wp) == kBtnComplete) logic_.Btn_completeClick();
    if (LOWORD(wp) == kBtnReadme) logic_.Btn_readmeClick();
    apply();
    result = 0;
    return true;
  }
  if (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) { // Escape away from the OK button: nothing
    result = 0;
    return true;
  }
  if (msg == WM_CLOSE) {
    // Closed by the system (Alt+F4): the installation is complete, so this is
    // the OK action; merely hiding would leave the program with no way out.
    logic_.Btn_completeClick();
    result = 0;
    return true;
  }
  return DialogShell::onMessage(msg, wp, lp, result);
}

} // namespace kalvora
