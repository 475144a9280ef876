#pragma once
// The stages of the installation run that setup.exe plugs in.
#include "install/AssociationStage.h"
#include "install/ProgramGroup.h"
#include "install/RunStages.h"
#include "install/SystemChanges.h"
#include "install/win32/CompleteDialog.h"

namespace kalvora {

class WindowStages : public RunStages {
public:
  explicit WindowStages(CompleteDialog& Tcomplete) : Tcomplete_(Tcomplete) {}
  void associations(RunContext& run) override { associationStage(run); }
  void programGroup(RunContext& run, bool fromMedium) override { programGroupStage(run, fromMedium); }
  void systemChanges(RunContext& run) override { kalvora::systemChanges(run); }
  void completion(RunContext& run) override { Tcomplete_.showModalFor(run.SetupCopy); }

private:
  CompleteDialog& Tcomplete_;
};

} // namespace kalvora
