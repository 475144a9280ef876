// Arbitrary bytes as the uninstall log of an installation: whatever the log
// says, the uninstaller raises nothing, asks nothing in a silent run, and
// leaves what lies outside the installation's places (another product's
// directory, a directory of its own, the start-up files themselves, a file in
// C:\ that is no copy of them).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/MemoryPlatform.h"
#include "uninstall/Uninstaller.h"

using namespace kalvora;

namespace {

constexpr const char* kLog = "C:\\Programs\\App\\setup\\uninst.log";

void check(bool ok) {
  if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryPlatform p;
  p.putDirectory("C:\\WINDOWS\\Start Menu\\Programs\\App");
  p.putDirectory("C:\\TEMP");
  p.putFile("C:\\autoexec.bat", "PATH C:\\WINDOWS\r\nSET APP=1\r\n");
  p.putFile("C:\\config.sys", "FILES=40\r\n");
  p.putFile("C:\\WINDOWS\\win.ini", "[App]\r\nKey=1\r\n");
  p.putFile("C:\\Other\\keep.dat", "keep");
  p.putFile("C:\\precious.txt", "keep"); // in C:\ beside the start-up files' backups
  p.putFile("C:\\Programs\\Shared\\other.dat", "keep");
  p.putFile("C:\\Programs\\App\\app.exe", "app");
  p.putFile("C:\\Programs\\App\\data\\deep\\big.dat", "data");
  p.putFile(kLog, std::string(reinterpret_cast<const char*>(data), size));
  class NoWindow : public UninstallWindow {
  } window;
  try {
    (void)runUninstaller(p, std::string(kLog) + " /silent", window);
  } catch (...) {
    std::abort(); // every fault of a log is reported and passed over, none raised
  }
  check(p.fileContent("C:\\Other\\keep.dat") == "keep");
  check(p.fileContent("C:\\Programs\\Shared\\other.dat") == "keep");
  check(p.fileExists("C:\\autoexec.bat") && p.fileExists("C:\\config.sys"));
  // Not a copy of a start-up file, so not a backup to remove (INI entries may be written into it).
  check(p.fileExists("C:\\precious.txt"));
  check(p.shownBoxes().empty());
  return 0;
}
