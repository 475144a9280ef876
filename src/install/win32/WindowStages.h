#pragma once
// The stages of the installation run that setup.exe plugs in. The file
// associations, the program group and the system changes are not built yet:
// the run passes their places without changing anything. The completion
// dialog is shown modally, still without its contents.
#include "install/RunStages.h"
#include "install/SystemChanges.h"
#include "install/win32/CompleteDialog.h"

namespace kalvora {

class WindowStages : public RunStages {
public:
  explicit WindowStages(CompleteDialog& Tcomplete) : Tcomplete_(Tcomplete) {}
  void associations(RunContext&) override {}
  void programGroup(RunContext&, bool) override {}
  void systemChanges(RunContext& run) override { kalvora::systemChanges(run); }
  void completion(RunContext&) override { Tcomplete_.showModal(); }

private:
  CompleteDialog& Tcomplete_;
};

} // namespace kalvora
