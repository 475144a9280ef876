// unkalvora.exe: the uninstaller's entry; everything it does lies in runUninstaller.
#include <windows.h>

#include "platform/Win32Platform.h"
#include "platform/Win32Shell.h"
#include "uninstall/win32/ProgressWindow.h"

namespace {

// The Windows platform without setup.exe's shell operations, which the removal
// never calls, but with the shell's links: a link goes only while it still
// starts what the run made it start, and one that was there is written back.
class UninstallerPlatform : public kalvora::Win32Platform {
public:
  std::optional<kalvora::ShellLink> readShellLink(const std::string& path) override {
    return kalvora::loadShellLink(path);
  }
  bool writeShellLink(const std::string& path, const kalvora::ShellLink& link) override {
    return kalvora::saveShellLink(path, link);
  }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // No system box for a drive without a medium or a crash: a file out of reach
  // is reported as left, and an unattended removal must never wait for anyone.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  UninstallerPlatform platform;
  kalvora::ProgressWindow window;
  return kalvora::runUninstaller(platform, commandLine ? commandLine : "", window);
}
