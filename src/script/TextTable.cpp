#include "script/TextTable.h"

namespace kalvora {

std::string TextTable::text(const std::string& key) const { return script_.ReadString("language", key, ""); }

std::string TextTable::text(int number) const {
  std::string key = "l";
  key += std::to_string(number);
  return text(key);
}

} // namespace kalvora
