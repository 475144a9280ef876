#include "install/RunContext.h"

#include "install/RunProgress.h"

namespace kalvora {

RunContext::RunContext(InstallState& state_, Platform& platform_, InstallView& view_)
    : state(state_), platform(platform_), view(view_), C(platform_) {
  C.MakeDirectories = false;
  C.ExceptionOnFileError = false;
  C.Key = 0;
  TextLog.setClock(platform_);
  C.OnCheckFile = [this](std::string& filepath, TCProcessMode mode) { CCheckFile(filepath, mode); };
  C.OnShowProgress = [this](std::int32_t& percentage) { CShowProgress(percentage); };
}

const std::string& RunContext::text(int number) const {
  static const std::string none;
  if (number < 1 || number > kTextCount) return none;
  return state.Setup.TextTable[static_cast<std::size_t>(number)];
}

int RunContext::clamped(std::int64_t percent) { return clampPercent(percent); }

bool RunContext::fail(const Exception& error) {
  if (!Error) Error = error;
  return false;
}

bool RunContext::succeeded(const Status& status) { return status.ok() || fail(status.error()); }

bool RunContext::stopRequested() {
  // The run may leave here: the log on disk must hold every record so far. A
  // refusal is the run's error, and the run leaves as at a stop.
  if (!flushLog()) return true;
  platform.processMessagesBetweenBlocks();
  return platform.terminated();
}

bool RunContext::log(std::string_view section, std::string_view key, std::string_view value) {
  return succeeded(Log.write(section, key, value));
}

bool RunContext::logInteger(std::string_view section, std::string_view key, std::int64_t value) {
  return succeeded(Log.writeInteger(section, key, value));
}

bool RunContext::logBool(std::string_view section, std::string_view key, bool value) {
  return succeeded(Log.writeBool(section, key, value));
}

bool RunContext::flushLog() { return succeeded(Log.flush()); }

Result<std::string> RunContext::expandStaged(const std::string& memberName) {
  ExpandName = memberName;
  std::string name = ExpandName;
  if (Status expanded = C.ExpandFile(name, CompressTmpPath); !expanded.ok()) return expanded.error();
  return name;
}

void RunContext::CShowProgress(std::int32_t& PercentageDone) {
  setItemProgress(expansionItemProgress(PercentageDone));
  BytesDone += 6700;
  if (auto run = compressedRunProgress(BytesDone, state.Choices.ProgressTotal)) setRunProgress(*run);
  // The expansion goes on to the end of the member; the run stops at its next check.
  if (stopRequested() && platform.terminated()) view.setCaption(text(10));
}

void RunContext::CCheckFile(std::string& filepath, TCProcessMode) { filepath = CurrentTarget; }

} // namespace kalvora
