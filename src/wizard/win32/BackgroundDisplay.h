#pragma once
// The background window as the wizard's window uses it: the pictures the
// wizard's creation loads into it, and its turn to the information display.
#include <windows.h>

#include "wizard/PictureLoading.h"

namespace kalvora {

class BackgroundDisplay {
public:
  virtual void sizeInfoArea(int width, int height) = 0;
  // Ownership of the bitmap passes to the window.
  virtual void setPicture(PictureControl control, HBITMAP bitmap) = 0;
  virtual void showInformationDisplay(bool infoPictureLoaded) = 0;

protected:
  ~BackgroundDisplay() = default;
};

} // namespace kalvora
