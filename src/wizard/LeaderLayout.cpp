#include "wizard/LeaderLayout.h"

namespace kalvora {

void narrowWithoutWizardPicture(LeaderLayout& layout) {
  constexpr int kShift = 150, kSeparatorShift = 117;
  layout.Btn_back.left -= kShift;
  layout.Btn_weiter.left -= kShift;
  layout.Btn_exit.left -= kShift;
  for (Rect& page : layout.pages)
    page.left -= kShift;
  layout.strich.left -= kSeparatorShift;
  layout.clientWidth -= kShift;
}

} // namespace kalvora
