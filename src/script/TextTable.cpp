#include "script/TextTable.h"

namespace kalvora {

std::string TextTable::text(const std::string& key) const { return script_.ReadString("language", key, ""); }

} // namespace kalvora
