#include "uninstall/UninstallRecords.h"

#include <algorithm>
#include <cctype>

#include "install/ScriptPaths.h"
#include "platform/NoCase.h"
#include "script/SetupScript.h"

namespace kalvora {
namespace {

constexpr int kIniFiles = 4;
// Larger numbers than any run writes are taken as damage, not as entries.
constexpr std::size_t kMaxDigits = 9;

class LogReader {
public:
  LogReader(Platform& platform, const std::string& path) : platform_(platform), log_(path, platform) {}

  // Views, as for SetupScript's reads: sections and keys are mostly literals.
  std::string text(std::string_view section, std::string_view key) const { return log_.ReadString(section, key, ""); }

  // A value that is absent, not merely empty.
  std::optional<std::string> optional(std::string_view section, std::string_view key) const {
    std::string value = log_.ReadString(section, key, kAbsentValue);
    if (value == kAbsentValue) return std::nullopt;
    return value;
  }

  bool flag(std::string_view section, std::string_view key) const { return log_.ReadBool(section, key, false); }

  // The data a value held before the run: a newer log marks whether there was
  // one (had), also when it held what the run wrote; an older one keeps only
  // data that differed.
  std::optional<std::string> before(std::string_view section, std::string_view had, std::string_view old,
                                    std::int64_t n) const {
    const auto mark = optional(section, numberedKey(had, n));
    if (mark && !log_.ReadBool(section, numberedKey(had, n), false)) return std::nullopt;
    const auto data = optional(section, numberedKey(old, n));
    return mark ? data.value_or("") : data;
  }

  std::vector<std::int64_t> numbers(std::string_view section, std::string_view prefix) const {
    return numbersOfKeys(platform_.readProfileKeys(log_.path(), std::string(section)), prefix);
  }

  std::vector<LoggedFile> files(std::string_view section) const {
    std::vector<LoggedFile> files;
    for (std::int64_t n : numbers(section, "f")) {
      LoggedFile file;
      file.path = text(section, numberedKey("f", n));
      file.kept = flag(section, numberedKey("kept", n));
      file.backup = text(section, numberedKey("bak", n));
      file.id = optional(section, numberedKey("id", n));
      // A count that does not read as a number keeps the file: it may be another product's.
      if (const auto count = optional(section, numberedKey("count", n)))
        file.sharedCount = parseScriptInteger(*count).value_or(1);
      file.hadSharedCount = flag(section, numberedKey("hadcount", n));
      files.push_back(file);
    }
    return files;
  }

