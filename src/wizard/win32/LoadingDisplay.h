#pragma once
// The loading screen as the wizard's creation uses it while the pictures load.
namespace kalvora {

class LoadingDisplay {
public:
  virtual void setLoadingPosition(int position) = 0;
  virtual void hideLoadingScreen() = 0;

protected:
  ~LoadingDisplay() = default;
};

} // namespace kalvora
