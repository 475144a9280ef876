#pragma once
// The tool's side reports errors as exceptions; the libraries below it return
// them (platform/Errors.h). These turn a returned error into a thrown one.
#include <utility>

#include "platform/Errors.h"

namespace kalvora::media {

inline void raiseOnError(const Status& status) {
  if (!status.ok()) throw status.error();
}

template <typename T> T valueOrRaise(Result<T>&& result) {
  if (!result.ok()) throw result.error();
  return std::move(result.value());
}

} // namespace kalvora::media
