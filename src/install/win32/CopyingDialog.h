#pragma once
// Tcopying, the installation dialog: created fifth, shown modally when the installation starts.
#include "app/win32/DialogShell.h"

namespace kalvora {

class CopyingDialog : public DialogShell {
public:
  explicit CopyingDialog(Platform& platform) : DialogShell("Tcopying", platform) {}
  void FormCreate() { createDialog("", 357, 83); }
};

} // namespace kalvora
