// Whole media built from project files, checked and read back with the
// project's own script and archive code.
#include <gtest/gtest.h>

#include "MediaTestSupport.h"
#include "media/MediumCheck.h"
#include "media/ScriptKeys.h"
#include "platform/Platform.h"

namespace kalvora::media::test {
namespace {
namespace fs = std::filesystem;

std::vector<std::uint8_t> bitmap(std::size_t size, std::uint32_t seed) {
  auto b = mixedBytes(size, seed);
  b[0] = 'B';
  b[1] = 'M';
  return b;
}

// A product with three options, a tree, a %SystemRoot% directory, an empty
// file, pictures (one in two roles), readme and uninstaller.
class Product {
public:
  explicit Product(const std::string& buildLines) {
    add("bin/a.exe", noiseBytes(9000, 1));
    add("bin/b.txt", mixedBytes(30000, 2));
    add("bin/empty.dat", {});
    add("data/x.bin", mixedBytes(5000, 3));
    add("data/deep/y.txt", mixedBytes(7000, 4));
    add("single.txt", mixedBytes(1200, 5));
    add("sys/k.dll", noiseBytes(3000, 6));
    writeFile(dir / "art/w.bmp", bitmap(2000, 7));
    writeFile(dir / "art/tile.bmp", bitmap(300, 8));
    writeFile(dir / "u.exe", noiseBytes(3000, 9));
    writeText(dir / "readme.txt", "Read me.\r\n");
    text = "[build]\n" + buildLines +
           "\nuninstaller = u.exe\nreadme = readme.txt\n"
           "[pictures]\nwizard = art/w.bmp\nlogo = art/w.bmp\nback = art/tile.bmp\n"
           "[files_1]\n0 = bin/*\n1 = data/\n[files_2]\n0 = single.txt\n[files_3]\n1 = sys/k.dll\n"
           "[software]\nname = Test Product\no_standard = 1\no_custom = 1\nOpt1_name = Main\nOpt2_name = Extra\n"
           "Opt1_standard = 1\nOpt2_standard = 1\nOpt1_custom = 1\n"
           "[directories]\nd1_1 = \\data\\\nd3_1 = %SystemRoot%\\SYSTEM\\\n";
  }

  void add(const std::string& rel, const std::vector<std::uint8_t>& bytes) {
    writeFile(dir / rel, bytes);
    sources.push_back(bytes);
  }
  fs::path project() const {
    writeText(dir / "p.kvp", text);
    return dir / "p.kvp";
  }
  fs::path out() const { return dir / "out"; }

