#pragma once
// Tabbruch, the cancel confirmation: created third, hidden until a caller
// shows it modally. The behaviour is CancelConfirmation's; this is its window.
#include "ui/win32/DialogShell.h"
#include "wizard/CancelConfirmation.h"

namespace kalvora {

class CancelDialog : public DialogShell, private DialogHost {
public:
  CancelDialog(Platform& platform, InstallState& state);
  void FormCreate();
  // Confirms without showing the dialog (a run that asks nobody).
  void confirm() { logic_.Btn_terminateClick(); }

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool preTranslateMessage(MSG& msg) override;
  HWND initialFocus() const override { return Btn_terminate_; }

private:
  void apply();
  // DialogHost
  void closeDialog() override { endModal(); }
  void refresh() override { apply(); }

  CancelConfirmation logic_;
  HWND Lbl_15_{}, Btn_terminate_{}, Btn_cancel_{};
};

} // namespace kalvora
