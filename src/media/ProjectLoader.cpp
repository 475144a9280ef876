// Reading a project file: the build sections into settings and source rules,
// every other section as setup.inf text, with each fault named by its line.
#include <fstream>
#include <sstream>

#include "media/AnsiText.h"
#include "media/ProgramSigner.h"
#include "media/Project.h"
#include "media/ScriptKeys.h"
#include "media/VolumePlan.h"
#include "platform/NoCase.h"

namespace kalvora::media {
namespace {

constexpr std::size_t kMaxValue = 1023;

std::optional<MediumKind> mediumNamed(const std::string& v) {
  if (sameNoCase(v, "floppy-1.44")) return MediumKind::Floppy144;
  if (sameNoCase(v, "floppy-1.2")) return MediumKind::Floppy12;
  if (sameNoCase(v, "cd")) return MediumKind::Cd;
  if (sameNoCase(v, "unlimited")) return MediumKind::Unlimited;
  if (sameNoCase(v, "disks")) return MediumKind::Disks;
  if (sameNoCase(v, "directory")) return MediumKind::Directory;
  return std::nullopt;
}

std::optional<bool> yesOrNo(const std::string& v) {
  if (sameNoCase(v, "1") || sameNoCase(v, "yes") || sameNoCase(v, "true")) return true;
  if (sameNoCase(v, "0") || sameNoCase(v, "no") || sameNoCase(v, "false")) return false;
  return std::nullopt;
}

std::optional<Compression> compressionNamed(const std::string& v) {
  if (sameNoCase(v, "none")) return Compression::None;
  if (sameNoCase(v, "rle")) return Compression::Rle;
  if (sameNoCase(v, "lzh")) return Compression::Lzh;
  return std::nullopt;
}

class Loader {
public:
  Loader(Project& p, Diagnostics& d, bool utf8) : project_(p), diag_(d), utf8_(utf8) {}

  void section(const IniSection& s) {
    if (sameNoCase(s.name, "build")) return buildSection(s);
    if (sameNoCase(s.name, "pictures")) return picturesSection(s);
    if (const int k = numberedSection(s.name, "files_"); k >= 0) return filesSection(s, k);
    scriptSection(s);
  }

  void finish() {
    const bool sized = project_.medium == MediumKind::Disks || project_.medium == MediumKind::Directory;
    if (sized && project_.mediumSize <= 0)
      diag_.error(project_.where(mediumLine_),
                  "medium = disks or directory needs medium_size (bytes per " +
                      std::string(project_.medium == MediumKind::Disks ? "disk" : "volume") + ")");
    if (!sized && mediumSizeLine_ != 0)
      diag_.error(project_.where(mediumSizeLine_), "medium_size applies only to medium = disks or directory");
  }

private:
  std::string at(int line) const { return project_.where(line); }

  void buildSection(const IniSection& s) {
    for (const auto& e : s.entries) {
      const std::string& v = e.value;
      if (sameNoCase(e.key, "medium")) {
        mediumLine_ = e.line;
        if (auto m = mediumNamed(v))
          project_.medium = *m;
        else
          diag_.error(at(e.line),
                      "unknown medium \"" + v + "\"; use floppy-1.44, floppy-1.2, cd, unlimited, disks or directory");
      } else if (sameNoCase(e.key, "medium_size")) {
        mediumSizeLine_ = e.line;
        const auto n = plainNumber(v);
        if (!n || *n <= 0 || *n > kMaxInt32)
          diag_.error(at(e.line), "medium_size must be a number of bytes from 1 to 2147483647");
        else
          project_.mediumSize = *n;
      } else if (sameNoCase(e.key, "compression")) {
        if (auto c = compressionNamed(v))
          project_.compression = *c;
        else
          diag_.error(at(e.line), "unknown compression \"" + v + "\"; use none, rle or lzh");
      } else if (sameNoCase(e.key, "language")) {
        if (auto l = textLanguageNamed(v))
          project_.language = *l;
        else
          diag_.error(at(e.line), "unknown language \"" + v + "\"; use " + textLanguageList());
      } else if (sameNoCase(e.key, "strict")) {
        if (auto b = yesOrNo(v))
          project_.strict = *b;
        else
          diag_.error(at(e.line), "strict is yes or no, not \"" + v + "\"");
      } else if (sameNoCase(e.key, "sign")) {
        if (const std::string fault = signCommandFault(v); !fault.empty())
          diag_.error(at(e.line), fault);
        else
          project_.sign = Located{v, e.line};
      } else if (auto* slot = pathKey(e.key)) {
        if (v.empty())
          diag_.error(at(e.line), e.key + " needs a path");
        else
          *slot = Located{v, e.line};
      } else {
        diag_.error(at(e.line), "unknown key \"" + e.key + "\" in [build]");
      }
    }
  }

  std::optional<Located>* pathKey(const std::string& key) {
    if (sameNoCase(key, "output")) return &project_.output;
    if (sameNoCase(key, "setup_exe")) return &project_.setupExe;
    if (sameNoCase(key, "uninstaller")) return &project_.uninstaller;
    if (sameNoCase(key, "readme")) return &project_.readme;
    if (sameNoCase(key, "registry")) return &project_.registry;
    return nullptr;
  }

  void picturesSection(const IniSection& s) {
    for (const auto& e : s.entries) {
      int role = -1;
      for (int r = 0; r < kPictureRoles; ++r)
        if (sameNoCase(e.key, pictureRoleName(static_cast<PictureRole>(r)))) role = r;
      if (role < 0)
        diag_.error(at(e.line), "unknown picture \"" + e.key + "\"; use wizard, info, logo or back");
      else if (e.value.empty())
        diag_.error(at(e.line), "picture " + e.key + " needs a path");
      else
        project_.pictures[static_cast<std::size_t>(role)] = Located{e.value, e.line};
    }
  }

