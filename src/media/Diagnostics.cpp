#include "media/Diagnostics.h"

#include <algorithm>

namespace kalvora::media {

std::string Diagnostic::text() const {
  const char* kind = level == Level::Error ? "error" : "warning";
  return where.empty() ? std::string(kind) + ": " + message : where + ": " + kind + ": " + message;
}

void Diagnostics::error(const std::string& where, const std::string& message) {
  list_.push_back({Diagnostic::Level::Error, where, message});
}

void Diagnostics::warning(const std::string& where, const std::string& message) {
  list_.push_back({Diagnostic::Level::Warning, where, message});
}

bool Diagnostics::hasErrors() const {
  return std::any_of(list_.begin(), list_.end(),
                     [](const Diagnostic& d) { return d.level == Diagnostic::Level::Error; });
}

namespace {
std::string firstError(const std::vector<Diagnostic>& list) {
  for (const auto& d : list)
    if (d.level == Diagnostic::Level::Error) return d.text();
  return "build failed";
}
} // namespace

BuildFailed::BuildFailed(std::vector<Diagnostic> diagnostics)
    : std::runtime_error(firstError(diagnostics)), diagnostics_(std::move(diagnostics)) {}

} // namespace kalvora::media
