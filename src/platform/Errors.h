#pragma once
// The common exception base and the run-time errors of the file and stream
// layer. Texts are the run-time's German ones, which users of the original
// product know; they are held as UTF-8.
#include <exception>
#include <string>
#include <utility>

namespace kalvora {

// Holds its text itself rather than deriving from std::runtime_error, whose
// reference-counted string code would otherwise come into the Windows programs.
class Exception : public std::exception {
public:
  explicit Exception(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }

private:
  std::string text_;
};

// "Kann Datei %s nicht öffnen"
class EFOpenError : public Exception {
public:
  explicit EFOpenError(const std::string& path);
};

// "Kann Datei %s nicht erstellen"
class EFCreateError : public Exception {
public:
  explicit EFCreateError(const std::string& path);
};

// "Stream-Read-Fehler "
class EReadError : public Exception {
public:
  EReadError();
};

// "Stream-Write-Fehler "
class EWriteError : public Exception {
public:
  EWriteError();
};

// An input/output error of the run-time with its code, e.g. 5 "Dateizugriff verweigert".
class EInOutError : public Exception {
public:
  explicit EInOutError(int code);
  int code() const { return code_; }

private:
  int code_;
};

// A refused INI write: "Kann nicht nach %s schreiben".
class EIniFileException : public Exception {
public:
  explicit EIniFileException(const std::string& path);
};

// The run-time's text for an input/output error code.
std::string inOutErrorText(int code);

} // namespace kalvora
