// The system changes of the run taken back: registry and INI entries while they
// still hold what the run wrote (an earlier value is put back where the log
// keeps it), the lines appended to the start-up files, the backups the run
// made, the file associations that still lead to this product, and the
// product's entry in the list of installed programs.
#include <algorithm>

#include "install/FileIdentity.h"
#include "install/PendingRegistration.h"
#include "install/ProgramListEntry.h"
#include "install/RegistryChanges.h"
#include "install/ScriptPaths.h"
#include "platform/IniText.h"
#include "platform/NoCase.h"
#include "script/WorkFiles.h"
#include "uninstall/FileRewrite.h"
#include "uninstall/Removal.h"
#include "uninstall/RemovalPaths.h"

namespace kalvora {
namespace {

const char* const kAutoexec = "C:\\autoexec.bat";
const char* const kConfigSys = "C:\\config.sys";

std::string keyWithoutLeadingSeparator(const std::string& keyPath) {
  const std::size_t start = keyPath.find_first_not_of('\\');
  return start == std::string::npos ? std::string() : keyPath.substr(start);
}

// A key as the reports name it: "HKCU\Software\...".
std::string keyLabel(RegistryRoot root, std::string_view key) {
  const char* rootName = root == RegistryRoot::ClassesRoot   ? "HKCR\\"
                         : root == RegistryRoot::CurrentUser ? "HKCU\\"
                                                             : "HKLM\\";
  return std::string(rootName).append(key);
}

// A value as the reports name it: the key and the value's name in quotes.
std::string valueLabel(RegistryRoot root, const std::string& key, const std::string& name) {
  return keyLabel(root, key) + " \"" + name + "\"";
}

std::optional<std::string> wholeFile(Platform& platform, const std::string& path) {
  auto file = platform.openFile(path, OpenMode::ReadExclusive);
  if (!file) return std::nullopt;
  std::string text(static_cast<std::size_t>(std::max<std::int64_t>(0, file->size())), '\0');
  if (file->read(text.data(), text.size()) != text.size()) return std::nullopt;
  return text;
}

} // namespace

std::string Removal::windowsFile(const std::string& path) const {
  // A name without a directory is a file of the Windows directory, as for the INI calls.
  return path.find_first_of("\\/:") == std::string::npos ? windowsDir_ + "\\" + path : path;
}

void Removal::restoreOrDeleteValue(RegistryRoot root, const std::string& key, const std::string& name,
                                   const std::optional<std::string>& before) {
  const std::string label = valueLabel(root, key, name);
  if (before) {
    if (platform_.writeRegistryString(root, key, name, *before))
      report_.removed("registry value", label + " (the earlier value is back)");
    else
      report_.left("registry value", label, "the earlier value cannot be written back");
  } else if (platform_.deleteRegistryValue(root, key, name)) {
    report_.removed("registry value", label);
  } else {
    report_.left("registry value", label, "access denied");
  }
}

void Removal::deleteEmptyKeys(RegistryRoot root, const std::string& keyPath, const std::string& outermost) {
  const std::string key = keyWithoutLeadingSeparator(keyPath), top = keyWithoutLeadingSeparator(outermost);
  const std::string k = lowerCase(key), t = lowerCase(top);
  if (t.empty() || (k != t && k.rfind(t + "\\", 0) != 0)) {
    report_.left("registry key", keyLabel(root, top), "not a parent of " + key);
    return;
  }
  for (std::string at = key;; at = containingDirectory(at)) {
    // A key the run never came to make (it stopped first) is no matter.
    if (!platform_.registryKeyExists(root, at)) {
      if (at.size() <= top.size()) return;
      continue;
    }
    if (!platform_.deleteEmptyRegistryKey(root, at)) {
      report_.note("kept", keyLabel(root, at) + " holds further values or keys");
      return;
    }
    report_.removed("registry key", keyLabel(root, at));
    if (at.size() <= top.size()) return;
  }
}

bool Removal::takeBackValue(RegistryRoot root, const std::string& key, const std::string& name,
                            const std::string& written, const std::optional<std::string>& before) {
  const std::string label = valueLabel(root, key, name);
  const auto current = platform_.readRegistryString(root, key, name);
  if (!current) {
    report_.note("absent", label);
  } else if (*current == written) {
    restoreOrDeleteValue(root, key, name, before);
  } else if (before && *current == *before) {
    // The run stopped between its record and the write.
    report_.note("as before", label);
  } else {
    changedByUser("registry value", label);
    return false;
  }
  return true;
}

void Removal::changedByUser(const std::string& kind, const std::string& what) {
  report_.leftToOthers(kind, what, "changed since the installation");
}

void Removal::registryEntries() {
  if (records_.registry.empty()) return;
  if (!records_.removeRegistry) {
    report_.note("kept", "registry entries: the product keeps them");
    return;
  }
  for (auto e = records_.registry.rbegin(); e != records_.registry.rend(); ++e)
    if (e->root >= 1 && e->root <= 3) registryEntry(*e);
}

void Removal::registryEntry(const LoggedRegistryEntry& e) {
  const RegistryRoot root = e.root == 1   ? RegistryRoot::ClassesRoot
                            : e.root == 2 ? RegistryRoot::CurrentUser
                                          : RegistryRoot::LocalMachine;
  const std::string key = keyWithoutLeadingSeparator(e.keyPath);
  if (key.empty()) return report_.left("entry", keyLabel(root, ""), "no key path");
  // On the machine root an empty value made only the key.
  if (!(e.root == 3 && e.data.empty())) {
    if (!e.valueName) {
      if (e.newKey.empty())
        return report_.left("registry value", keyLabel(root, key), "the log does not name the value");
      // The value is named before it is written: the run stopped before it, and the key it made goes when empty.
      return deleteEmptyKeys(root, key, e.newKey);
    }
    if (!takeBackValue(root, key, *e.valueName, e.data, e.before)) return;
  }
  if (!e.newKey.empty()) deleteEmptyKeys(root, key, e.newKey);
}

void Removal::iniFiles() {
  for (auto file = records_.iniFiles.rbegin(); file != records_.iniFiles.rend(); ++file) {
    const std::string path = file->path.empty() ? std::string() : windowsFile(file->path);
    if (path.empty()) {
      if (!file->entries.empty()) report_.left("INI entries", "of a file", "the log does not name the file");
    } else if (!platform_.fileExists(path)) {
      report_.note("absent", path);
    } else {
      iniEntries(path, *file);
    }
    if (file->backup.empty()) continue;
    if (!path.empty() && samePath(containingDirectory(file->backup), containingDirectory(path)) &&
        !samePath(file->backup, path))
      removeFile("backup", file->backup);
    else
      report_.left("entry", file->backup, "not beside its INI file");
  }
}

// The entries are taken back in the file's text, which is then written beside
// and moved over the file in one step: the file is never left cut short.
// A file that holds its bytes from before the run again gets its time from
// before back; one that differs (the user's own changes) keeps its time.
void Removal::restoreEarlierTime(const std::string& path, const std::string& earlier) {
  const auto fields = [](const std::string& identity) {
    const auto first = identity.find(' '), last = identity.rfind(' ');
    return std::make_pair(identity.substr(0, first) + identity.substr(last),
                          identity.substr(first + 1, last - first - 1));
  };
  const std::optional<std::string> now = fileIdentity(platform_, path);
  if (earlier.empty() || !now || earlier.find(' ') == earlier.rfind(' ')) return;
  const auto [content, time] = fields(earlier);
  if (fields(*now).first != content || time.size() != 8 ||
      time.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    return;
  platform_.setFileDosTime(path, static_cast<std::uint32_t>(std::stoul(time, nullptr, 16)));
}

void Removal::iniEntries(const std::string& path, const LoggedIniFile& file) {
  const auto text = wholeFile(platform_, path);
  if (!text) return report_.left("INI file", path, "cannot be read");
  std::string edited = *text;
  std::vector<std::string> taken;
  for (auto e = file.entries.rbegin(); e != file.entries.rend(); ++e) {
    const std::string label = path + " [" + e->section + "] " + e->key;
    const std::string current = iniRead(edited, e->section, e->key, kAbsentValue);
    if (current == kAbsentValue) {
      report_.note("absent", label);
    } else if (current != e->value) {
      if (e->before && current == *e->before)
        report_.note("as before", label); // the run stopped between its record and the write
      else
        changedByUser("INI entry", label);
    } else {
      edited = e->before ? iniWrite(edited, e->section, e->key, *e->before) : iniDelete(edited, e->section, e->key);
      taken.push_back(label + (e->before ? " (the earlier value is back)" : ""));
    }
  }
  for (const LoggedIniEntry& e : file.entries)
    if (e.newSection) edited = iniDeleteEmptySection(edited, e.section);
  // A file of the product's own (made by the run, or below the target) that
  // now holds nothing goes with the product.
  const bool own = file.newFile || partBelow(path, target_);
  if (own && !iniHasEntries(edited)) {
    removeFile("INI file", path);
    if (platform_.fileExists(path)) return;
    for (const std::string& entry : taken)
      report_.removed("INI entry", entry);
    noteDirectories(containingDirectory(path));
    // The directories made for it, innermost first, each only when empty.
    if (isDriveDirectory(file.newDir) && partBelow(path, file.newDir))
      for (std::string dir = containingDirectory(path); !dir.empty(); dir = containingDirectory(dir)) {
        // The target's own go with it; the Windows directory is never the run's.
        if (partBelow(dir, target_) || samePath(dir, target_) || samePath(dir, windowsDir_)) break;
        removeDirectoryIfEmpty(dir);
        if (samePath(dir, file.newDir)) break;
      }
    return;
  }
  const bool written = edited == *text || rewriteFile(platform_, path, edited);
  if (written) restoreEarlierTime(path, file.earlier);
  for (const std::string& entry : taken)
    if (written)
      report_.removed("INI entry", entry);
    else
      report_.left("INI entry", entry, "the file cannot be written");
}

namespace {

// The text the run appends for lines: an empty line before each.
std::string appendedText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    if (!line.empty()) text += "\r\n" + line + "\r\n";
  return text;
}

// Cuts text back where the run began appending when all that follows there is
// what it appended, whole, cut short or not at all; whether anything was cut.
// None when the log does not say where that was or the file has changed since:
// the lines are then looked for one by one.
std::optional<bool> cutBackAppended(const StartupFileChanges& changes, std::string& text) {
  if (!changes.appendedAt || *changes.appendedAt > static_cast<std::int64_t>(text.size())) return std::nullopt;
  const auto at = static_cast<std::size_t>(*changes.appendedAt);
  const std::string appended = appendedText(changes.lines);
  if (text.size() - at > appended.size() || appended.compare(0, text.size() - at, text, at) != 0) return std::nullopt;
  const bool any = text.size() > at;
  text.resize(at);
  return any;
}

} // namespace

void Removal::startupFiles() {
  const std::pair<const char*, const StartupFileChanges*> files[] = {{kConfigSys, &records_.configSys},
                                                                     {kAutoexec, &records_.autoexec}};
  for (const auto& [path, changes] : files) {
    std::vector<std::string> taken;
    std::optional<std::string> text;
    if (!changes->lines.empty() && !(text = wholeFile(platform_, path))) report_.note("absent", path);
    const std::optional<bool> cut = text ? cutBackAppended(*changes, *text) : std::nullopt;
    if (cut == false) {
      report_.note("absent", std::string(path) + ": the lines were never appended");
    } else if (cut) {
      for (const std::string& line : changes->lines)
        if (!line.empty()) taken.push_back(line);
    } else {
      for (auto line = changes->lines.rbegin(); text && line != changes->lines.rend(); ++line) {
        if (line->empty()) continue;
        // The run wrote an empty line and then the line itself.
        const std::string piece = "\r\n" + *line + "\r\n";
        const auto at = text->rfind(piece);
        if (at == std::string::npos) {
          report_.left("start-up line", std::string(path) + ": " + *line, "no longer in the file");
          continue;
        }
        text->erase(at, piece.size());
        taken.push_back(*line);
      }
    }
    if (!taken.empty()) {
      const bool written = rewriteFile(platform_, path, *text);
      for (const std::string& line : taken)
        if (written)
          report_.removed("start-up line", std::string(path) + ": " + line);
        else
          report_.left("start-up line", std::string(path) + ": " + line, "the file cannot be written");
    }
    const std::string& backup = changes->backup;
    if (backup.empty()) continue;
    // A file in C:\, never the start-up files themselves (which hold what they hold).
    const std::string name = fileNamePart(backup);
    if (!samePath(containingDirectory(backup), "C:") || samePath(name, "autoexec.bat") ||
        samePath(name, "config.sys")) {
      report_.left("entry", backup, "not a backup in C:\\");
      continue;
    }
    // The backup is the start-up file as it was before the run, which the file
    // is again now: a file of another content is not that backup (or the only
    // copy left of the start-up file), whatever the log says.
    // A copy cut short (the run stopped while making it) is the start of the file.
    const auto copy = wholeFile(platform_, backup);
    const auto now = wholeFile(platform_, path);
    if (copy && !(now && now->compare(0, copy->size(), *copy) == 0))
      report_.left("backup", backup, std::string("not the same as ") + path);
    else
      removeFile("backup", backup);
  }
}

void Removal::associations() {
  const RegistryRoot classes = RegistryRoot::ClassesRoot;
  for (auto ext = records_.extensions.rbegin(); ext != records_.extensions.rend(); ++ext) {
    if (!isRegistrableExtension(ext->extension)) {
      report_.left("entry", ext->extension, "not a file extension");
      continue;
    }
    const std::string dotKey = "." + ext->extension, className = ext->extension + "autofile";
    const auto type = platform_.readRegistryString(classes, dotKey, "");
    if (type && lowerCase(*type) == lowerCase(className)) {
      restoreOrDeleteValue(classes, dotKey, "", ext->before);
      if (!ext->before) deleteEmptyKeys(classes, dotKey, dotKey);
    } else if (type && !(ext->before && *type == *ext->before)) {
      report_.left("file type", keyLabel(classes, dotKey), "now belongs to another program");
    } else if (!type && !ext->before) {
      deleteEmptyKeys(classes, dotKey, dotKey); // made by a run that stopped before its value
    }
    if (ext->classValues.empty())
      olderClassKey(className);
    else
      classKey(className, ext->classValues);
  }
}

// Each value of the class key is taken back while it holds what the run wrote;
// one that was there before is put back. Keys go only when empty.
void Removal::classKey(const std::string& className, const std::vector<LoggedClassValue>& values) {
  const RegistryRoot classes = RegistryRoot::ClassesRoot;
  for (auto v = values.rbegin(); v != values.rend(); ++v)
    if (v->written) takeBackValue(classes, v->key, "", *v->written, v->before);
  deleteEmptyKeys(classes, className + "\\DefaultIcon", className + "\\DefaultIcon");
  deleteEmptyKeys(classes, className + "\\shell\\open\\command", className);
}

// A log that does not say what the class key held: it goes while it opens
// a program of this installation.
void Removal::olderClassKey(const std::string& className) {
  const std::string targetPrefix = lowerCase(target_ + "\\");
  auto leadsHere = [&](const std::string& command) {
    const std::string c = lowerCase(command);
    if (c.rfind(targetPrefix, 0) == 0) return true;
    return std::any_of(records_.systemFiles.begin(), records_.systemFiles.end(),
                       [&](const LoggedFile& f) { return !f.path.empty() && c.rfind(lowerCase(f.path), 0) == 0; });
  };
  const RegistryRoot classes = RegistryRoot::ClassesRoot;
  const std::string command = className + "\\shell\\open\\command";
  const auto opens = platform_.readRegistryString(classes, command, "");
  if (!opens) return;
  if (!leadsHere(*opens)) return report_.left("file type", keyLabel(classes, className), "now opens another program");
  for (const std::string& key : {command, className + "\\DefaultIcon", className})
    platform_.deleteRegistryValue(classes, key, "");
  deleteEmptyKeys(classes, className + "\\DefaultIcon", className + "\\DefaultIcon");
  deleteEmptyKeys(classes, command, className);
}

void Removal::registration() {
  const std::string& name = records_.productName;
  if (name.empty() || name.find('\\') != std::string::npos) return;
  registrationAt(kUninstallListKey + name, name, {"UninstallString", "DisplayName", "version"});
  // A run stopped before its end left this one; a complete run deleted it.
  registrationAt(pendingRegistrationKey(name), name + kPendingSuffix, {"UninstallString", "DisplayName"});
  // Emptied by a complete run that could not delete the key itself; no product keeps anything there.
  platform_.deleteEmptyRegistryKey(RegistryRoot::LocalMachine, pendingRegistrationKey(name));
  // Made by a run stopped before it wrote the first value: a registration of nothing.
  platform_.deleteEmptyRegistryKey(RegistryRoot::LocalMachine, kUninstallListKey + name);
}

void Removal::registrationAt(const std::string& key, const std::string& name,
                             std::initializer_list<const char*> values) {
  const auto command = platform_.readRegistryString(RegistryRoot::LocalMachine, key, "UninstallString");
  if (!command) return;
  // Another installation of the product may have registered itself since.
  if (!endsWithNoCase(*command, workFilePath(target_, kUninstallLogName))) {
    report_.note("kept", "the registration of " + name + " names another installation");
    return;
  }
  if (retryable_) {
    report_.left("registration", name, "kept so that the removal can be run again");
    return;
  }
  for (const char* value : values)
    platform_.deleteRegistryValue(RegistryRoot::LocalMachine, key, value);
  for (const char* value : kProgramListValues)
    platform_.deleteRegistryValue(RegistryRoot::LocalMachine, key, value);
  if (platform_.deleteEmptyRegistryKey(RegistryRoot::LocalMachine, key))
    report_.removed("registration", name);
  else
    report_.left("registration", "HKLM" + key, "holds further values");
}

} // namespace kalvora