  void filesSection(const IniSection& s, int option) {
    if (option < 1 || option > 7) {
      diag_.error(at(s.line), "[" + s.name + "]: the setup program has options 1 to 7 only");
      return;
    }
    for (const auto& e : s.entries) {
      const auto dir = plainNumber(e.key);
      if (!dir && e.key != "0") {
        diag_.error(at(e.line), "a line of [" + s.name + "] is \"DIRECTORY-NUMBER = SOURCE\"; \"" + e.key +
                                    "\" is no directory number");
        continue;
      }
      if (e.value.empty()) {
        diag_.error(at(e.line), "a source path is missing after \"=\"");
        continue;
      }
      project_.sources.push_back({option, dir ? static_cast<int>(*dir) : 0, e.value, e.line});
    }
  }

  void scriptSection(const IniSection& s) {
    const auto canonical = canonicalSection(s.name);
    if (!canonical) {
      if (numberedSection(s.name, "Option_") == 0 || numberedSection(s.name, "Option_") == 8)
        diag_.error(at(s.line), "[" + s.name + "]: the setup program has options 1 to 7 only");
      else
        diag_.warning(at(s.line), "[" + s.name + "] is not read by the setup program; it is copied as written");
    }
    ScriptSection& out = project_.sectionForWriting(canonical ? *canonical : s.name);
    out.known = canonical.has_value();
    if (out.line == 0) out.line = s.line;
    for (const auto& e : s.entries)
      scriptEntry(out, e);
  }

  void scriptEntry(ScriptSection& out, const IniEntry& e) {
    if (out.known) {
      const KeyStatus status = classifyKey(out.name, e.key);
      if (status == KeyStatus::BadOption) {
        diag_.error(at(e.line), e.key + ": the setup program has options 1 to 7 only");
        return;
      }
      if (status == KeyStatus::Unknown)
        diag_.warning(at(e.line), "[" + out.name + "] " + e.key + " is not read by the setup program; it is copied");
    }
    if (const IniEntry* first = out.find(e.key)) {
      diag_.error(at(e.line), "[" + out.name + "] " + e.key + " is written twice (first on line " +
                                  std::to_string(first->line) + "); the setup program would see only the first");
      return;
    }
    std::string value = e.value;
    if (utf8_) {
      auto ansi = utf8ToAnsi(value);
      if (!ansi) {
        diag_.error(at(e.line), "the value of " + e.key + " has a character that Windows-1252 cannot hold");
        return;
      }
      value = *ansi;
    }
    if (value.size() > kMaxValue)
      diag_.error(at(e.line), "the value of " + e.key + " is " + std::to_string(value.size()) +
                                  " characters long; the setup program reads at most 1023");
    out.entries.push_back({e.key, value, e.line});
  }

  Project& project_;
  Diagnostics& diag_;
  bool utf8_;
  int mediumLine_ = 0;
  int mediumSizeLine_ = 0;
};

} // namespace

const IniEntry* ScriptSection::find(const std::string& key) const {
  for (const auto& e : entries)
    if (sameNoCase(e.key, key)) return &e;
  return nullptr;
}

const ScriptSection* Project::section(const std::string& name) const {
  for (const auto& s : script)
    if (sameNoCase(s.name, name)) return &s;
  return nullptr;
}

ScriptSection& Project::sectionForWriting(const std::string& name) {
  for (auto& s : script)
    if (sameNoCase(s.name, name)) return s;
  script.push_back({name, true, 0, {}});
  return script.back();
}

const IniEntry* Project::entry(const std::string& sectionName, const std::string& key) const {
  const ScriptSection* s = section(sectionName);
  return s ? s->find(key) : nullptr;
}

std::filesystem::path Project::resolve(const std::string& path) const {
  const auto p = pathFromUtf8(path);
  return p.is_absolute() ? p : baseDir / p;
}

const char* pictureRoleName(PictureRole role) {
  switch (role) {
  case kWizardPicture: return "wizard";
  case kInfoPicture: return "info";
  case kLogoPicture: return "logo";
  default: return "back";
  }
}

ScriptKeyName pictureScriptKey(PictureRole role) {
  switch (role) {
  case kWizardPicture: return {"leader", "image"};
  case kInfoPicture: return {"main", "info"};
  case kLogoPicture: return {"main", "logo"};
  default: return {"main", "back"};
  }
}

std::filesystem::path pathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8Of(const std::filesystem::path& path) {
  const std::u8string s = path.generic_u8string();
  return std::string(s.begin(), s.end());
}

Project parseProject(const std::string& text, const std::string& displayName, const std::filesystem::path& baseDir,
                     Diagnostics& diag) {
  Project project;
  project.displayName = displayName;
  project.baseDir = baseDir;
  const IniDocument doc = parseIni(text);
  for (const auto& e : doc.errors)
    diag.error(project.where(e.line), e.message);
  // A project file that is not UTF-8 is taken to be Windows-1252 already.
  Loader loader(project, diag, isValidUtf8(text));
  for (const auto& s : doc.sections)
    loader.section(s);
  loader.finish();
  return project;
}

Project loadProject(const std::string& path, Diagnostics& diag) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  if (!in) {
    diag.error(path, "cannot read the project file");
    return Project{};
  }
  std::ostringstream text;
  text << in.rdbuf();
  const auto file = pathFromUtf8(path);
  Project project = parseProject(text.str(), path, file.parent_path(), diag);
  project.file = file;
  return project;
}

} // namespace kalvora::media
