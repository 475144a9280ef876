#pragma once
// Tcomplete, the completion dialog: created sixth, shown modally at the end of
// the run. The behaviour is Completion's; this is its window.
#include <memory>

#include "install/Completion.h"
#include "ui/win32/DialogShell.h"

namespace kalvora {

class CompleteDialog : public DialogShell, private CompletionHost {
public:
  CompleteDialog(Platform& platform, InstallState& state);
  void FormCreate();
  // Runs the dialog's show handler, then shows it modally; returns when it has closed.
  void showModalFor(std::unique_ptr<SetupScript>& setupCopy);
  Completion& logic() { return logic_; }

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool preTranslateMessage(MSG& msg) override;
  HWND initialFocus() const override { return logic_.readmeVisible ? Btn_readme_ : Btn_complete_; }

private:
  void apply();
  // CompletionHost
  void closeDialog() override { endModal(); }
  void bringApplicationToFront() override;

  Completion logic_;
  HWND owner_{}; // the window in front before the wait for the group window
  HWND Lbl_complete_{}, Btn_complete_{}, Btn_readme_{};
};

} // namespace kalvora
