// A complete installation stopped anywhere: after every call that changes the
// system, once as a kill (what was written stays) and once as a power cut
// (what was not flushed or closed is lost), and inside every write of data as
// a kill. The uninstaller then runs on the log that survived, as a user would
// run it, and the whole system (files with bytes, times and attributes,
// directories, registry, INI files) must be as it was before the run.
#include <gtest/gtest.h>

#include <map>

#include "CompleteInstallation.h"
#include "platform/FaultPlatform.h"

namespace kalvora {
namespace {

using namespace testing;

enum class Cut { Kill, PowerCut, InsideWrite };
const char* cutName(Cut cut) {
  return cut == Cut::Kill ? "kill" : cut == Cut::PowerCut ? "power cut" : "kill in write";
}

struct Stopped {};

// Stops the program before its at-th change (or, inside writes, halfway
// through its at-th write of more than one byte); nothing reaches the system
// after that.
class CutPlatform : public FaultPlatform {
public:
  CutPlatform(MemoryPlatform& memory, Cut cut, int at) : FaultPlatform(memory), memory_(memory), cut_(cut), at_(at) {}
  int changes = 0, writes = 0;

protected:
  void beforeCall(FaultKind kind, Stream* stream, const void* data, std::size_t n) override {
    if (stopped_ || kind == FaultKind::ReadFile || kind == FaultKind::OpenFile || kind == FaultKind::FreeSpace) return;
    ++changes;
    const bool split = kind == FaultKind::WriteFile && n > 1;
    if (split) ++writes;
    if ((cut_ == Cut::InsideWrite ? (split ? writes : 0) : changes) != at_) return;
    if (cut_ == Cut::InsideWrite) stream->write(data, n / 2);
    if (cut_ == Cut::PowerCut) memory_.powerCut();
    stopped_ = true;
    failEverything();
    throw Stopped{};
  }

private:
  MemoryPlatform& memory_;
  Cut cut_;
  int at_;
  bool stopped_ = false;
};

// What the run meets beyond the fault tests' system: a file of the target it
// replaces, values equal to those it writes, a start-up line already there;
// odd times and attributes, which must come back too.
void putUserState(MemoryPlatform& p) {
  putSystem(p);
  p.putFile("C:\\App\\a.txt", "the user's a.txt");
  p.putFile("C:\\WINDOWS\\win.ini", "[Main]\r\nVersion=1.0\r\nAdded=yes\r\n");
  p.putFile("C:\\autoexec.bat", "PATH C:\\WINDOWS\r\nSET TOOL=1\r\n");
  p.putRegistryString(RegistryRoot::CurrentUser, "Software\\Vendor\\Tool", "Mode", "full");
  for (const char* path : {"C:\\App\\a.txt", "C:\\WINDOWS\\system\\shared.dll", "C:\\WINDOWS\\win.ini"}) {
    p.setFileDosTime(path, 0x2A215C21);
    p.setFileAttributes(path, kAttrArchive | kAttrHidden);
  }
}

struct Point {
  bool exact = false;
  std::string left;
};

// One run stopped at the cut (at 0: never), then the uninstaller on what is left.
Point runCut(Cut cut, int at, int* changes = nullptr, int* writes = nullptr) {
  MediumPlatform memory;
  putMedium(memory);
  putUserState(memory);
  const Snapshot before = restorableStateOf(memory);
  CutPlatform platform(memory, cut, at);
  InstallState state;
  prepareRun(state, memory, 100000);
  state.Choices.ProgramGroup = "Tool";
  state.Setup.NewVersion = 3;
  state.Setup.CompressionMode = 1;
  RecordingView view(platform);
  CoreStages stages;
  try {
    InstallRun run(state, platform, view, stages);
    EXPECT_FALSE(run.FormActivate()) << cutName(cut) << " #" << at;
  } catch (const Stopped&) {
  }
  if (changes) *changes = platform.changes;
  if (writes) *writes = platform.writes;
  const RunMarks marks = runMarksOf(memory);
  NoWindow window;
  runUninstaller(memory, "C:\\App\\setup\\uninst.log /silent", window);
  const Snapshot after = restorableStateOf(memory);
  const Snapshot expected = expectedAfter(before, after, marks);
  return {after == expected, after == expected ? "" : differences(expected, after)};
}

// The points not yet restored exactly, each printed with what stayed; none
// loses anything the system had. The log is the run's first change after the
// work directory it lies in; the uninstaller, given the log's path, removes
// that directory while it is empty and holds no log. None is left.
constexpr int kInexactToday = 0;

TEST(KillPoints, TheUninstallerOnTheLogLeftRestoresTheSystem) {
  int changes = 0, writes = 0;
  const Point complete = runCut(Cut::Kill, 0, &changes, &writes);
  std::printf("complete run and uninstall:%s\n", complete.left.c_str());

  int points = 0, exact = 0, lost = 0;
  std::map<std::string, int> inexact; // what stayed -> how many points
  for (Cut cut : {Cut::Kill, Cut::PowerCut, Cut::InsideWrite})
    for (int at = 1; at <= (cut == Cut::InsideWrite ? writes : changes); ++at) {
      const Point p = runCut(cut, at);
      ++points;
      if (p.exact) {
        ++exact;
        continue;
      }
      ++inexact[p.left];
      if (p.left.find(" -") != std::string::npos) ++lost;
      std::printf("  %s #%d:%s\n", cutName(cut), at, p.left.c_str());
    }
  std::printf("cut points: %d (%d changes, %d writes), restored exactly: %d\n", points, changes, writes, exact);
  for (const auto& [what, count] : inexact)
    std::printf("  %d x%s\n", count, what.c_str());
  EXPECT_EQ(points, 2 * changes + writes);
  EXPECT_GT(changes, 100); // the run really ran: every stage made its changes
  EXPECT_EQ(lost, 0);
  EXPECT_LE(points - exact, kInexactToday);
}

} // namespace
} // namespace kalvora
