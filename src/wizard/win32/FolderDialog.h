#pragma once
// Tdlg_folder, the folder browser: created last, hidden until the browse
// button opens it. The behaviour is FolderBrowser's; this is its window: a
// drive list, an owner-drawn directory tree list and the path label.
#include "ui/win32/DialogShell.h"
#include "wizard/FolderBrowser.h"

namespace kalvora {

class FolderDialog : public DialogShell, private DialogHost {
public:
  FolderDialog(Platform& platform, InstallState& state, Leader& leader);
  void FormCreate();

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool preTranslateMessage(MSG& msg) override;
  HWND initialFocus() const override { return Btn_ok_; }

private:
  void apply();
  void fillDrives();
  void openSelectedItem();
  void chooseSelectedDrive();
  void drawItem(const DRAWITEMSTRUCT& item);
  int textWidth(const std::string& text) const;
  // DialogHost
  void closeDialog() override { endModal(); }

  FolderBrowser logic_;
  HWND Label1_{}, DirectoryListBox1_{}, DriveComboBox1_{}, Btn_ok_{}, Btn_abbr_{};
};

} // namespace kalvora
