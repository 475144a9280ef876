#pragma once
// What a modal dialog's logic asks of its window besides showing its model.
namespace kalvora {

class DialogHost {
public:
  virtual ~DialogHost() = default;
  virtual void closeDialog() = 0; // ends the modal show
  // Shows what changed in the model before messages are processed within a handler.
  virtual void refresh() {}
};

} // namespace kalvora
