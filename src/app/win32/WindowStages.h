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
  bool associations(RunContext& run) override { return associationStage(run); }
  bool programGroup(RunContext& run, bool fromMedium) override {
    return programGroupStage(run, fromMedium, GroupDelivery::ProgramManager);
  }
  bool systemChanges(RunContext& run) override { return kalvora::systemChanges(run); }
  void completion(RunContext& run) override { Tcomplete_.showModalFor(run.SetupCopy); }

private:
  CompleteDialog& Tcomplete_;
};

} // namespace kalvora
