#include "wizard/WizardTexts.h"

#include "script/TextTable.h"

namespace kalvora {

std::string wizardText(const InstallState& state, int number) {
  const bool readAtStartUp = (number >= 1 && number <= 28) || (number >= 48 && number <= 54);
  if (readAtStartUp) return state.Setup.TextTable[static_cast<std::size_t>(number)];
  if (!state.Setup.SetupScript) return {};
  return TextTable(*state.Setup.SetupScript).text(number);
}

} // namespace kalvora
