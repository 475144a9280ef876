#pragma once
// Stored names come from archives that anyone may have made. Before such a name
// becomes a path on this machine it is checked to stay below the directory it
// is expanded into: no root, no drive, no "..", no device.
#include <optional>
#include <string>

namespace kalvora {

struct StoredNameCheck {
  std::optional<std::string> relativePath; // set when the name is safe
  std::string problem;                     // otherwise why not, e.g. "contains a '..' component"
};

// Maps a stored name ("\" or "/" between directories) to a path relative to the
// expansion directory, with `separator` between its elements.
StoredNameCheck checkStoredName(const std::string& storedName, char separator);

} // namespace kalvora
