// Program entry of setup.exe: the seven windows, created once in their order,
// then the message loop until the quit request.
#include <windows.h>

#include <commctrl.h>

#include <exception>

#include "app/win32/LoadingScreen.h"
#include "app/win32/MainWindow.h"
#include "app/win32/WindowStages.h"
#include "install/win32/CompleteDialog.h"
#include "install/win32/CopyingDialog.h"
#include "platform/Win32Messages.h"
#include "wizard/win32/CancelDialog.h"
#include "wizard/win32/FolderDialog.h"
#include "wizard/win32/LeaderWindow.h"

namespace kalvora {
namespace {

// Runs a creation handler; its error is reported as any handler's and creation goes on.
template <typename F> void guarded(F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    Form::reportError(e.what());
  }
}

int run() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Platform& platform = systemPlatform();
  // InstallState and the seven windows live until the process ends; none is destroyed before.
  InstallState& state = *new InstallState;
  MainWindow& Tmain = *new MainWindow(platform, state);
  LoadingScreen& Ttrailer = *new LoadingScreen(platform, state);
  CancelDialog& Tabbruch = *new CancelDialog(platform, state);
  LeaderWindow& Tleader = *new LeaderWindow(platform, state, Tmain, Ttrailer, Tabbruch);
  CompleteDialog& Tcomplete = *new CompleteDialog(platform, state);
  CopyingDialog& Tcopying = *new CopyingDialog(platform, state, Tabbruch, *new WindowStages(Tcomplete));
  FolderDialog& Tdlg_folder = *new FolderDialog(platform, state, Tleader.leader());
  Tleader.attach(Tcopying, Tdlg_folder);
  setMessageFilter(preTranslateForForm);

  bool endNow = false;
  guarded([&] { endNow = Tmain.FormCreate() == StartUpOutcome::EndProgram; });
  if (endNow) return 0; // the start-up ends the program at once, before any other window exists
  guarded([&] { Ttrailer.FormCreate(); });
  guarded([&] { Tabbruch.FormCreate(); });
  Tmain.setLeader(&Tleader);
  guarded([&] { Tleader.FormCreate(); });
  guarded([&] { Tcopying.FormCreate(); });
  guarded([&] { Tcomplete.FormCreate(); });
  guarded([&] { Tdlg_folder.FormCreate(); });

  Tmain.showAsMainWindow();
  MSG msg;
  while (!platform.terminated() && GetMessageA(&msg, nullptr, 0, 0) > 0)
    dispatchMessage(msg);
  guarded([&] { Tcopying.FormDestroy(); }); // after a confirmed cancellation: the rollback
  Tmain.FormDestroy();                      // releases the setup script
  return 0;
}

} // namespace
} // namespace kalvora

// The command line is not read; the program always ends with exit code 0.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kalvora::run();
  kalvora::releaseWindowNames();
  ExitProcess(0);
}
