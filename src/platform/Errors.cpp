#include "platform/Errors.h"

namespace kalvora {

EFOpenError::EFOpenError(const std::string& path) : Exception("Kann Datei " + path + " nicht öffnen") {}

EFCreateError::EFCreateError(const std::string& path) : Exception("Kann Datei " + path + " nicht erstellen") {}

EReadError::EReadError() : Exception("Stream-Read-Fehler ") {}

EWriteError::EWriteError() : Exception("Stream-Write-Fehler ") {}

EInOutError::EInOutError(int code) : Exception(inOutErrorText(code)), code_(code) {}

EIniFileException::EIniFileException(const std::string& path) : Exception("Kann nicht nach " + path + " schreiben") {}

std::string inOutErrorText(int code) {
  switch (code) {
  case 2: return "Datei nicht gefunden";
  case 3: return "Ungültiger Dateiname";
  case 4: return "Zu viele geöffnete Dateien";
  case 5: return "Dateizugriff verweigert";
  case 100: return "Dateiende erreicht";
  case 101: return "Kapazität der Diskette/Festplatte erschöpft";
  default: return "E/A-Fehler " + std::to_string(code);
  }
}

} // namespace kalvora
