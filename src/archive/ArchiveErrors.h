#pragma once
// The archive's error kinds, one class a kind, with fixed English messages.
#include <string>

#include "platform/Errors.h"

namespace kalvora {

class EInvalidHeader : public Exception {
public:
  EInvalidHeader() : Exception("Can't recognize compressed file header") {}
};

class EInvalidHeaderArchiveType : public Exception {
public:
  EInvalidHeaderArchiveType() : Exception("Expand can't handle caSingle archive type in compressed header") {}
};

class EUnrecognizedCompressionMethod : public Exception {
public:
  EUnrecognizedCompressionMethod() : Exception("Unrecognized compression method in header") {}
};

class EBadChecksum : public Exception {
public:
  EBadChecksum() : Exception("Bad checksum during expansion -- data may be invalid") {}
};

class EInvalidKey : public Exception {
public:
  EInvalidKey() : Exception("File locked -- valid key required") {}
};

class EInsufficientDiskSpace : public Exception {
public:
  explicit EInsufficientDiskSpace(const std::string& path) : Exception("Not enough disk space to expand " + path) {}
};

// A relative member name that would lead out of the directory it is expanded
// into ("..", a leading "/", a drive), met when no OnCheckFile handler decides.
class EUnsafeMemberName : public Exception {
public:
  explicit EUnsafeMemberName(const std::string& name) : Exception("Unsafe member name in archive: " + name) {}
};

} // namespace kalvora
