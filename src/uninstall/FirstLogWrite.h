#pragma once
// A run stopped while it wrote its log for the first time leaves no uninst.log,
// only the file the log is written to before it is moved into place: whole
// (flushed, not yet moved) or cut short. A whole one becomes the log; one cut
// short (or empty) can name nothing beyond the work directory the run made for
// it, so it goes, and the work directory with it when nothing else is there.
// A work directory with no log and nothing in it is what a run stopped before
// its log's first write leaves: it goes too.
#include <string>

#include "platform/Platform.h"

namespace kalvora {

enum class FirstLogWrite {
  None,    // no such remains: the log is read (or missed) as it is
  TakenUp, // the whole first write is now the log
  Removed, // the remains of a write cut short are gone
};

FirstLogWrite settleFirstLogWrite(Platform& platform, const std::string& logPath, const std::string& windowsDir);

} // namespace kalvora
