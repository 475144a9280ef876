#pragma once
// Tdlg_folder, the folder browser: created last, hidden until the browse button opens it.
#include "app/win32/DialogShell.h"

namespace kalvora {

class FolderDialog : public DialogShell {
public:
  FolderDialog() : DialogShell("Tdlg_folder") {}
  void FormCreate() { createDialog("", 320, 206, 258, 152); }
};

} // namespace kalvora
