#include "platform/Win32ProgramFault.h"

#include <windows.h>

namespace kalvora {
namespace {

// Two paths of MAX_PATH, a blank and " /silent" fit, quoted.
char rollbackLine[1024];
volatile LONG rollbackDue = 0; // 1 while rollbackLine holds a command line to start
volatile LONG messageShown = 0;
volatile LONG faultingThread = 0; // the first thread on the fault path

constexpr const char* kFaultCaption = "Setup";
constexpr const char* kFaultText = "Setup stopped because of an internal error.";
constexpr const char* kFaultRollbackText = "Setup stopped because of an internal error.\r\r"
                                           "The changes made so far will now be undone.";

bool startHidden(char* commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  // Out of a job that would end it with this program, where the job allows it.
  for (const DWORD flags : {DWORD{CREATE_BREAKAWAY_FROM_JOB}, DWORD{0}})
    if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &process)) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
      return true;
    }
  return false;
}

} // namespace

void setFaultMessage(bool shown) { InterlockedExchange(&messageShown, shown ? 1 : 0); }

void setFaultRollback(const std::string& commandLine) {
  // Not due while the buffer changes: a fault on another thread meanwhile starts nothing.
  InterlockedExchange(&rollbackDue, 0);
  if (commandLine.empty() || commandLine.size() >= sizeof rollbackLine) return;
  commandLine.copy(rollbackLine, commandLine.size());
  rollbackLine[commandLine.size()] = '\0';
  InterlockedExchange(&rollbackDue, 1);
}

void reportFault() noexcept {
  const LONG self = static_cast<LONG>(GetCurrentThreadId());
  const LONG first = InterlockedCompareExchange(&faultingThread, self, 0);
  if (first != 0 && first != self) Sleep(INFINITE); // the first one ends the program
  // The message comes first: the rollback must not begin while this program
  // still holds its files open, which it does until it ends right after.
  // A fault inside the box's message loop (a window of ours that paints) goes on without it.
  if (first == 0 && messageShown)
    MessageBoxA(nullptr, rollbackDue ? kFaultRollbackText : kFaultText, kFaultCaption,
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  if (InterlockedExchange(&rollbackDue, 0) != 0) startHidden(rollbackLine);
}

} // namespace kalvora
