// The file stage of an uncompressed medium on the system's own files: many
// small files, where the cost of putting the uninstall log on disk shows.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "install/FileStage.h"
#include "install/RunContext.h"
#include "support/TempDir.h"

namespace kalvora {
namespace {

class QuietView : public InstallView {
public:
  void moveTop(int) override {}
  void setCaption(const std::string&) override {}
  void setItemLabel(const std::string&) override {}
  void hideItemLabel() override {}
  void setItemProgress(int) override {}
  void setRunProgress(int) override {}
  void disableExit() override {}
  void showCancelConfirmation() override {}
};

constexpr int kFileSize = 100;

// A medium of small files, one volume.
void writeMedium(const testing::TempDir& dir, int files) {
  std::ofstream script(dir / "setup.inf");
  script << "[software]\nmedium=1\n[Option_1]\n";
  for (int n = 1; n <= files; ++n)
    script << "f" << n << "=f" << n << ".txt\np" << n << "=" << (n - 1) * kFileSize << "\nz" << n << "=" << kFileSize
           << "\n";
  std::ofstream(dir / "zdata_01.dsk") << std::string(static_cast<std::size_t>(files) * kFileSize, 'x');
}

void BM_FileStageSmallFiles(benchmark::State& bench) {
  const int files = static_cast<int>(bench.range(0));
  testing::TempDir dir;
  writeMedium(dir, files);
  Platform& platform = systemPlatform();
  QuietView view;
  int round = 0;
  for (auto _ : bench) {
    const std::string target = dir / ("app" + std::to_string(++round));
    platform.createDirectory(target);
    InstallState state;
    state.Setup.SourceDir = dir.path().string() + "/";
    state.Choices.TargetDir = target;
    state.Choices.OptionChosen[0] = true;
    state.Choices.ProgressTotal = static_cast<std::int64_t>(files) * kFileSize;
    RunContext run(state, platform, view);
    run.SetupCopy = std::make_unique<SetupScript>(dir / "setup.inf", platform);
    run.LogEnabled = true;
    run.Log.open(target + "/uninst.log", platform);
    if (!fileStage(run)) bench.SkipWithError("the file stage failed");
    run.Log.close();
  }
}
BENCHMARK(BM_FileStageSmallFiles)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace kalvora
