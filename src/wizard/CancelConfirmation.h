#pragma once
// The cancel confirmation Tabbruch without its window: captions, keys, and
// what confirming does (delete the temporary files, mark a running
// installation as cancelled, request the end of the program).
#include <string>

#include "app/InstallState.h"
#include "platform/Platform.h"

namespace kalvora {

// What the window does besides showing the model.
class CancelConfirmationHost {
public:
  virtual ~CancelConfirmationHost() = default;
  virtual void closeDialog() = 0; // ends the modal show
};

// The declining caption: "&nein" when the confirming caption, upper-cased, holds a J; else "&no".
std::string decliningCaption(const std::string& confirmingCaption);

class CancelConfirmation {
public:
  CancelConfirmation(Platform& platform, InstallState& state, CancelConfirmationHost& host);

  // Captions and question; RunCancelled cleared.
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
  CancelConfirmationHost& host_;
};

} // namespace kalvora
