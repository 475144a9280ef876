#pragma once
// A product description: the setup.inf sections the distributor writes, and
// the build sections that say where the files come from and how the medium
// is cut.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "media/BuiltinTexts.h"
#include "media/Diagnostics.h"
#include "media/IniDocument.h"

namespace kalvora::media {

enum class Compression { None, Rle, Lzh };
enum class MediumKind { Floppy144, Floppy12, Cd, Unlimited, Disks, Directory };

struct Located {
  std::string text;
  int line = 0;
};

enum PictureRole { kWizardPicture, kInfoPicture, kLogoPicture, kBackPicture, kPictureRoles };

// One line of a [files_k] section: a source pattern for a directory number.
struct SourceRule {
  int option = 1;
  int directory = 0;
  std::string pattern;
  int line = 0;
};

// A setup.inf section as the project file writes it; values in ANSI.
struct ScriptSection {
  std::string name; // canonical spelling when the setup program knows it
  bool known = true;
  int line = 0;
  std::vector<IniEntry> entries;

  const IniEntry* find(const std::string& key) const;
};

struct Project {
  std::filesystem::path file;
  std::filesystem::path baseDir; // relative paths of the project start here
  std::string displayName;       // the project file as the user named it

  std::optional<Located> output;
  MediumKind medium = MediumKind::Unlimited;
  std::int64_t mediumSize = 0; // bytes per disk (disks) or per volume (directory)
  Compression compression = Compression::Lzh;
  TextLanguage language = TextLanguage::English;
  std::optional<Located> setupExe, uninstaller, readme, registry;
  bool strict = false;         // a medium without setup.exe or its uninstaller is an error
  std::optional<Located> sign; // the command that signs setup.exe and the uninstaller
  std::array<std::optional<Located>, kPictureRoles> pictures;
  std::vector<SourceRule> sources;
  std::vector<ScriptSection> script;

  std::string where(int line) const { return displayName + ":" + std::to_string(line); }
  const ScriptSection* section(const std::string& name) const;
  ScriptSection& sectionForWriting(const std::string& name);
  const IniEntry* entry(const std::string& section, const std::string& key) const;
  // A path of the project, relative to its directory unless absolute.
  std::filesystem::path resolve(const std::string& path) const;
};

// Reads a project file; every fault is reported to diag (nothing is raised).
Project loadProject(const std::string& path, Diagnostics& diag);
// The same over a text already read; baseDir is where relative paths start.
Project parseProject(const std::string& text, const std::string& displayName, const std::filesystem::path& baseDir,
                     Diagnostics& diag);

// The role's name in [pictures] ("wizard", "info", "logo", "back").
const char* pictureRoleName(PictureRole role);

// A key of setup.inf by its section.
struct ScriptKeyName {
  const char* section;
  const char* key;
};
// Where setup.inf names the role's picture: [leader] image, [main] info, logo or back.
ScriptKeyName pictureScriptKey(PictureRole role);

// Paths from and to UTF-8 text, the same on every system.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string utf8Of(const std::filesystem::path& path);

} // namespace kalvora::media
