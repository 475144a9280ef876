// Program entry of setup.exe: the seven windows, created once in their order,
// then the message loop until the quit request.
#include <windows.h>

#include <commctrl.h>

#include "app/ExitCodes.h"
#include "app/win32/LoadingScreen.h"
#include "app/win32/MainWindow.h"
#include "app/win32/SwitchedRun.h"
#include "app/win32/WindowStages.h"
#include "install/win32/CompleteDialog.h"
#include "install/win32/CopyingDialog.h"
#include "platform/Win32Messages.h"
#include "platform/Win32ProgramFault.h"
#include "wizard/win32/CancelDialog.h"
#include "wizard/win32/FolderDialog.h"
#include "wizard/win32/LeaderWindow.h"

namespace kalvora {
namespace {

// switched: the run's switches; none for a run without any, which ends with 0.
int run(SwitchedRun* switched) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Platform& platform = switched ? switched->platform() : systemPlatform();
  // InstallState and the seven windows live until the process ends; none is destroyed before.
  InstallState& state = *new InstallState;
  MainWindow& Tmain = *new MainWindow(platform, state);
  LoadingScreen& Ttrailer = *new LoadingScreen(platform, state);
  CancelDialog& Tabbruch = *new CancelDialog(platform, state);
  LeaderWindow& Tleader = *new LeaderWindow(platform, state, Tmain, Ttrailer, Tabbruch);
  CompleteDialog& Tcomplete = *new CompleteDialog(platform, state);
  RunStages* stages = switched ? switched->stages() : nullptr;
  CopyingDialog& Tcopying =
      *new CopyingDialog(platform, state, Tabbruch, stages ? *stages : *new WindowStages(Tcomplete));
  FolderDialog& Tdlg_folder = *new FolderDialog(platform, state, Tleader.leader());
  Tleader.attach(Tcopying, Tdlg_folder);
  setMessageFilter(preTranslateForForm);

  if (switched) Tmain.removeOldCopy = switched->oldCopyRemover();
  bool endNow = false;
  endNow = Tmain.FormCreate() == StartUpOutcome::EndProgram;
  if (switched)
    if (const auto code = switched->afterStartUp(endNow, state)) return *code;
  if (endNow) return 0; // the start-up ends the program at once, before any other window exists
  if (switched)
    if (const auto code = switched->beforeWizard(state, Tleader.leader(), Tcopying, Tcomplete, Tabbruch)) return *code;
  Ttrailer.FormCreate();
  Tabbruch.FormCreate();
  Tmain.setLeader(&Tleader);
  if (switched && switched->passive()) Tleader.keepHidden();
  Tleader.FormCreate();
  Tcopying.FormCreate();
  Tcomplete.FormCreate();
  Tdlg_folder.FormCreate();

  Tmain.showAsMainWindow();
  if (switched && switched->passive()) Tleader.installWithoutQuestions();
  MSG msg;
  while (!platform.terminated() && GetMessageA(&msg, nullptr, 0, 0) > 0)
    dispatchMessage(msg);
  Tcopying.FormDestroy(); // after a confirmed cancellation: the rollback
  Tmain.FormDestroy();    // releases the setup script
  return switched ? switched->exitCode(state, Tcomplete) : 0;
}

} // namespace
} // namespace kalvora

// Without switches the program ends with exit code 0, whatever happened.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const std::string line = commandLine ? commandLine : "";
  int code = 0;
  if (line.find_first_not_of(" \t") == std::string::npos) {
    kalvora::Platform& system = kalvora::systemPlatform();
    kalvora::setFaultMessage(true); // a run with windows and questions
    if (system.takeInstallerLock())
      kalvora::run(nullptr);
    else
      system.messageBox(kalvora::kAnotherInstallerText, "Setup", kalvora::MessageButtons::Ok,
                        kalvora::MessageIcon::Exclamation);
  } else {
    kalvora::SwitchedRun& switched = *new kalvora::SwitchedRun;
    const auto early = switched.begin(line);
    code = early ? *early : kalvora::run(&switched);
  }
  kalvora::releaseWindowNames();
  ExitProcess(static_cast<UINT>(code));
}
