#pragma once
// A step of a scenario that failed: the scenario ends there, naming its line.
#include <stdexcept>

namespace kvdrive {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

} // namespace kvdrive
