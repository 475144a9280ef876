#pragma once
// TextTable: the user-interface texts l1 to l66 of the script's [language] section.
#include <string>

#include "script/SetupScript.h"

namespace kalvora {

class TextTable {
public:
  explicit TextTable(const SetupScript& script) : script_(script) {}
  // The value of key ("l17") in [language], or empty.
  std::string text(const std::string& key) const;
  // The same for key "l" + number.
  std::string text(int number) const;

private:
  const SetupScript& script_;
};

} // namespace kalvora
