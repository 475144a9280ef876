#pragma once
// The state of the Wine prefix that an installation changes: every file below
// C:\ (and T:\, when mapped) apart from the folders Wine links to the Unix
// home (size, and the bytes' hash for files up to 1 MB, else the write time;
// System32 and SysWOW64 each as itself) and every registry key and value below
// HKLM\Software, HKCU\Software (without Wine's own) and HKCR as a 32-bit
// program sees them, and on a 64-bit Windows below HKLM64\Software: the
// 64-bit view of HKLM\Software, its classes included.
// Two snapshots compare to a list of differences.
#include <map>
#include <string>
#include <vector>

namespace kvdrive {

class SystemState {
public:
  static SystemState take();

  // What differs from earlier ("added C:\X", "changed HKCU\SOFTWARE\A \"V\"", ...),
  // leaving out every name that an exception matches whole, "*" standing for
  // any run of characters (without regard to case; directories and keys end with "\").
  std::vector<std::string> differencesFrom(const SystemState& earlier,
                                           const std::vector<std::string>& exceptions) const;

private:
  std::map<std::string, std::string> entries_; // upper-case name -> description of its content
};

// Whether a process runs whose program file has this name (e.g. "unkalvora.exe").
bool processRunning(const std::string& exeName);

} // namespace kvdrive
