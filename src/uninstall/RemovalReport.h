#pragma once
// What the uninstaller removed and what it left, and why: each event becomes
// one line of the text log unkalvora.log as it happens, and the lists feed the
// closing summary and the exit code.
#include <string>
#include <string_view>
#include <vector>

#include "install/SetupLog.h"

namespace kalvora {

class RemovalReport {
public:
  explicit RemovalReport(SetupLog& log) : log_(log) {}

  struct Left {
    std::string what, why;
    bool othersOwn = false; // the user's or another product's now: left by design, not a failure
  };

  // Views, as for SetupLog::line: the kinds and reasons are mostly literals.
  void removed(std::string_view kind, std::string_view what);
  void left(std::string_view kind, std::string_view what, std::string_view why);
  // Left because it is no longer only ours (the user added to it or changed
  // it, another product uses it): named in the summary, yet the removal is complete.
  void leftToOthers(std::string_view kind, std::string_view what, std::string_view why);
  // Put back as it was before the run (a replaced file's original); counts as removed.
  void restored(std::string_view kind, std::string_view what);
  // A line for the text log alone: nothing to remove, or nothing that concerns the user.
  void note(std::string_view kind, std::string_view what) { log_.line(kind, what); }

  int removedCount() const { return removed_; }
  const std::vector<Left>& leftItems() const { return left_; }
  // Everything that was ours is gone or back as it was.
  bool complete() const;

private:
  SetupLog& log_;
  int removed_ = 0;
  std::vector<Left> left_;
};

// The closing message: the success text, or the text for what was left
// followed by the items and their reasons (at most maxItems of them).
std::string summaryText(const RemovalReport& report, const std::string& doneText, const std::string& leftText,
                        const std::string& textLogPath, std::size_t maxItems = 12);

} // namespace kalvora