  TempDir dir;
  std::string text;
  // In the order of the entries: option 1 (bin/* by name, then the tree), option 2, option 3.
  std::vector<std::vector<std::uint8_t>> sources;
};

void expectReadsBack(const Product& p, const std::string& mediumDir) {
  const CheckReport report = checkMedium(systemPlatform(), mediumDir);
  std::string faults;
  for (const auto& f : report.faults)
    faults += f + "\n";
  EXPECT_TRUE(report.ok()) << faults;
  std::vector<std::string> readFaults;
  const auto files = readBack(mediumDir, readFaults);
  EXPECT_TRUE(readFaults.empty()) << readFaults.front();
  std::vector<std::string> keys;
  for (std::size_t j = 1; j + 2 <= p.sources.size(); ++j)
    keys.push_back(numberedKey("[Option_1] f", static_cast<long long>(j)));
  keys.push_back("[Option_2] f1");
  keys.push_back("[Option_3] f1");
  ASSERT_EQ(files.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    ASSERT_TRUE(files.count(keys[i])) << keys[i];
    EXPECT_EQ(files.at(keys[i]), p.sources[i]) << keys[i];
  }
}

struct MediumCase {
  const char* name;
  const char* lines;
  int minVolumes;
};

void PrintTo(const MediumCase& c, std::ostream* out) { *out << c.name; }

class EveryMedium : public ::testing::TestWithParam<std::tuple<const char*, MediumCase>> {};

TEST_P(EveryMedium, PassesCheckAndEveryFileComesBackIdentical) {
  const auto& [compression, medium] = GetParam();
  Product p(std::string("compression = ") + compression + "\n" + medium.lines);
  const BuildOutcome b = build(p.project(), p.out());
  ASSERT_TRUE(b.ok) << b.diagnostics;
  EXPECT_GE(b.summary.volumes, medium.minVolumes);
  expectReadsBack(p, b.summary.mediumDir);
  const std::string medium1 = b.summary.mediumDir;
  EXPECT_EQ(scriptValue(medium1, "compression", "mode"), std::string(compression) == "none" ? "0" : "1");
  EXPECT_EQ(scriptValue(medium1, "Option_1", "f3"), "empty.dat");
  EXPECT_EQ(scriptValue(medium1, "Option_1", "d4"), "1");
  EXPECT_EQ(scriptValue(medium1, "Option_1", "d5"), "2"); // the tree's subdirectory got row 2
  EXPECT_EQ(scriptValue(medium1, "directories", "d1_2"), "\\data\\deep\\");
  const bool packed = std::string(compression) != "none";
  EXPECT_EQ(scriptValue(medium1, "main", "back"), packed ? "tile.bm_" : "tile.bmp");
  EXPECT_EQ(scriptValue(medium1, "leader", "image"), packed ? "w.bm_" : "w.bmp");
  EXPECT_TRUE(fs::exists(fs::path(medium1) / "uninst.ex_"));
  if (!packed) {
    EXPECT_EQ(readBytes(fs::path(medium1) / "uninst.ex_"), readBytes(p.dir / "u.exe"));
  }
}

const MediumCase kMedia[] = {
    {"unlimited", "medium = unlimited", 1},
    {"directory", "medium = directory\nmedium_size = 9000", 3},
    {"disks", "medium = disks\nmedium_size = 30000", 2},
    {"cd", "medium = cd", 1},
    {"floppy12", "medium = floppy-1.2", 1},
    {"floppy144", "medium = floppy-1.44", 1},
};

INSTANTIATE_TEST_SUITE_P(Media, EveryMedium,
                         ::testing::Combine(::testing::Values("none", "rle", "lzh"), ::testing::ValuesIn(kMedia)),
                         [](const auto& param) {
                           return std::string(std::get<0>(param.param)) + "_" + std::get<1>(param.param).name;
                         });

// Volumes of 1000 bytes, plain chunks: one ends exactly at a volume's end,
// the next ends a byte after the next volume's end, the next spans three.
TEST(MediumBuild, ExactVolumeBoundaries) {
  TempDir dir;
  const std::vector<std::size_t> sizes = {400, 600, 1001, 2000};
  std::vector<std::vector<std::uint8_t>> data;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    data.push_back(noiseBytes(sizes[i], static_cast<std::uint32_t>(100 + i)));
    writeFile(dir / numberedKey("f", static_cast<long long>(i + 1), ".bin"), data.back());
  }
  writeText(dir / "p.kvp", "[build]\ncompression = none\nmedium = directory\nmedium_size = 1000\n"
                           "[software]\nname = Edges\nuniyes = 0\no_standard = 1\nOpt1_standard = 1\n"
                           "[files_1]\n0 = f*.bin\n");
  const BuildOutcome b = build(dir / "p.kvp", dir / "out");
  ASSERT_TRUE(b.ok) << b.diagnostics;
  const std::string m = b.summary.mediumDir;
  const auto entry = [&](int j, const char* key) { return scriptValue(m, "Option_1", key + std::to_string(j)); };
  EXPECT_EQ(entry(2, "s") + "/" + entry(2, "p") + "/" + entry(2, "z"), "01/400/600");
  EXPECT_EQ(entry(3, "s") + "/" + entry(3, "p") + "/" + entry(3, "z"), "02/0/1001");
  EXPECT_EQ(entry(4, "s") + "/" + entry(4, "p") + "/" + entry(4, "z"), "03/1/2000");
  for (int v = 1; v <= 5; ++v)
    EXPECT_EQ(fs::file_size(fs::path(m) / numberedKey("zdata_0", v, ".dsk")), v == 5 ? 1u : 1000u) << v;
  EXPECT_FALSE(fs::exists(fs::path(m) / "zdata_06.dsk"));
  EXPECT_EQ(scriptValue(m, "software", "medium"), "5");
  std::vector<std::string> faults;
  const auto files = readBack(m, faults);
  EXPECT_TRUE(faults.empty());
  for (std::size_t i = 0; i < sizes.size(); ++i)
    EXPECT_EQ(files.at(numberedKey("[Option_1] f", static_cast<long long>(i + 1))), data[i]) << i;
  EXPECT_TRUE(checkMedium(systemPlatform(), m).ok());
}

// A floppy set: disk1 holds setup.inf and the companions beside a smaller
// volume; every disk stays within 1,457,664 bytes in 512-byte clusters.
TEST(MediumBuild, FloppySetOfOnePointFourFourMegabytes) {
  Product p("compression = lzh\nmedium = floppy-1.44");
  p.add("bin/big.bin", noiseBytes(1700000, 11));
  p.sources.insert(p.sources.begin() + 2, p.sources.back()); // bin/big.bin sorts after b.txt
  p.sources.pop_back();
  const BuildOutcome b = build(p.project(), p.out());
  ASSERT_TRUE(b.ok) << b.diagnostics;
  EXPECT_EQ(b.summary.disks, 2);
  EXPECT_EQ(b.summary.mediumDir, (fs::absolute(p.out()).lexically_normal() / "disk1").generic_string());
  for (const char* disk : {"disk1", "disk2"}) {
    std::uintmax_t used = 0;
    for (const auto& e : fs::directory_iterator(p.out() / disk))
      used += (e.file_size() + 511) / 512 * 512;
    EXPECT_LE(used, 1457664u) << disk;
  }
  EXPECT_TRUE(fs::exists(p.out() / "disk2" / "zdata_02.dsk"));
  EXPECT_FALSE(fs::exists(p.out() / "disk2" / "setup.inf"));
  EXPECT_EQ(scriptValue(b.summary.mediumDir, "Option_1", "s3"), "01"); // the big file begins on disk 1
  EXPECT_EQ(scriptValue(b.summary.mediumDir, "Option_1", "s4"), "02"); // and the next file on disk 2
  // Nothing unused: the first disk's volume is filled up to its room.
  const auto disk1Volume = fs::file_size(p.out() / "disk1" / "zdata_01.dsk");
  EXPECT_GT(disk1Volume, 1457664u - 64u * 1024u);
  expectReadsBack(p, b.summary.mediumDir);
}

TEST(MediumBuild, TheSameInputsGiveAByteIdenticalMedium) {
  Product p("compression = lzh\nmedium = disks\nmedium_size = 25000");
  const BuildOutcome first = build(p.project(), p.dir / "one");
  const BuildOutcome second = build(p.project(), p.dir / "two");
  ASSERT_TRUE(first.ok && second.ok) << first.diagnostics << second.diagnostics;
  const auto a = treeContents(p.dir / "one"), b = treeContents(p.dir / "two");
  EXPECT_EQ(a.size(), 7u); // setup.inf, two pictures, readme, uninstaller, two volumes
  EXPECT_TRUE(a.count("disk2/zdata_02.dsk"));
  EXPECT_TRUE(a == b);
  // Building again over an earlier medium replaces it.
  const BuildOutcome again = build(p.project(), p.dir / "one");
  ASSERT_TRUE(again.ok) << again.diagnostics;
  EXPECT_TRUE(treeContents(p.dir / "one") == b);
}

TEST(MediumBuild, PackedPicturesAndUninstallerHoldTheNamedMembers) {
  Product p("compression = rle");
  const BuildOutcome b = build(p.project(), p.out());
  ASSERT_TRUE(b.ok) << b.diagnostics;
  const fs::path m = b.summary.mediumDir;
  const auto packed = readBytes(m / "tile.bm_");
  ASSERT_GT(packed.size(), 60u);
  EXPECT_EQ(std::string(packed.begin() + 5, packed.begin() + 8), "RLE");
  EXPECT_EQ(std::string(packed.begin() + 46, packed.begin() + 54), "tile.bmp");
  const auto uninst = readBytes(m / "uninst.ex_");
  EXPECT_EQ(std::string(uninst.begin() + 46, uninst.begin() + 58), "uninst32.ex_");
  EXPECT_FALSE(fs::exists(m / "w.bmp"));
  EXPECT_TRUE(fs::exists(m / "readme.txt"));
  EXPECT_EQ(scriptValue(m.string(), "software", "readme"), "readme.txt");
}

// A project that names no uninstaller gets the first built one found, or a
// warning and a medium without it.
TEST(MediumBuild, BuiltUninstallerWhenTheProjectNamesNone) {
  TempDir temp;
  const fs::path dir = temp.path();
  writeFile(dir / "win32" / "unkalvora.exe", noiseBytes(3000, 5));
  writeText(dir / "p.kvp", "[build]\ncompression = none\n[software]\nname = U\no_standard = 1\n");
  for (const bool found : {true, false}) {
    BuildRequest request;
    request.projectPath = (dir / "p.kvp").string();
    request.outputDir = (dir / (found ? "with" : "without")).string();
    request.uninstallerCandidates = {(dir / "unkalvora.exe").string()};
    if (found) request.uninstallerCandidates.push_back((dir / "win32" / "unkalvora.exe").string());
    const BuildSummary s = buildMedium(request);
    const fs::path packed = fs::path(s.mediumDir) / "uninst.ex_";
    EXPECT_EQ(fs::exists(packed), found);
    if (found) {
      EXPECT_EQ(readBytes(packed), noiseBytes(3000, 5));
    }
    bool warned = false;
    for (const auto& w : s.warnings)
      warned = warned || w.text().find("no unkalvora.exe found") != std::string::npos;
    EXPECT_EQ(warned, !found);
  }
}

} // namespace
} // namespace kalvora::media::test
