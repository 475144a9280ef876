#include "EnglishText.h"

#include <regex>

namespace kalvora::tool {
namespace {

struct Translation {
  const char* german; // an ECMAScript pattern over the UTF-8 text
  const char* english;
};

// One row per text of platform/Errors.cpp.
const Translation kTranslations[] = {
    {"Kann Datei (.*) nicht öffnen", "cannot open file $1"},
    {"Kann Datei (.*) nicht erstellen", "cannot create file $1"},
    {"Kann nicht nach (.*) schreiben", "cannot write to $1"},
    {"Stream-Read-Fehler ?", "read error: the data end too early"},
    {"Stream-Write-Fehler ?", "write error: the disk is full or refuses the data"},
    {"Datei nicht gefunden", "file not found"},
    {"Ungültiger Dateiname", "invalid file name"},
    {"Zu viele geöffnete Dateien", "too many open files"},
    {"Dateizugriff verweigert", "access denied"},
    {"Dateiende erreicht", "end of file reached"},
    {"Kapazität der Diskette/Festplatte erschöpft", "the disk is full"},
    {"E/A-Fehler ([0-9]+)", "input/output error $1"},
};

} // namespace

std::string inEnglish(std::string text) {
  // Most messages hold none of these: the patterns are compiled only when one may.
  if (text.find("Kann ") == std::string::npos && text.find("Fehler") == std::string::npos &&
      text.find("Datei") == std::string::npos && text.find("Zu viele") == std::string::npos &&
      text.find("Kapazit") == std::string::npos)
    return text;
  for (const Translation& t : kTranslations)
    text = std::regex_replace(text, std::regex(t.german), t.english);
  return text;
}

} // namespace kalvora::tool
