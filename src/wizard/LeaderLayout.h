#pragma once
// The wizard Tleader's frame as data: picture, separator, buttons and the six
// page panels, and its narrowing when there is no wizard picture.
#include <array>

#include "model/Geometry.h"

namespace kalvora {

inline constexpr const char* kPageNames[6] = {"Ebn_welcome",    "Ebn_folder",   "Ebn_configuration",
                                              "Ebn_components", "Ebn_prggroup", "Ebn_start"};

struct LeaderLayout {
  int clientWidth = 461, clientHeight = 310;
  Rect Img_Setup{8, 4, 120, 259};
  Rect strich{137, 257, 316, 9};
  Rect Btn_back{170, 278, 75, 25};
  Rect Btn_weiter{246, 278, 75, 25};
  Rect Btn_exit{370, 278, 85, 25};
  std::array<Rect, 6> pages{{{154, 8, 300, 241},
                             {154, 8, 297, 241},
                             {154, 8, 300, 241},
                             {154, 8, 300, 241},
                             {154, 8, 297, 241},
                             {154, 8, 297, 241}}};
};

// Without a wizard picture the buttons and pages move 150 pixels to the left,
// the separator 117, and the dialog becomes 150 pixels narrower.
void narrowWithoutWizardPicture(LeaderLayout& layout);

} // namespace kalvora
