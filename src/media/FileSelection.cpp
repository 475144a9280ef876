#include "media/FileSelection.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "media/AnsiText.h"
#include "media/ScriptKeys.h"
#include "media/VolumePlan.h"
#include "platform/NoCase.h"
#include "platform/Platform.h"
#include "platform/Wildcards.h"
#include "script/SystemRootMarker.h"

namespace kalvora::media {
namespace fs = std::filesystem;
namespace {

bool hasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

std::vector<fs::path> sortedEntries(const fs::path& dir, bool directories) {
  std::vector<fs::path> out;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    const bool isDir = it->is_directory(typeEc) && !it->is_symlink(typeEc);
    const bool isFile = it->is_regular_file(typeEc);
    if (directories ? isDir : isFile) out.push_back(it->path());
  }
  std::sort(out.begin(), out.end(), [](const fs::path& a, const fs::path& b) { return utf8Of(a) < utf8Of(b); });
  return out;
}

class Selector {
public:
  Selector(const Project& p, const std::vector<fs::path>& excluded, Diagnostics& d) : project_(p), diag_(d) {
    for (const auto& e : excluded) {
      std::error_code ec;
      auto canonical = fs::weakly_canonical(e, ec);
      if (!ec && !canonical.empty()) excluded_.push_back(std::move(canonical));
    }
  }

  FileSelection run() {
    selection_.rows = writtenDirectoryRows(project_, diag_);
    for (int k = 1; k <= 7; ++k)
      for (const auto& rule : project_.sources)
        if (rule.option == k) apply(rule);
    return std::move(selection_);
  }

private:
  void apply(const SourceRule& rule) {
    if (rule.directory != 0 && !selection_.row(rule.option, rule.directory)) {
      diag_.error(project_.where(rule.line), "directory " + std::to_string(rule.directory) + " of option " +
                                                 std::to_string(rule.option) + " has no row [directories] d" +
                                                 std::to_string(rule.option) + "_" + std::to_string(rule.directory));
      return;
    }
    std::string pattern = rule.pattern;
    std::replace(pattern.begin(), pattern.end(), '\\', '/');
    bool tree = false;
    if (pattern.ends_with("/**")) {
      pattern.resize(pattern.size() - 3);
      tree = true;
    } else if (pattern.size() > 1 && pattern.ends_with("/")) {
      pattern.pop_back();
      tree = true;
    }
    const fs::path path = project_.resolve(pattern);
    const std::string leaf = utf8Of(path.filename());
    if (hasWildcard(utf8Of(path.parent_path()))) {
      diag_.error(project_.where(rule.line), "wildcards are allowed in the last part of a source path only");
    } else if (!tree && hasWildcard(leaf)) {
      std::size_t matched = 0;
      for (const auto& file : sortedEntries(path.parent_path().empty() ? "." : path.parent_path(), false))
        if (matchesWildcards(leaf, utf8Of(file.filename()))) {
          add(rule, file, rule.directory);
          ++matched;
        }
      if (matched == 0) diag_.error(project_.where(rule.line), "no file matches the source " + utf8Of(path));
    } else {
      std::error_code ec;
      const auto status = fs::status(path, ec);
      if (fs::is_directory(status)) {
        walkTree(rule, path, rule.directory);
      } else if (tree || !fs::is_regular_file(status)) {
        diag_.error(project_.where(rule.line), "missing source " + utf8Of(path));
      } else {
        add(rule, path, rule.directory);
      }
    }
  }

  bool isExcluded(const fs::path& p) const {
    const fs::path c = canonicalOf(p);
    return std::any_of(excluded_.begin(), excluded_.end(), [&](const fs::path& e) { return liesIn(c, e); });
  }

  // Whether an excluded directory lies in (or is) p, existing yet or not.
  bool holdsExcluded(const fs::path& p) const {
    const fs::path c = canonicalOf(p);
    return std::any_of(excluded_.begin(), excluded_.end(), [&](const fs::path& e) { return liesIn(e, c); });
  }

  static fs::path canonicalOf(const fs::path& p) {
    std::error_code ec;
    return fs::weakly_canonical(p, ec);
  }

  // Whether `inside` is `outer` or lies in it, element by element.
  static bool liesIn(const fs::path& inside, const fs::path& outer) {
    return std::mismatch(outer.begin(), outer.end(), inside.begin(), inside.end()).first == outer.end();
  }

  void walkTree(const SourceRule& rule, const fs::path& dir, int directory) {
    if (holdsExcluded(dir) || isExcluded(dir)) {
      diag_.error(project_.where(rule.line), "the source tree " + utf8Of(dir) + " holds the output directory");
      return;
    }
    for (const auto& file : sortedEntries(dir, false))
      add(rule, file, directory);
    for (const auto& sub : sortedEntries(dir, true)) {
      const auto name = ansiName(rule, sub);
      if (!name) continue;
      const int subRow = rowFor(rule.option, directory, *name, rule.line);
      if (subRow > 0) walkTree(rule, sub, subRow);
    }
  }

  std::optional<std::string> ansiName(const SourceRule& rule, const fs::path& p) {
    const auto name = utf8ToAnsi(utf8Of(p.filename()));
    if (!name) {
      diag_.error(utf8Of(p), "the name has characters that Windows-1252 cannot hold (selected on " +
                                 project_.where(rule.line) + ")");
      return std::nullopt;
    }
    if (const auto fault = fileNameFault(*name)) {
      diag_.error(utf8Of(p), *fault + " (selected on " + project_.where(rule.line) + ")");
      return std::nullopt;
    }
    return name;
  }

