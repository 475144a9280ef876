#pragma once
// The stages of the installation run that setup.exe plugs in. The program
// group is not built yet: the run passes its place without changing anything.
#include "install/AssociationStage.h"
#include "install/RunStages.h"
#include "install/SystemChanges.h"
#include "install/win32/CompleteDialog.h"

namespace kalvora {

class WindowStages : public RunStages {
public:
  explicit WindowStages(CompleteDialog& Tcomplete) : Tcomplete_(Tcomplete) {}
  void associations(RunContext& run) override { associationStage(run); }
  // The group's commands are built (programGroupStage) but not yet sent from
  // here: the DDE conversation with the shell still hangs under Wine.
  void programGroup(RunContext&, bool) override {}
  void systemChanges(RunContext& run) override { kalvora::systemChanges(run); }
  void completion(RunContext& run) override { Tcomplete_.showModalFor(run.SetupCopy); }

private:
  CompleteDialog& Tcomplete_;
};

} // namespace kalvora
