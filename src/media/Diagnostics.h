#pragma once
// Errors and warnings of a build or a check, each naming where it arose: a
// line of the project file ("demo.kvp:12") or a path.
#include <stdexcept>
#include <string>
#include <vector>

namespace kalvora::media {

struct Diagnostic {
  enum class Level { Warning, Error };
  Level level = Level::Error;
  std::string where;
  std::string message;

  // "where: error: message" (or "warning:").
  std::string text() const;
};

class Diagnostics {
public:
  void error(const std::string& where, const std::string& message);
  void warning(const std::string& where, const std::string& message);
  bool hasErrors() const;
  const std::vector<Diagnostic>& all() const { return list_; }

private:
  std::vector<Diagnostic> list_;
};

// Raised when a build stops; the diagnostics say why.
class BuildFailed : public std::runtime_error {
public:
  explicit BuildFailed(std::vector<Diagnostic> diagnostics);
  const std::vector<Diagnostic>& diagnostics() const { return diagnostics_; }

private:
  std::vector<Diagnostic> diagnostics_;
};

} // namespace kalvora::media
