#include "media/BuiltinTexts.h"

#include "media/AnsiText.h"
#include "media/ScriptKeys.h"
#include "media/TextSets.h"
#include "platform/NoCase.h"

namespace kalvora::media {
namespace {

struct Text {
  int key;
  const char* english;
  const char* german;
};

// Each text fits where the setup program shows it: captions are short, labels
// fit their fields, messages are whole sentences. l20 is followed by the
// quoted disk number and a full stop; l14 by a blank and a file name; l11 by
// " (F3)". l15 decides the other button of the cancel dialog: a "J" in it
// gives "&nein", so the English text must have none.
const Text kTexts[] = {
    {1, "Setup", "Setup"},
    {2, "The target directory must not contain these characters:",
     "Das Zielverzeichnis darf diese Zeichen nicht enthalten:"},
    {3, "Please correct your entry.", "Bitte korrigieren Sie Ihre Eingabe."},
    {4, "Please enter the target directory with its drive, for example C:\\Programs\\{name}.",
     "Bitte geben Sie das Zielverzeichnis mit Laufwerk an, zum Beispiel C:\\Programme\\{name}."},
    {5, "The target directory must be on a drive from A: to Z:.",
     "Das Zielverzeichnis muss auf einem Laufwerk von A: bis Z: liegen."},
    {6, "The program group name must not contain these characters:",
     "Der Name der Programmgruppe darf diese Zeichen nicht enthalten:"},
    {7, "Windows must be restarted to complete the installation of {name}. Restart Windows now?",
     "Windows muss neu gestartet werden, um die Installation von {name} abzuschließen. Windows jetzt neu starten?"},
    {8, "Please restart Windows before you use {name}.", "Bitte starten Sie Windows neu, bevor Sie {name} verwenden."},
    {9, "Choose a directory", "Verzeichnis wählen"},
    {10, "Please wait...", "Bitte warten..."},
    {11, "Cancel", "Abbrechen"},
    {12, "< &Back", "< &Zurück"},
    {13, "There is not enough free space on the target drive. Please make room or choose another drive.",
     "Auf dem Ziellaufwerk ist nicht genug Platz frei. Bitte schaffen Sie Platz oder wählen Sie ein anderes "
     "Laufwerk."},
    {14, "Copying", "Kopiere"},
    {15, "&Yes", "&Ja"},
    {16, "- not enough free space", "- zu wenig freier Platz"},
    {17, "&Next >", "&Weiter >"},
    {18, "Total progress:", "Gesamtfortschritt:"},
    {19, "Creating directories...", "Verzeichnisse werden angelegt..."},
    {20, "\"Please insert disk \"", "\"Bitte legen Sie Diskette \""},
    {21, "{name} has been installed.", "{name} wurde installiert."},
    {22, "Creating program items...", "Programmsymbole werden angelegt..."},
    {23, "Registering file types...", "Dateitypen werden registriert..."},
    {24, "B&rowse...", "&Durchsuchen..."},
    {25, "Space needed:", "Benötigter Platz:"},
    {26, "Space available:", "Freier Platz:"},
    {27, "Do you really want to cancel the setup of {name}?", "Wollen Sie das Setup von {name} wirklich abbrechen?"},
    {28, "Program group:", "Programmgruppe:"},
    {29, "{name} Setup", "{name} Setup"},
    {30, "{name} Setup - Welcome", "{name} Setup - Willkommen"},
    {31, "{name} Setup - Target directory", "{name} Setup - Zielverzeichnis"},
    {32, "{name} Setup - Setup type", "{name} Setup - Setup-Art"},
    {33, "{name} Setup - Components", "{name} Setup - Komponenten"},
    {34, "{name} Setup - Program group", "{name} Setup - Programmgruppe"},
    {35, "{name} Setup - Start", "{name} Setup - Start"},
    {36, "Welcome! This program installs {name} on your computer.",
     "Willkommen! Dieses Programm installiert {name} auf Ihrem Computer."},
    {37, "Click Next to continue, or Cancel to leave the setup.",
     "Klicken Sie auf Weiter, um fortzufahren, oder auf Abbrechen, um das Setup zu verlassen."},
    {38, "Setup installs {name} into the directory below. To choose another one, enter it or click Browse.",
     "Das Setup installiert {name} in das folgende Verzeichnis. Sie können ein anderes eingeben oder mit "
     "Durchsuchen wählen."},
    {39, "Click Next to continue.", "Klicken Sie auf Weiter, um fortzufahren."},
    {40, "Choose the type of setup:", "Wählen Sie die Art des Setups:"},
    {41, "&Standard", "&Standard"},
    {42, "&Minimal", "&Minimal"},
    {43, "&Custom", "&Benutzerdefiniert"},
    {44, "The usual components of {name}. Recommended for most users.",
     "Die üblichen Komponenten von {name}. Für die meisten Anwender empfohlen."},
    {45, "Only what {name} needs to run. Takes the least disk space.",
     "Nur was {name} zum Betrieb braucht. Belegt den wenigsten Platz."},
    {46, "{name} runs from the CD; only a program group is set up on this computer.",
     "{name} läuft von der CD; auf diesem Computer wird nur eine Programmgruppe eingerichtet."},
    {47, "You choose the components yourself. For experienced users.",
     "Sie wählen die Komponenten selbst. Für erfahrene Anwender."},
    {48, "Choose the components of {name} that you want to install:",
     "Wählen Sie die Komponenten von {name}, die installiert werden sollen:"},
    {49, "Click Next to continue.", "Klicken Sie auf Weiter, um fortzufahren."},
    {50, "Setup adds the program items of {name} to the program group below. You may enter another name.",
     "Das Setup legt die Programmsymbole von {name} in der folgenden Programmgruppe an. Sie können einen "
     "anderen Namen eingeben."},
    {51, "Click Next to continue.", "Klicken Sie auf Weiter, um fortzufahren."},
    {52, "Setup now knows everything it needs to install {name}.",
     "Das Setup hat nun alle Angaben, die es zur Installation von {name} braucht."},
    {53, "Ready to install", "Bereit zur Installation"},
    {54, "Click Next to start the installation.", "Klicken Sie auf Weiter, um die Installation zu starten."},
    {55, "Do you really want to remove {name} and all of its components?",
     "Wollen Sie {name} und alle zugehörigen Komponenten wirklich entfernen?"},
    {56, "Removing {name}...", "{name} wird entfernt..."},
    {57, "Removing files...", "Dateien werden entfernt..."},
    {58, "Removing directories...", "Verzeichnisse werden entfernt..."},
    {59, "Removing registry entries...", "Registrierungseinträge werden entfernt..."},
    {60, "Some files could not be removed. Please delete them yourself.",
     "Einige Dateien konnten nicht entfernt werden. Bitte löschen Sie diese selbst."},
    {61, "{name} has been removed from your computer.", "{name} wurde von Ihrem Computer entfernt."},
    {63, "A newer version of {name} is already installed on this computer.",
     "Auf diesem Computer ist bereits eine neuere Version von {name} installiert."},
    {64, "This version of {name} is already installed on this computer.",
     "Diese Version von {name} ist auf diesem Computer bereits installiert."},
    {65, "An older version of {name} is installed. Do you want to remove it first?",
     "Eine ältere Version von {name} ist installiert. Wollen Sie diese zuerst entfernen?"},
    {66,
     "An older version of {name} is installed and must be removed first. Click OK to remove it; then start this "
     "setup again.",
     "Eine ältere Version von {name} ist installiert und muss zuerst entfernt werden. Klicken Sie auf OK, um sie "
     "zu entfernen, und starten Sie danach dieses Setup erneut."},
};

struct LanguageEntry {
  TextLanguage language;
  const char* name;
  const KeyedText* texts; // null for English and German, which kTexts holds
};

const LanguageEntry kLanguages[] = {
    {TextLanguage::English, "english", nullptr},
    {TextLanguage::German, "german", nullptr},
    {TextLanguage::French, "french", kFrenchTexts},
    {TextLanguage::Spanish, "spanish", kSpanishTexts},
    {TextLanguage::Italian, "italian", kItalianTexts},
    {TextLanguage::Dutch, "dutch", kDutchTexts},
    {TextLanguage::Portuguese, "portuguese", kPortugueseTexts},
    {TextLanguage::Swedish, "swedish", kSwedishTexts},
    {TextLanguage::Danish, "danish", kDanishTexts},
    {TextLanguage::Norwegian, "norwegian", kNorwegianTexts},
    {TextLanguage::Finnish, "finnish", kFinnishTexts},
};

std::string substitute(std::string text, const std::string& name) {
  for (auto at = text.find("{name}"); at != std::string::npos; at = text.find("{name}", at + name.size()))
    text.replace(at, 6, name);
  return text;
}

} // namespace

std::optional<TextLanguage> textLanguageNamed(const std::string& name) {
  for (const LanguageEntry& l : kLanguages)
    if (sameNoCase(name, l.name)) return l.language;
  if (sameNoCase(name, "deutsch")) return TextLanguage::German;
  if (sameNoCase(name, "none")) return TextLanguage::None;
  return std::nullopt;
}

std::string textLanguageList() {
  std::string list;
  for (const LanguageEntry& l : kLanguages)
    list += std::string(l.name) + ", ";
  return list.substr(0, list.size() - 2) + " or none";
}

std::vector<std::pair<std::string, std::string>> builtinTexts(TextLanguage language, const std::string& productName) {
  std::vector<std::pair<std::string, std::string>> out;
  if (language == TextLanguage::None) return out;
  if (language == TextLanguage::English || language == TextLanguage::German) {
    for (const Text& t : kTexts)
      out.emplace_back(numberedKey("l", t.key),
                       substitute(language == TextLanguage::English ? t.english : t.german, productName));
    return out;
  }
  for (const LanguageEntry& l : kLanguages)
    if (l.language == language)
      for (std::size_t i = 0; i < kTextKeyCount; ++i)
        out.emplace_back(numberedKey("l", l.texts[i].key), substitute(l.texts[i].text, productName));
  return out;
}

} // namespace kalvora::media
