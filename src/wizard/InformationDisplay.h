#pragma once
// When the installation starts, the background window turns from its title
// display (logo and title lines) to its information display (information
// picture and text).
#include "model/InstallState.h"
#include "model/MainLayout.h"

namespace kalvora {

// infoPictureLoaded: whether the wizard's creation loaded the information picture.
void switchToInformationDisplay(MainLayout& layout, const InstallState& state, bool infoPictureLoaded);

} // namespace kalvora
