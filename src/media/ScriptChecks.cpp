#include "media/ScriptChecks.h"

#include <array>

#include "media/AnsiText.h"
#include "media/ScriptKeys.h"
#include "media/VolumePlan.h"
#include "platform/NoCase.h"
#include "script/SetupScript.h"

namespace kalvora::media {
namespace {

std::array<int, 8> filesPerOption(const FileSelection& selection) {
  std::array<int, 8> count{};
  for (const auto& f : selection.files)
    ++count[static_cast<std::size_t>(f.option)];
  return count;
}

class Checker {
public:
  Checker(const Project& p, const FileSelection& s, Diagnostics& d)
      : project_(p), selection_(s), diag_(d), count_(filesPerOption(s)) {}

  void run() {
    softwareKeys();
    mediumNames();
    programItems();
    extensions();
    countedLists();
  }

private:
  std::string at(const IniEntry* e) const { return e ? project_.where(e->line) : project_.displayName; }

  void softwareKeys() {
    const IniEntry* name = project_.entry("software", "name");
    if (!name)
      diag_.warning(project_.displayName, "[software] name is missing: the setup registers the product as \"_\" "
                                          "but looks for \"noname\", so it never finds an installed copy");
    else if (name->value.find('\\') != std::string::npos)
      diag_.error(at(name), "[software] name must not contain \"\\\": it names a registry key");
    if (const IniEntry* g = project_.entry("software", "prggrp");
        g && g->value.find_first_of("-/();:,|\"<>") != std::string::npos)
      diag_.warning(at(g), "the program group name holds a character that the setup's wizard refuses");
    bool offered = false;
    for (const char* key : {"o_standard", "o_min", "o_cd", "o_custom"})
      offered = offered || projectBool(project_, "software", key, false);
    if (!offered) diag_.warning(project_.displayName, "[software] offers no configuration (o_standard, o_min, ...)");
    for (int k = 1; k <= 7; ++k) {
      if (count_[static_cast<std::size_t>(k)] == 0 &&
          projectBool(project_, "software", numberedKey("Opt", k, "_standard"), false))
        diag_.warning(project_.displayName, "option " + std::to_string(k) + " is standard but has no files");
    }
  }

  // Keys that name files on the medium come from the build sections.
  void mediumNames() {
    requireCarried({"software", "readme"}, project_.readme.has_value(), "[build] readme");
    for (int r = 0; r < kPictureRoles; ++r) {
      const auto role = static_cast<PictureRole>(r);
      requireCarried(pictureScriptKey(role), project_.pictures[role].has_value(),
                     std::string("[pictures] ") + pictureRoleName(role));
    }
    const bool uninstall = projectBool(project_, "software", "uniyes", true);
    if (!uninstall && project_.uninstaller)
      diag_.warning(project_.where(project_.uninstaller->line), "[software] uniyes=0: the uninstaller is not used");
  }

  void requireCarried(ScriptKeyName name, bool carried, const std::string& source) {
    const IniEntry* e = project_.entry(name.section, name.key);
    if (e && !carried && e->value != "_")
      diag_.error(at(e), std::string("[") + name.section + "] " + name.key +
                             " names a file that the medium does not carry; give its source in " + source);
  }

  // The file number that fi names (a number, or a file name of the option).
  std::optional<int> fileNumber(int option, const IniEntry* f, int defaultNumber) {
    if (!f) return defaultNumber;
    if (const auto n = parseScriptInteger(f->value)) return *n;
    int j = 0;
    for (const auto& file : selection_.files) {
      if (file.option != option) continue;
      ++j;
      if (sameNoCase(file.name, f->value)) return j;
    }
    diag_.error(at(f), f->key + "=" + ansiToUtf8(f->value) + ": option " + std::to_string(option) +
                           " has no file of that name");
    return std::nullopt;
  }

  void checkReference(const std::string& what, const IniEntry* o, const IniEntry* f, int defaultOption,
                      int defaultFile) {
    const auto option = o ? parseScriptInteger(o->value) : std::optional<std::int32_t>(defaultOption);
    if (!option || *option < 1 || *option > 7) {
      diag_.error(at(o ? o : f), what + ": the option must be a number from 1 to 7");
      return;
    }
    const int k = static_cast<int>(*option);
    const auto j = fileNumber(k, f, defaultFile);
    if (!j) return;
    if (*j < 1 || *j > count_[static_cast<std::size_t>(k)])
      diag_.error(at(f ? f : o), what + " names file " + std::to_string(*j) + " of option " + std::to_string(k) +
                                     ", which has " + std::to_string(count_[static_cast<std::size_t>(k)]) + " files");
  }

