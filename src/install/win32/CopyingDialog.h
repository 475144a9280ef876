#pragma once
// Tcopying, the installation dialog: created fifth, shown modally when the
// wizard starts the installation. Its first activation runs the installation
// (InstallRun); this window shows the run's two bars and captions and turns
// F3, F4, Esc and its exit button into the cancel confirmation.
#include <functional>
#include <optional>
#include <string>

#include "install/InstallRun.h"
#include "ui/win32/DialogShell.h"

namespace kalvora {

class CopyingDialog : public DialogShell, private InstallView {
public:
  CopyingDialog(Platform& platform, InstallState& state, ModalWindow& Tabbruch, RunStages& stages);
  void FormCreate();
  // At program end: the rollback after a confirmed cancellation.
  void FormDestroy();
  // A run without questions: a cancellation (a missing volume's) is confirmed
  // at once by confirmCancel, and an error ends the run with its rollback
  // instead of a message.
  void runUnattended(std::function<void()> confirmCancel) { confirmCancel_ = std::move(confirmCancel); }
  InstallRun& installRun() { return run_; }

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool preTranslateMessage(MSG& msg) override;

private:
  void Btn_exitClick();
  void activateUnattended();

  // InstallView
  void moveTop(int top) override;
  void setCaption(const std::string& caption) override { setText(hwnd_, caption); }
  // The item caption and the bars change with every file and block; the
  // window takes their latest values at the next tick of a short timer, so it
  // is touched at most once a tick however many blocks pass.
  void setItemLabel(const std::string& text) override;
  void hideItemLabel() override { setVisible(Lbl_o_, false); }
  void setItemProgress(int percent) override;
  void setRunProgress(int percent) override;
  void disableExit() override { EnableWindow(Btn_exit_, FALSE); }
  void showCancelConfirmation() override;
  void showLater();
  void showPending();

  ModalWindow& Tabbruch_;
  InstallRun run_;
  HWND Lbl_o_{}, Pr_o_{}, Lbl_u_{}, Pr_u_{}, Btn_exit_{}, Button1_{}, l_{};
  struct Pending {
    std::optional<std::string> itemLabel;
    std::optional<int> item, run;
  } pending_;
  bool timerSet_ = false;
  std::function<void()> confirmCancel_; // set in a run without questions
};

} // namespace kalvora
