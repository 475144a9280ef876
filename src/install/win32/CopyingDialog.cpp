#include "install/win32/CopyingDialog.h"

namespace kalvora {

namespace {

enum : int { kBtnExit = 101, kButton1, kList };
// The timer that shows the pending caption and bars; 40 ms is 25 pictures a second.
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT kShowMilliseconds = 40;
// Posted on the first activation, so that the run starts once the dialog is up.
constexpr UINT kStartRun = WM_APP + 1;

} // namespace

CopyingDialog::CopyingDialog(Platform& platform, InstallState& state, ModalWindow& Tabbruch, RunStages& stages)
    : DialogShell("Tcopying", platform), Tabbruch_(Tabbruch), run_(state, platform, *this, stages) {}

void CopyingDialog::FormCreate() {
  const InstallState& state = run_.context().state;
  createDialog("", 357, 83);
  // The invisible default button comes first: Enter presses it, and it does nothing.
  Button1_ = addButton("Button1", "Button1", {360, 45, 75, 25}, kButton1, true);
  Lbl_o_ = addLabel("Lbl_o", "", {6, 3, 243, 13}, formFont(), GetSysColor(COLOR_BTNTEXT), false, false);
  Pr_o_ = addGauge("Pr_o", {8, 17, 245, 18});
  Lbl_u_ = addLabel("Lbl_u", state.Setup.TextTable[18], {8, 40, 243, 13}, formFont(), GetSysColor(COLOR_BTNTEXT), false,
                    false);
  Pr_u_ = addGauge("Pr_u", {8, 53, 245, 18});
  Btn_exit_ = addButton("Btn_exit", state.Setup.TextTable[11] + " (F3)", {260, 47, 93, 25}, kBtnExit);
  l_ = addListBox("l", {0, 0, 10, 10}, kList, 0);
  setVisible(l_, false);
}

void CopyingDialog::moveTop(int top) {
  RECT r;
  GetWindowRect(hwnd_, &r);
  SetWindowPos(hwnd_, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CopyingDialog::FormDestroy() {
  // The test driver reads the trace: the uninstaller runs hidden and ends unseen.
  if (const auto started = run_.FormDestroy()) automationTrace("rollback " + *started);
}

void CopyingDialog::setItemLabel(const std::string& text) {
  pending_.itemLabel = text;
  showLater();
}

void CopyingDialog::setItemProgress(int percent) {
  pending_.item = percent;
  showLater();
}

void CopyingDialog::setRunProgress(int percent) {
  pending_.run = percent;
  showLater();
}

void CopyingDialog::showLater() {
  if (timerSet_) return;
  // The timer's message comes in any message loop: the run's, a volume prompt's, a modal dialog's.
  timerSet_ = SetTimer(hwnd_, kShowTimer, kShowMilliseconds, nullptr) != 0;
  if (!timerSet_) showPending();
}

void CopyingDialog::showPending() {
  if (timerSet_) KillTimer(hwnd_, kShowTimer);
  timerSet_ = false;
  if (pending_.itemLabel) setText(Lbl_o_, *pending_.itemLabel);
  if (pending_.item) setGaugePosition(Pr_o_, *pending_.item);
  if (pending_.run) setGaugePosition(Pr_u_, *pending_.run);
  pending_ = {};
}

void CopyingDialog::showCancelConfirmation() {
  if (confirmCancel_)
    confirmCancel_();
  else
    Tabbruch_.showModal();
}

void CopyingDialog::activateUnattended() {
  RunContext& run = run_.context();
  if (!run_.FormActivate()) return;
  // Logged by the run; the rollback follows when the program ends.
  run.state.Run.Cancelled = run.state.Run.Started;
  run.platform.requestQuit();
}

void CopyingDialog::Btn_exitClick() { showCancelConfirmation(); }

bool CopyingDialog::preTranslateMessage(MSG& msg) {
  // F3 and F4 on the dialog, the exit button, the list and the hidden default button.
  const bool ours = msg.hwnd == hwnd_ || msg.hwnd == Btn_exit_ || msg.hwnd == l_ || msg.hwnd == Button1_;
  const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (ours && keyDown && (msg.wParam == VK_F3 || msg.wParam == VK_F4)) {
    showCancelConfirmation();
    return true;
  }
  return DialogShell::preTranslateMessage(msg);
}

bool CopyingDialog::onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
  case WM_ACTIVATE:
    if (LOWORD(wp) != WA_INACTIVE) PostMessageA(hwnd_, kStartRun, 0, 0);
    return false;
  case kStartRun:
    // Only the first call after start-up runs the installation.
    if (confirmCancel_)
      activateUnattended();
    else if (const std::optional<Exception> error = run_.FormActivate())
      reportError(error->what()); // the application's error report; the cancel button stays

    result = 0;
    return true;
  case WM_TIMER:
    if (wp != kShowTimer) return false;
    showPending();
    result = 0;
    return true;
  case WM_CLOSE: // no close box: the run ends through its cancel confirmation
    result = 0;
    return true;
  case WM_COMMAND:
    // The exit button is the dialog's cancel button: Esc presses it too.
    if ((LOWORD(wp) == kBtnExit || LOWORD(wp) == IDCANCEL) && IsWindowEnabled(Btn_exit_)) Btn_exitClick();
    result = 0;
    return true;
  default: return DialogShell::onMessage(msg, wp, lp, result);
  }
}

} // namespace kalvora
