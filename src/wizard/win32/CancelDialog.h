#pragma once
// Tabbruch, the cancel confirmation: created third, hidden until Exit is pressed.
#include "app/win32/DialogShell.h"

namespace kalvora {

class CancelDialog : public DialogShell {
public:
  CancelDialog() : DialogShell("Tabbruch") {}
  void FormCreate() { createDialog("Kalvora", 287, 83); }
};

} // namespace kalvora
