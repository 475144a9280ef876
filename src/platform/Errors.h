#pragma once
// The common error base and the run-time errors of the file and stream layer.
// Texts are the run-time's German ones, which users of the original product
// know; they are held as UTF-8.
//
// Errors are values: an operation that can fail returns a Status (or a Result
// with its value), and its caller passes the error on or reports it. The
// programs that travel on a medium are built without exception support, whose
// tables and unwinder would take a third of setup.exe.
#include <exception>
#include <optional>
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

// The outcome of an operation that can fail: success, or the error that ended it.
class [[nodiscard]] Status {
public:
  Status() = default;
  Status(Exception error) : error_(std::move(error)) {} // any error kind, as its text
  bool ok() const { return !error_; }
  const Exception& error() const { return *error_; }

private:
  std::optional<Exception> error_;
};

// A value, or the error that kept the operation from giving one.
template <typename T> class [[nodiscard]] Result {
public:
  Result(T value) : value_(std::move(value)) {}
  Result(Exception error) : error_(std::move(error)) {}
  bool ok() const { return value_.has_value(); }
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  const Exception& error() const { return *error_; }
  Status status() const { return ok() ? Status() : Status(*error_); }

private:
  std::optional<T> value_;
  std::optional<Exception> error_;
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
