#pragma once
// The stages of the installation run that plug in here: file associations,
// the program group, the system changes (start-up files, INI and registry
// entries, uninstall registration) and the completion dialog. setup.exe plugs
// in its own (app/win32/WindowStages.h), the tests theirs; the run calls them
// at their place in the sequence.
namespace kalvora {

struct RunContext;

class RunStages {
public:
  virtual ~RunStages() = default;
  // Registers the script's document extensions (left out for a run from the medium).
  // Each returns false when the run is to leave (RunContext).
  virtual bool associations(RunContext& run) = 0;
  // Creates the program group; fromMedium selects the variant for a run from the medium.
  virtual bool programGroup(RunContext& run, bool fromMedium) = 0;
  // Start-up files, INI entries, registry entries and the uninstall registration;
  // closes the uninstall log at its end.
  virtual bool systemChanges(RunContext& run) = 0;
  // Shows the completion dialog modally; returns when it has been closed.
  virtual void completion(RunContext& run) = 0;
};

} // namespace kalvora