  // The directory number for a subdirectory of directory `parent`: an existing
  // row with that value, or a new one after the option's highest number.
  int rowFor(int option, int parent, const std::string& sub, int line) {
    const std::string base = parent == 0 ? "\\" : selection_.row(option, parent)->value;
    const std::string value = base + sub + "\\";
    if (const auto fault = directoryValueFault(value); !fault.empty()) {
      diag_.error(project_.where(line), "the subdirectory " + ansiToUtf8(value) + ": " + fault);
      return -1;
    }
    int highest = 0;
    for (const auto& r : selection_.rows) {
      if (r.option != option) continue;
      if (sameNoCase(r.value, value)) return r.number;
      highest = std::max(highest, r.number);
    }
    selection_.rows.push_back({option, highest + 1, value, line, true});
    return highest + 1;
  }

  void add(const SourceRule& rule, const fs::path& source, int directory) {
    const auto name = ansiName(rule, source);
    if (!name) return;
    if (isExcluded(source)) {
      diag_.error(project_.where(rule.line), "the source " + utf8Of(source) + " lies in the output directory");
      return;
    }
    std::error_code ec;
    const auto size = fs::file_size(source, ec);
    if (ec) {
      diag_.error(utf8Of(source), "cannot read the file: " + ec.message());
      return;
    }
    if (size > static_cast<std::uintmax_t>(kMaxInt32)) {
      diag_.error(utf8Of(source), "the file has " + std::to_string(size) +
                                      " bytes; the setup program's sizes end at 2147483647 (signed 32 bits)");
      return;
    }
    const std::string dirValue = directory == 0 ? "\\" : selection_.row(rule.option, directory)->value;
    const std::string target = lowerCase(dirValue + *name);
    const auto [it, fresh] = targets_.try_emplace(target, Target{rule.option, source, rule.line});
    if (!fresh && (it->second.option == rule.option || it->second.source != source)) {
      diag_.error(project_.where(rule.line), "two files named " + ansiToUtf8(*name) + " in directory " +
                                                 ansiToUtf8(dirValue) + " (" + utf8Of(it->second.source) +
                                                 " from line " + std::to_string(it->second.line) + ", and " +
                                                 utf8Of(source) + ")");
      return;
    }
    const auto info = systemPlatform().fileInfo(source.string());
    selection_.files.push_back({rule.option, directory, *name, source, static_cast<std::int64_t>(size),
                                info ? info->dosDateTime : 0, rule.line});
  }

  struct Target {
    int option;
    fs::path source;
    int line;
  };

  const Project& project_;
  Diagnostics& diag_;
  std::vector<fs::path> excluded_;
  FileSelection selection_;
  std::map<std::string, Target> targets_;
};

} // namespace

const DirectoryRow* FileSelection::row(int option, int number) const {
  for (const auto& r : rows)
    if (r.option == option && r.number == number) return &r;
  return nullptr;
}

std::string directoryValueFault(const std::string& value) {
  std::string rest = value;
  if (startsWithSystemRoot(value)) {
    rest = value.substr(kSystemRootMarker.size());
    if (rest.size() > kKeptForFiles)
      return "after %SystemRoot% the setup program keeps only 30 characters, and this has " +
             std::to_string(rest.size());
  }
  if (rest.find('%') != std::string::npos) return "\"%\" may only stand in the marker %SystemRoot% at the start";
  if (rest.empty() || rest.front() != '\\' || rest.back() != '\\')
    return "a directory must begin and end with \"\\\" (the file name is appended to it)";
  const std::string inner = rest.size() > 1 ? rest.substr(1, rest.size() - 2) : "";
  std::size_t start = 0;
  while (!inner.empty() && start <= inner.size()) {
    const auto end = std::min(inner.find('\\', start), inner.size());
    if (const auto fault = fileNameFault(inner.substr(start, end - start)))
      return "the part \"" + inner.substr(start, end - start) + "\": " + *fault;
    start = end + 1;
  }
  return "";
}

std::vector<DirectoryRow> writtenDirectoryRows(const Project& project, Diagnostics& diag) {
  std::vector<DirectoryRow> rows;
  const ScriptSection* dirs = project.section("directories");
  if (!dirs) return rows;
  for (const auto& e : dirs->entries) {
    const auto underscore = e.key.find('_');
    if (e.key.size() < 4 || (e.key[0] != 'd' && e.key[0] != 'D') || underscore == std::string::npos) continue;
    const auto option = plainNumber(e.key.substr(1, underscore - 1));
    const auto number = plainNumber(e.key.substr(underscore + 1));
    if (!option || !number || *option < 1 || *option > 7 || *number < 1) continue;
    if (const auto fault = directoryValueFault(e.value); !fault.empty())
      diag.error(project.where(e.line), e.key + "=" + ansiToUtf8(e.value) + ": " + fault);
    rows.push_back({static_cast<int>(*option), static_cast<int>(*number), e.value, e.line, false});
  }
  return rows;
}

FileSelection selectFiles(const Project& project, const std::vector<fs::path>& excluded, Diagnostics& diag) {
  return Selector(project, excluded, diag).run();
}

} // namespace kalvora::media
