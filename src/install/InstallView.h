#pragma once
// What the installation run shows on the installation dialog Tcopying: its
// caption and position, the two bars with the item caption, the cancel button,
// and the cancel confirmation it opens from the volume prompt.
#include <string>

namespace kalvora {

class InstallView {
public:
  virtual ~InstallView() = default;
  virtual void moveTop(int top) = 0; // the dialog's top edge in screen pixels
  virtual void setCaption(const std::string& caption) = 0;
  virtual void setItemLabel(const std::string& text) = 0; // Lbl_o
  virtual void hideItemLabel() = 0;                       // Lbl_o
  // The bars take 0 to 100; the run clamps before it calls.
  virtual void setItemProgress(int percent) = 0; // Pr_o
  virtual void setRunProgress(int percent) = 0;  // Pr_u
  virtual void disableExit() = 0;                // Btn_exit
  // Tabbruch, modally; confirming it requests the end of the program.
  virtual void showCancelConfirmation() = 0;
};

} // namespace kalvora
