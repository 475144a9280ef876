// kalvora check over media with one fault each.
#include <gtest/gtest.h>

#include <fstream>

#include "MediaTestSupport.h"
#include "media/MediumCheck.h"
#include "media/Project.h"
#include "platform/Platform.h"
#include "platform/SpaceText.h"

namespace kalvora::media::test {
namespace {
namespace fs = std::filesystem;

std::string joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines)
    s += l + "\n";
  return s;
}

// A medium in volumes of 6000 bytes; the second file spans three of them.
struct Built {
  TempDir dir;
  fs::path medium;

  explicit Built(const char* compression = "lzh") {
    writeFile(dir / "src/a.bin", mixedBytes(7000, 1));
    writeFile(dir / "src/b.bin", noiseBytes(12000, 2));
    writeFile(dir / "src/tile.bmp", [] {
      auto b = mixedBytes(500, 3);
      b[0] = 'B';
      b[1] = 'M';
      return b;
    }());
    writeFile(dir / "src/u.exe", mixedBytes(800, 4));
    writeText(dir / "p.kvp", std::string("[build]\ncompression = ") + compression +
                                 "\nmedium = directory\nmedium_size = 6000\nuninstaller = src/u.exe\n"
                                 "[pictures]\nback = src/tile.bmp\n[files_1]\n0 = src/*.bin\n"
                                 "[software]\nname = C\no_standard = 1\no_min = 1\nOpt1_standard = 1\n");
    const BuildOutcome b = build(dir / "p.kvp", dir / "out");
    EXPECT_TRUE(b.ok) << b.diagnostics;
    medium = b.summary.mediumDir;
  }

  CheckReport check() const { return checkMedium(systemPlatform(), utf8Of(medium)); }

  void setKey(const std::string& line, const std::string& replacement) const {
    std::string inf = readText(medium / "setup.inf");
    const auto at = inf.find(line);
    ASSERT_NE(at, std::string::npos) << line;
    inf.replace(at, line.size(), replacement);
    writeText(medium / "setup.inf", inf);
  }
};

TEST(MediumCheck, AGoodMediumWithItsSpaceFigures) {
  Built b;
  const CheckReport r = b.check();
  EXPECT_TRUE(r.ok()) << joined(r.faults);
  const std::string summary = joined(r.summary);
  EXPECT_NE(summary.find("2 of 2 entries read back and expanded, 19000 bytes installed"), std::string::npos) << summary;
  // standard: the option's 19000 bytes plus [compression] size; minimal: that size alone.
  const long long size = std::stoll(scriptValue(utf8Of(b.medium), "compression", "size"));
  EXPECT_NE(summary.find("standard " + showSpace(19000 + size).joined() + ", minimal " + showSpace(size).joined()),
            std::string::npos)
      << summary;
  // Totals beyond six kilobyte digits show in MB, as the wizard shows them:
  // 1,500,019,000 and 1,500,000,000 bytes are both 1431 MB.
  b.setKey("size=" + std::to_string(size), "size=1500000000");
  const std::string large = joined(b.check().summary);
  EXPECT_NE(large.find("space shown by the wizard: standard 1431 MB, minimal 1431 MB"), std::string::npos) << large;
}

TEST(MediumCheck, ACorruptedChunkFailsItsChecksum) {
  Built b;
  // A byte in the middle of each file's chunk: a.bin is an LZH member, which
  // its archive checks; b.bin, noise, went in stored, and its c2 checks it.
  const std::string inf = readText(b.medium / "setup.inf");
  const auto key = [&](const std::string& name) {
    const auto at = inf.find("\r\n" + name + "=") + name.size() + 3;
    return std::stoll(inf.substr(at, inf.find("\r\n", at) - at));
  };
  for (const char* j : {"1", "2"}) {
    const fs::path volume = b.medium / ("zdata_0" + std::to_string(key(std::string("s") + j)) + ".dsk");
    std::fstream f(volume, std::ios::in | std::ios::out | std::ios::binary);
    const auto at = key(std::string("p") + j) + std::min<long long>(key(std::string("z") + j) / 2, 500);
    f.seekg(at);
    const char c = static_cast<char>(f.get());
    f.seekp(at);
    f.put(static_cast<char>(c ^ 0x5A));
  }
  const CheckReport r = b.check();
  EXPECT_FALSE(r.ok());
  EXPECT_NE(joined(r.faults).find("[Option_1] f1 (a.bin): expansion fails"), std::string::npos) << joined(r.faults);
  EXPECT_NE(joined(r.faults).find("[Option_1] f2 (b.bin): its chunk differs from the checksum setup.inf records for "
                                  "it (c2): the volume is damaged"),
            std::string::npos)
      << joined(r.faults);
  // The faulty entries still use their bytes.
  EXPECT_EQ(joined(r.warnings).find("no file entry uses"), std::string::npos) << joined(r.warnings);
}

TEST(MediumCheck, AMissingVolumeIsNamed) {
  Built b;
  fs::remove(b.medium / "zdata_03.dsk");
  const CheckReport r = b.check();
  EXPECT_NE(joined(r.faults).find("zdata_03.dsk, which is missing"), std::string::npos) << joined(r.faults);
  EXPECT_EQ(joined(r.warnings).find("no file entry uses"), std::string::npos) << joined(r.warnings);
}

TEST(MediumCheck, WrongSpaceFiguresAndStoredSizes) {
  Built b;
  b.setKey("Opt1_space=19000", "Opt1_space=15000");
  const CheckReport r = b.check();
  EXPECT_NE(joined(r.faults).find("Opt1_space=15000, but option 1's files expand to 19000 bytes"), std::string::npos)
      << joined(r.faults);
}

TEST(MediumCheck, MissingOrUnpackablePicturesAndUninstaller) {
  Built b;
  fs::remove(b.medium / "tile.bm_");
  writeText(b.medium / "uninst.ex_", "not an archive");
  const std::string faults = joined(b.check().faults);
  EXPECT_NE(faults.find("background picture tile.bm_ is missing"), std::string::npos) << faults;
  EXPECT_NE(faults.find("the uninstaller uninst.ex_: expansion fails: Can't recognize compressed file header"),
            std::string::npos)
      << faults;
}

TEST(MediumCheck, AChunkWhoseMemberHasAnotherNameExpandsToNothing) {
  Built b;
  b.setKey("f1=a.bin", "f1=c.bin");
  EXPECT_NE(joined(b.check().faults).find("holds no member named c.bin"), std::string::npos);
}

TEST(MediumCheck, NoSetupInfAndAnUncompressedMedium) {
  TempDir empty;
  const CheckReport none = checkMedium(systemPlatform(), utf8Of(empty.path()));
  EXPECT_NE(joined(none.faults).find("no setup.inf"), std::string::npos);
  writeText(empty / "disk1/setup.inf", "[kalvora]\r\nversion=220\r\n");
  EXPECT_NE(joined(checkMedium(systemPlatform(), utf8Of(empty.path())).faults).find("check its disk1 directory"),
            std::string::npos);
  Built plain("none");
  const CheckReport r = plain.check();
  EXPECT_TRUE(r.ok()) << joined(r.faults);
  EXPECT_NE(joined(r.warnings).find("no setup.exe"), std::string::npos);
  // A chunk that now reaches into a volume that is not there.
  plain.setKey("z2=12000", "z2=99999");
  EXPECT_NE(joined(plain.check().faults).find("zdata_05.dsk, which is missing"), std::string::npos);
}

} // namespace
} // namespace kalvora::media::test
