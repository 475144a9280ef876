// unkalvora.exe: the uninstaller's entry; everything it does lies in runUninstaller.
#include <windows.h>

#include "platform/Win32Platform.h"
#include "uninstall/win32/ProgressWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // The Windows platform without setup.exe's shell operations, which the removal never calls.
  kalvora::Win32Platform platform;
  kalvora::ProgressWindow window;
  return kalvora::runUninstaller(platform, commandLine ? commandLine : "", window);
}
