// unkalvora.exe: the uninstaller's entry; everything it does lies in runUninstaller.
#include <windows.h>

#include "platform/Win32Platform.h"
#include "uninstall/win32/ProgressWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // The Windows platform without setup.exe's shell operations, which the removal never calls.
  // No system box for a drive without a medium or a crash: a file out of reach
  // is reported as left, and an unattended removal must never wait for anyone.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  kalvora::Win32Platform platform;
  kalvora::ProgressWindow window;
  return kalvora::runUninstaller(platform, commandLine ? commandLine : "", window);
}
