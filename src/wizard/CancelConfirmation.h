#pragma once
// The cancel confirmation Tabbruch without its window: captions, keys, and
// what confirming does (delete the temporary files, mark a running
// installation as cancelled, request the end of the program).
#include <string>

#include "model/InstallState.h"
#include "platform/Platform.h"
#include "wizard/DialogHost.h"

namespace kalvora {

// The declining caption: "&nein" when the confirming caption, upper-cased, holds a J; else "&no".
std::string decliningCaption(const std::string& confirmingCaption);

class CancelConfirmation {
public:
  CancelConfirmation(Platform& platform, InstallState& state, DialogHost& host);

  // Captions and question; Run.Cancelled cleared.
  void FormCreate();
  void Btn_terminateClick();
  void Btn_cancelClick() { host_.closeDialog(); }
  // A key on either button: Escape declines, F4 confirms. True when handled.
  bool Btn_terminateKeyDown(int key);

  // The model the window shows.
  std::string caption;
  std::string Lbl_15;        // the question, or l10 while a running installation stops
  std::string Btn_terminate; // l15
  std::string Btn_cancel;    // "&nein" or "&no"

private:
  Platform& platform_;
  InstallState& state_;
  DialogHost& host_;
};

} // namespace kalvora
