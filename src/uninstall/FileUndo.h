#pragma once
// The uninstaller's side of the run's file records: putting a replaced file's
// original back, telling whether an installed file is still as the run left
// it, and counting a shared file in the Windows directory down.
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace kalvora {

// Puts the original kept at backup back over target with its bytes, time and
// attributes; the backup is gone afterwards. False when refused (target and
// backup then stay as they are).
bool putBackOriginal(Platform& platform, const std::string& backup, const std::string& target);

// Whether the file at path still has the identity id<n> records (size, time, CRC-32).
bool stillAsInstalled(Platform& platform, const std::string& path, const std::string& id);

struct SharedCountDown {
  std::int64_t remaining = 0; // the installations that still use the file, others before the run included
  bool refused = false;       // the count could not be written
};

// Takes the run's count off the file's SharedDLLs count, when the run added
// it: logged is the count before the run (count<n>), had whether that was a
// value of its own (hadcount<n>). A count back where the run found no value
// goes; so does one at zero.
SharedCountDown countSharedFileDown(Platform& platform, const std::string& path, std::int64_t logged, bool had);

} // namespace kalvora
