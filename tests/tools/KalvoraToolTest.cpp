// The kalvora tool run as a user runs it: in the Windows tree this is
// kalvora.exe under Wine, where "\" and drive letters are real.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "archive/ArchiveWriter.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace kalvora::testing {
namespace {

namespace fs = std::filesystem;

ProcessResult kalvora(const std::vector<std::string>& args) { return runProcess(toolPath(), args); }

// Every regular file below root, as paths relative to it with "/" between elements.
std::vector<std::string> filesBelow(const fs::path& root) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).generic_string());
  std::sort(files.begin(), files.end());
  return files;
}

void writeArchive(const std::string& path, const std::vector<std::pair<std::string, std::string>>& members) {
  MemoryStream out;
  Result<ArchiveWriter> writer = ArchiveWriter::start(out, "NON");
  ASSERT_TRUE(writer.ok());
  MemberOptions options;
  options.method = kMethodStored;
  for (const auto& [name, content] : members)
    ASSERT_TRUE(writer.value()
                    .addMember(name, {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()}, options)
                    .ok());
  ASSERT_TRUE(writer.value().finish().ok());
  writeBytes(path, out.bytes());
}

TEST(KalvoraTool, PackTestExpandRoundTripKeepsBytesAndTimes) {
  TempDir dir;
  const auto text = textData(100000, 4), noise = randomData(20000, 4);
  writeBytes(dir / "Readme.txt", text);
  writeBytes(dir / "data.bin", noise);
  writeBytes(dir / "empty", {});
  const auto past = fs::last_write_time(dir / "data.bin") - std::chrono::hours(24 * 40);
  fs::last_write_time(dir / "data.bin", past);

  for (const std::string method : {"NON", "RLE", "LZH"}) {
    SCOPED_TRACE(method);
    const std::string archive = dir / ("a-" + method + ".kvr"), out = dir / ("out-" + method);
    const auto packed = kalvora({"pack", "-m", method, archive, dir / "Readme.txt", dir / "data.bin", dir / "empty"});
    ASSERT_EQ(packed.exitCode, 0) << packed.err;
    const auto tested = kalvora({"test", archive});
    EXPECT_EQ(tested.exitCode, 0) << tested.out << tested.err;
    EXPECT_NE(tested.out.find("3 members tested, 0 failed"), std::string::npos) << tested.out;
    const auto expanded = kalvora({"expand", "-C", out, archive});
    ASSERT_EQ(expanded.exitCode, 0) << expanded.err;
    EXPECT_EQ(filesBelow(out), (std::vector<std::string>{"Readme.txt", "data.bin", "empty"}));
    EXPECT_TRUE(readBytes(out + "/Readme.txt") == text);
    EXPECT_TRUE(readBytes(out + "/data.bin") == noise);
    EXPECT_TRUE(readBytes(out + "/empty").empty());
    // DOS times hold even seconds.
    const auto drift = fs::last_write_time(out + "/data.bin") - past;
    EXPECT_LE(std::chrono::abs(drift), std::chrono::seconds(2));
  }
}

TEST(KalvoraTool, ExpandRefusesNamesThatLeaveTheDirectoryAndGoesOn) {
  TempDir dir;
  const std::string archive = dir / "hostile.kvr";
  const std::vector<std::string> hostile = {
      "..\\up.txt", "sub\\..\\..\\up2.txt", "\\rooted.txt", "/rooted2.txt", "C:drive.txt", "C:\\drive2.txt",
      "..",         "sub\\...\\x",          "sub\\NUL.txt", "sub\\"};
  std::vector<std::pair<std::string, std::string>> members = {{"first.txt", "1"}};
  for (const auto& name : hostile)
    members.push_back({name, "evil"});
  const std::string escapes = "esc\x1b]0;owned\x07.txt"; // would retitle a terminal
  members.push_back({escapes, "evil"});
  members.push_back({"sub\\deeper\\last.txt", "2"});
  writeArchive(archive, members);

  const std::string out = dir / "out";
  const auto result = kalvora({"expand", "-C", out, archive});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  for (const auto& name : hostile)
    EXPECT_NE(result.err.find("kalvora: refusing member '" + name + "'"), std::string::npos) << name << result.err;
  EXPECT_NE(result.err.find("refusing member 'esc\\x1B]0;owned\\x07.txt': it contains a control character"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.err.find('\x1b'), std::string::npos);
  EXPECT_EQ(filesBelow(dir.path()),
            (std::vector<std::string>{"hostile.kvr", "out/first.txt", "out/sub/deeper/last.txt"}));
  // Listing and testing show such names escaped too.
  for (const std::string command : {"list", "test"}) {
    const auto shown = kalvora({command, archive});
    EXPECT_EQ(shown.out.find('\x1b'), std::string::npos) << command;
    EXPECT_NE(shown.out.find("esc\\x1B]0;owned\\x07.txt"), std::string::npos) << command << shown.out;
  }
  EXPECT_FALSE(fs::exists("C:\\drive2.txt"));
  EXPECT_FALSE(fs::exists("/rooted2.txt"));
}

TEST(KalvoraTool, ExpandsNamedMembersWhateverTheirCase) {
  TempDir dir;
  const std::string archive = dir / "named.kvr";
  writeArchive(archive, {{"Docs\\ReadMe.TXT", "r"}, {"prog.exe", "p"}, {"other.dat", "o"}});
  const auto result = kalvora({"expand", "-C", dir / "out", archive, "docs/readme.txt", "PROG.EXE"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(filesBelow(dir / "out"), (std::vector<std::string>{"Docs/ReadMe.TXT", "prog.exe"}));

  const auto missing = kalvora({"expand", "-C", dir / "out2", archive, "absent.txt", "other.dat"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("kalvora: no member named 'absent.txt'"), std::string::npos) << missing.err;
  EXPECT_EQ(filesBelow(dir / "out2"), (std::vector<std::string>{"other.dat"}));
}

} // namespace
} // namespace kalvora::testing
