#include "uninstall/RemovalReport.h"

namespace kalvora {

namespace {

std::string itemText(std::string_view kind, std::string_view what) {
  return std::string(kind).append(" ").append(what);
}

} // namespace

void RemovalReport::removed(std::string_view kind, std::string_view what) {
  ++removed_;
  log_.line("removed", itemText(kind, what));
}

void RemovalReport::left(std::string_view kind, std::string_view what, std::string_view why) {
  left_.push_back({itemText(kind, what), std::string(why)});
  log_.line("left", left_.back().what + " (" + left_.back().why + ")");
}

void RemovalReport::leftToOthers(std::string_view kind, std::string_view what, std::string_view why) {
  left_.push_back({itemText(kind, what), std::string(why), true});
  log_.line("left", left_.back().what + " (" + left_.back().why + ")");
}

void RemovalReport::restored(std::string_view kind, std::string_view what) {
  ++removed_;
  log_.line("restored", itemText(kind, what));
}

bool RemovalReport::complete() const {
  for (const Left& item : left_)
    if (!item.othersOwn) return false;
  return true;
}

std::string summaryText(const RemovalReport& report, const std::string& doneText, const std::string& leftText,
                        const std::string& textLogPath, std::size_t maxItems) {
  const std::string removed = std::to_string(report.removedCount()) + " items removed.";
  const auto& left = report.leftItems();
  if (left.empty()) return doneText + "\r\r" + removed;
  std::string text = (report.complete() ? doneText : leftText) + "\r\r" + removed + " Left in place:";
  for (std::size_t i = 0; i < left.size() && i < maxItems; ++i)
    text += "\r" + left[i].what + " (" + left[i].why + ")";
  if (left.size() > maxItems) text += "\r... and " + std::to_string(left.size() - maxItems) + " more";
  return text + "\r\rDetails: " + textLogPath;
}

} // namespace kalvora
