#include "uninstall/RemovalReport.h"

namespace kalvora {

void RemovalReport::removed(const std::string& kind, const std::string& what) {
  ++removed_;
  log_.line("removed", kind + " " + what);
}

void RemovalReport::left(const std::string& kind, const std::string& what, const std::string& why) {
  left_.push_back({kind + " " + what, why});
  log_.line("left", kind + " " + what + " (" + why + ")");
}

std::string summaryText(const RemovalReport& report, const std::string& doneText, const std::string& leftText,
                        const std::string& textLogPath, std::size_t maxItems) {
  const std::string removed = std::to_string(report.removedCount()) + " items removed.";
  if (report.complete()) return doneText + "\r\r" + removed;
  std::string text = leftText + "\r\r" + removed + " Left in place:";
  const auto& left = report.leftItems();
  for (std::size_t i = 0; i < left.size() && i < maxItems; ++i)
    text += "\r" + left[i].what + " (" + left[i].why + ")";
  if (left.size() > maxItems) text += "\r... and " + std::to_string(left.size() - maxItems) + " more";
  return text + "\r\rDetails: " + textLogPath;
}

} // namespace kalvora
