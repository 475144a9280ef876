#pragma once
// A window that others show modally without knowing what it is: the program's
// assembly hands each window the dialogs it opens.
namespace kalvora {

class ModalWindow {
public:
  // Shows the window in front of the others; returns when it has closed.
  virtual void showModal() = 0;

protected:
  ~ModalWindow() = default;
};

} // namespace kalvora