  std::vector<std::string> list(std::string_view section, std::string_view prefix) const {
    std::vector<std::string> values;
    for (std::int64_t n : numbers(section, prefix))
      values.push_back(text(section, numberedKey(prefix, n)));
    return values;
  }

private:
  Platform& platform_;
  SetupScript log_;
};

StartupFileChanges startupChanges(const LogReader& log, std::string_view prefix, std::string_view backupKey) {
  StartupFileChanges changes{log.list("dos", prefix), log.text("dos", backupKey), std::nullopt};
  if (const auto at = log.optional("dos", "pos" + std::string(prefix)))
    if (const auto number = parseScriptInteger(*at); number && *number >= 0) changes.appendedAt = *number;
  return changes;
}

std::vector<LoggedIniFile> iniFiles(const LogReader& log) {
  std::vector<LoggedIniFile> files;
  for (int i = 1; i <= kIniFiles; ++i) {
    const std::string section = numberedKey("ini_", i);
    LoggedIniFile file;
    file.path = log.optional(section, "path").value_or(log.text(section, "name"));
    file.backup = log.text(section, "bkpfile");
    file.newFile = log.flag(section, "newfile");
    file.newDir = log.text(section, "newdir");
    file.earlier = log.text(section, "was");
    for (std::int64_t j : log.numbers(section, "s")) {
      LoggedIniEntry entry{log.text(section, numberedKey("s", j)), log.text(section, numberedKey("k", j)),
                           log.text(section, numberedKey("v", j)), log.before(section, "had", "o", j),
                           log.flag(section, numberedKey("newsec", j))};
      if (!entry.section.empty()) file.entries.push_back(entry);
    }
    if (!file.entries.empty() || !file.backup.empty()) files.push_back(file);
  }
  return files;
}

std::vector<LoggedRegistryEntry> registryEntries(const LogReader& log) {
  std::vector<LoggedRegistryEntry> entries;
  for (std::int64_t i : log.numbers("sysreg", "k")) {
    LoggedRegistryEntry entry;
    entry.root = parseScriptInteger(log.text("sysreg", numberedKey("k", i))).value_or(0);
    entry.keyPath = log.text("sysreg", numberedKey("p", i));
    entry.data = log.text("sysreg", numberedKey("b", i));
    entry.valueName = log.optional("sysreg", numberedKey("e", i));
    entry.before = log.before("sysreg", "had", "o", i);
    entry.newKey = log.text("sysreg", numberedKey("new", i));
    entries.push_back(entry);
  }
  return entries;
}

std::vector<LoggedImport> imports(const LogReader& log) {
  std::vector<LoggedImport> entries;
  for (std::int64_t n : log.numbers("import", "k")) {
    LoggedImport e;
    e.root = parseScriptInteger(log.text("import", numberedKey("k", n))).value_or(0);
    e.keyPath = log.text("import", numberedKey("p", n));
    e.newKey = log.text("import", numberedKey("new", n));
    e.valueName = log.optional("import", numberedKey("e", n));
    e.kind = log.text("import", numberedKey("t", n));
    e.data = log.text("import", numberedKey("b", n));
    e.had = log.flag("import", numberedKey("had", n));
    e.before = log.optional("import", numberedKey("o", n));
    entries.push_back(e);
  }
  return entries;
}

std::vector<LoggedExtension> extensions(const LogReader& log) {
  std::vector<LoggedExtension> extensions;
  for (std::int64_t n : log.numbers("extensions", "e")) {
    LoggedExtension e{log.text("extensions", numberedKey("e", n)), log.before("extensions", "had", "o", n), {}};
    const std::string className = e.extension + "autofile";
    const struct {
      std::string key;
      const char *written, *had, *old;
    } values[] = {{className, "vd", "hd", "od"},
                  {className + "\\DefaultIcon", "vi", "hi", "oi"},
                  {className + "\\shell\\open\\command", "vc", "hc", "oc"}};
    for (const auto& v : values)
      if (auto written = log.optional("extensions", numberedKey(v.written, n)))
        e.classValues.push_back({v.key, written, log.before("extensions", v.had, v.old, n)});
    extensions.push_back(e);
  }
  return extensions;
}

std::vector<LoggedLink> groupLinks(const LogReader& log) {
  std::vector<LoggedLink> links;
  for (std::int64_t n : log.numbers("prggrp", "l")) {
    LoggedLink link{log.text("prggrp", numberedKey("l", n)), std::nullopt, std::nullopt,
                    log.flag("prggrp", numberedKey("had", n))};
    if (auto target = log.optional("prggrp", numberedKey("to", n)))
      link.made = ShellLink{*target, log.text("prggrp", numberedKey("ar", n)), ""};
    if (auto target = log.optional("prggrp", numberedKey("ot", n)))
      link.before =
          ShellLink{*target, log.text("prggrp", numberedKey("oa", n)), log.text("prggrp", numberedKey("ow", n))};
    links.push_back(link);
  }
  return links;
}

} // namespace

std::string UninstallRecords::text(int number) const {
  auto it = texts.find(number);
  return it == texts.end() ? std::string() : it->second;
}

std::vector<std::int64_t> numbersOfKeys(const std::vector<std::string>& keys, std::string_view prefix) {
  std::vector<std::int64_t> numbers;
  for (const std::string& key : keys) {
    if (key.size() <= prefix.size() || key.size() > prefix.size() + kMaxDigits) continue;
    if (!startsWithNoCase(key, prefix)) continue;
    const std::string digits = key.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) continue;
    numbers.push_back(*parseScriptInteger(digits)); // at most nine digits: always a number
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

std::optional<UninstallRecords> readUninstallRecords(Platform& platform, const std::string& logPath) {
  if (!platform.fileExists(logPath)) return std::nullopt;
  const LogReader log(platform, logPath);
  UninstallRecords r;
  r.targetDir = log.text("uninstall", "directory");
  r.newRoot = log.text("uninstall", "newroot");
  r.productName = log.text("uninstall", "name");
  r.ask = log.flag("uninstall", "ask");
  r.complete = log.flag("uninstall", "complete");
  r.readme = log.text("readme", "file");
  r.groupName = log.text("uninstall", "prggrp");
  r.groupFolder = log.text("prggrp", "folder");
  r.groupFolderMade = !log.optional("prggrp", "newfolder") || log.flag("prggrp", "newfolder");
  r.groupLinks = groupLinks(log);
  r.files = log.files("files");
  r.systemFiles = log.files("systemroot");
  r.directories = log.list("directories", "d");
  r.systemDirectories = log.list("systemroot", "d");
  r.extensions = extensions(log);
  r.iniFiles = iniFiles(log);
  r.autoexec = startupChanges(log, "a", "bkpa");
  r.configSys = startupChanges(log, "c", "bkpc");
  r.removeRegistry = log.flag("sysreg", "remove");
  r.registry = registryEntries(log);
  r.imports = imports(log);
  for (int number : {10, 11, 15, 55, 56, 57, 58, 59, 60, 61})
    r.texts[number] = log.text("language", numberedKey("l", number));
  return r;
}

} // namespace kalvora
