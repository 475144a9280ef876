#pragma once
// The outcome of an operation as text, for tests: empty for success, else the
// error's text, which tells its kind (compare with e.g. EBadChecksum().what()).
#include <string>

#include "platform/Errors.h"

namespace kalvora::test {

inline std::string errorOf(const Status& status) { return status.ok() ? std::string() : status.error().what(); }

template <typename T> std::string errorOf(const Result<T>& result) {
  return result.ok() ? std::string() : result.error().what();
}

} // namespace kalvora::test
