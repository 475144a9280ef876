// unkalvora.exe: the uninstaller's entry; everything it does lies in runUninstaller.
#include <windows.h>

#include "uninstall/win32/ProgressWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  kalvora::ProgressWindow window;
  return kalvora::runUninstaller(kalvora::systemPlatform(), commandLine ? commandLine : "", window);
}
