#pragma once
// Tcomplete, the completion dialog: created sixth, shown modally at the end of the run.
#include "app/win32/DialogShell.h"

namespace kalvora {

class CompleteDialog : public DialogShell {
public:
  explicit CompleteDialog(Platform& platform) : DialogShell("Tcomplete", platform) {}
  void FormCreate() { createDialog("kalvora", 263, 85); }
};

} // namespace kalvora