  void programItems() {
    const ScriptSection* s = project_.section("prggrp");
    if (!s) return;
    const std::int64_t total = projectInteger(project_, "prggrp", "total").value_or(1);
    for (std::int64_t i = 1; i <= total && i <= 999; ++i) {
      const std::string n = std::to_string(i);
      const IniEntry* o = s->find("o" + n);
      const IniEntry* f = s->find("f" + n);
      if (!o && !f && !s->find("p" + n)) continue;
      checkReference("program item " + n, o, f, 1, 1);
    }
  }

  void extensions() {
    const ScriptSection* s = project_.section("extensions");
    if (!s) return;
    const std::int64_t total = projectInteger(project_, "extensions", "total").value_or(150);
    for (std::int64_t i = 1; i <= total && i <= 9999; ++i) {
      const std::string n = std::to_string(i);
      const IniEntry* e = s->find("e" + n);
      if (!e || e->value == "_") continue;
      const IniEntry* o = s->find("o" + n);
      const IniEntry* f = s->find("f" + n);
      if (!o || !f) {
        diag_.error(at(e), "extension " + ansiToUtf8(e->value) + " needs o" + n + " and f" + n +
                               " (the option and file of the program that opens it)");
        continue;
      }
      checkReference("extension " + ansiToUtf8(e->value), o, f, 1, 1);
    }
  }

  // Entries numbered beyond the list's count are never read.
  void countedLists() {
    const struct {
      const char* section;
      const char* prefixes;
      long defaultTotal;
    } lists[] = {{"prggrp", "ofpr", 1}, {"prggrp_run", "pv", 2}, {"extensions", "enof", 150}, {"sysreg", "kpeb", 1}};
    for (const auto& l : lists) {
      const ScriptSection* s = project_.section(l.section);
      if (!s) continue;
      const std::int64_t total = projectInteger(project_, l.section, "total").value_or(l.defaultTotal);
      for (const auto& e : s->entries) {
        if (e.key.size() < 2 ||
            std::string(l.prefixes).find(static_cast<char>(std::tolower(e.key[0]))) == std::string::npos)
          continue;
        const auto n = plainNumber(e.key.substr(1));
        if (n && *n > total)
          diag_.warning(at(&e), std::string("[") + l.section + "] " + e.key + " is never read: total is " +
                                    std::to_string(total) + (s->find("total") ? "" : " (the default)"));
      }
    }
  }

  const Project& project_;
  const FileSelection& selection_;
  Diagnostics& diag_;
  std::array<int, 8> count_;
};

} // namespace

std::optional<std::int64_t> projectInteger(const Project& project, const std::string& section, const std::string& key) {
  const IniEntry* e = project.entry(section, key);
  if (!e) return std::nullopt;
  // Read as the setup program reads it.
  if (const auto v = parseScriptInteger(e->value)) return *v;
  return std::nullopt;
}

bool projectBool(const Project& project, const std::string& section, const std::string& key, bool defaultValue) {
  return projectInteger(project, section, key).value_or(defaultValue ? 1 : 0) != 0;
}

void checkScript(const Project& project, const FileSelection& selection, Diagnostics& diag) {
  Checker(project, selection, diag).run();
}

void checkSizes(const Project& project, const FileSelection& selection, const MediumFacts& facts,
                std::int64_t compressionSize, Diagnostics& diag) {
  std::array<std::int64_t, 8> space{}, stored{};
  for (std::size_t i = 0; i < selection.files.size(); ++i) {
    const auto k = static_cast<std::size_t>(selection.files[i].option);
    space[k] += selection.files[i].size;
    stored[k] += facts.placements[i].storedSize;
  }
  const std::string tooBig = " is beyond the setup program's signed 32-bit range (2147483647)";
  std::int64_t progress = 1;
  for (std::size_t k = 1; k <= 7; ++k) {
    if (space[k] > kMaxInt32)
      diag.error(project.displayName,
                 "option " + std::to_string(k) + " holds " + std::to_string(space[k]) + " bytes, which" + tooBig);
    progress += stored[k];
  }
  if (facts.compression != Compression::None && progress > kMaxInt32)
    diag.error(project.displayName, "the stored bytes of all options (" + std::to_string(progress) +
                                        "), the divisor of the setup's progress bar," + tooBig);
  for (const char* config : {"standard", "min", "custom"}) {
    std::int64_t total = compressionSize;
    for (std::size_t k = 1; k <= 7; ++k)
      if (projectBool(project, "software", numberedKey("Opt", static_cast<long long>(k), "_") + config, false))
        total += space[k];
    if (total > kMaxInt32)
      diag.error(project.displayName, std::string("the ") + config + " configuration needs " + std::to_string(total) +
                                          " bytes, which" + tooBig);
  }
}

} // namespace kalvora::media
