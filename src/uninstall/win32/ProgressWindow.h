#pragma once
// The small window of an interactive removal: a caption, the current phase's
// label and a progress bar. It carries the names the e2e driver looks for
// ("Tuninstall", "Lbl_o", "Pr_o") as the window property "Name".
#include <windows.h>

#include "uninstall/Uninstaller.h"

namespace kalvora {

class ProgressWindow : public UninstallWindow {
public:
  void open(const std::string& caption) override;
  void close() override;
  void phase(const std::string& label) override;
  void percent(int value) override;

private:
  static void pumpMessages();

  HWND window_ = nullptr, label_ = nullptr, bar_ = nullptr;
};

} // namespace kalvora
