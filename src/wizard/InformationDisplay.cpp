#include "wizard/InformationDisplay.h"

namespace kalvora {

namespace {

void hideTitles(MainLayout& layout) {
  for (ControlState* c : {&layout.i3, &layout.Lbl_1, &layout.Lbl_2, &layout.Lbl_3, &layout.Lbl1_shadow,
                          &layout.Lbl2_shadow, &layout.Lbl3_shadow})
    c->visible = false;
}

} // namespace

void switchToInformationDisplay(MainLayout& layout, const InstallState& state, bool infoPictureLoaded) {
  const bool noText = state.Setup.InfoText == "_";
  if (infoPictureLoaded) {
    // The picture went into the wide area i2 without a text, else into i4 beside the text.
    (noText ? layout.i2 : layout.i4).visible = true;
    hideTitles(layout);
    layout.Lbl_4.visible = !noText;
  } else if (!noText) {
    hideTitles(layout);
    layout.Lbl_4.visible = true;
  }
}

} // namespace kalvora
