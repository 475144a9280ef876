#pragma once
// Paths that the script names below the target or Windows directory: they are
// appended to a root as written, so a value that could leave the root (a ".."
// part, a drive, a missing leading backslash) is refused before anything is
// created or written.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Errors.h"

namespace kalvora {

// "Ungültiger Pfad in setup.inf: %s"
class EUnsafeScriptPath : public Exception {
public:
  explicit EUnsafeScriptPath(const std::string& path);
};

// True when root + relative stays below root: relative begins with a backslash
// and stays inside the root (platform/Paths).
bool staysBelowRoot(const std::string& relative);
// EUnsafeScriptPath unless staysBelowRoot.
Status requireBelowRoot(const std::string& relative);

// "Ungültiger Wert in setup.inf: %s", for a value no installation can use.
class EInvalidScriptValue : public Exception {
public:
  explicit EInvalidScriptValue(const std::string& what);
};

// A name Windows can give one file in a directory: not empty, no separator,
// drive colon, wildcard or control character, not dots alone, and no device
// (CON, NUL, COM1, ...; "con.txt" is the device too).
bool isPlainFileName(const std::string& name);
// A directory value of the script: stays below its root, no empty part inside
// (a "\\server" in the middle) and every part a plain name.
bool isPlainDirectoryValue(const std::string& relative);
// A backup name of a DOS start-up file: a plain name in C:\ that is neither start-up file.
bool isDosBackupName(const std::string& name);

// The text after the last "\" or ":".
std::string fileNamePart(const std::string& path);
// Everything before the last "\" or ":" (empty when there is none).
std::string containingDirectory(const std::string& path);
// A script or log key: prefix followed by the number in decimal ("f12").
std::string numberedKey(std::string_view prefix, std::int64_t number);

// Whether text can be registered as a file extension: not empty and without a
// backslash, which would make the registry path name some other key.
bool isRegistrableExtension(const std::string& extension);

} // namespace kalvora
