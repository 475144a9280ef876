#include "archive/Compress.h"

#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"
#include "support/ErrorText.h"

namespace kalvora {
namespace {

using test::Bytes;
using test::errorOf;
using test::RawMember;

class CompressTest : public ::testing::Test {
protected:
  void put(const std::string& path, const Bytes& archive) {
    fs.putFile(path, std::string(archive.begin(), archive.end()));
  }
  // Expands the archive at C:\a.zrq whole; the error's text, empty when none.
  std::string expandAll(const std::vector<RawMember>& members, const std::string& id = "LZH") {
    put("C:\\a.zrq", test::rawArchive(id, 0x7FFFFFFF, members));
    return errorOf(c.ExpandArchive("C:\\a.zrq", nullptr));
  }

  void SetUp() override { c.SetTargetPath("C:\\"); }

  MemoryPlatform fs;
  TCompress c{fs};
};

TEST_F(CompressTest, WorkedExampleExpands) {
  put("C:\\a.zrq", test::rawArchive("NON", 3, {test::storedMember("a.txt", "abc")}));
  c.SetTargetPath("C:\\out");
  EXPECT_EQ(c.TargetPath(), "C:\\out\\");
  fs.createDirectory("C:\\out");
  std::string name = "A.TXT";
  EXPECT_EQ(errorOf(c.ExpandFile(name, "C:\\a.zrq")), "");
  EXPECT_EQ(name, "C:\\out\\a.txt");
  EXPECT_EQ(fs.fileContent("C:\\out\\a.txt"), "abc");
}

TEST_F(CompressTest, HeaderTestsInOrderWithTheirMessages) {
  auto run = [&](Bytes archive) -> std::string {
    put("C:\\h.zrq", archive);
    const std::string error = errorOf(c.ExpandArchive("C:\\h.zrq", nullptr));
    return error.empty() ? "none" : error;
  };
  const Bytes good = test::rawArchive("LZH", 0, {});
  EXPECT_EQ(run(good), "none"); // the header alone expands nothing
  Bytes badMagic = good;
  badMagic[4] = 0x1B;
  badMagic[12] = 0;                            // a bad type too: the magic is tested first
  std::copy_n("XYZ", 3, badMagic.begin() + 5); // and a bad tag
  EXPECT_EQ(run(badMagic), "Can't recognize compressed file header");
  EXPECT_EQ(run(Bytes(good.begin(), good.begin() + 20)), "Can't recognize compressed file header");
  EXPECT_EQ(run({}), "Can't recognize compressed file header");
  Bytes badType = good;
  badType[12] = 0;
  std::copy_n("XYZ", 3, badType.begin() + 5);
  EXPECT_EQ(run(badType), "Expand can't handle caSingle archive type in compressed header");
  badType[12] = 2;
  EXPECT_EQ(run(badType), "Expand can't handle caSingle archive type in compressed header");
  Bytes badId = good;
  std::copy_n("XYZ", 3, badId.begin() + 5);
  EXPECT_EQ(run(badId), "Unrecognized compression method in header");
  std::copy_n("CUS", 3, badId.begin() + 5);
  EXPECT_EQ(run(badId), "Unrecognized compression method in header"); // no OnExpand
  for (const char* id : {"NON", "RLE"}) {
    std::copy_n(id, 3, badId.begin() + 5);
    EXPECT_EQ(run(badId), "none");
  }
}

TEST_F(CompressTest, MethodFromIdAndCustomMembers) {
  EXPECT_EQ(c.MethodFromID("NON").value(), 0);
  EXPECT_EQ(c.MethodFromID("RLE").value(), 1);
  EXPECT_EQ(c.MethodFromID("LZH").value(), 2);
  EXPECT_EQ(errorOf(c.MethodFromID("ABC")), EUnrecognizedCompressionMethod().what());
  c.OnRecognize = [](const std::string& id, bool& ok) { ok = id == "ABC"; };
  EXPECT_EQ(errorOf(c.MethodFromID("ABC")), EUnrecognizedCompressionMethod().what()); // no custom method to run it

  std::vector<std::string> calls;
  c.OnExpand = [&](Stream& dest, Stream& source, std::int32_t srcSize, std::int32_t dstSize, const std::string& id,
                   std::int32_t& checksum) {
    Bytes buf(static_cast<std::size_t>(srcSize));
    calls.push_back(id + " " + std::to_string(srcSize) + " " + std::to_string(dstSize) + " " +
                    std::to_string(checksum));
    checksum = 1000;
    if (Status read = source.readBuffer(buf.data(), buf.size()); !read.ok()) return read;
    return dest.writeBuffer(buf.data(), buf.size());
  };
  EXPECT_EQ(c.MethodFromID("CUS").value(), 3);
  EXPECT_EQ(c.MethodFromID("ABC").value(), 3);
  EXPECT_EQ(errorOf(c.MethodFromID("ABD")), EUnrecognizedCompressionMethod().what());

  RawMember m = test::storedMember("c.bin", "xyz");
  m.header.method = kMethodCustom;
  m.header.expandedSize = 9;
  m.header.checksum = 1000;
  EXPECT_EQ(expandAll({m, test::storedMember("next.txt", "n")}, "ABC"), "");
  EXPECT_EQ(calls, (std::vector<std::string>{"ABC 3 9 0"}));
  EXPECT_EQ(fs.fileContent("C:\\c.bin"), "xyz");
  EXPECT_EQ(fs.fileContent("C:\\next.txt"), "n");
  m.header.checksum = 999;
  EXPECT_EQ(expandAll({m}, "CUS"), "Bad checksum during expansion -- data may be invalid");
  // The handler's error ends the member's expansion, and the partial file goes.
  m.header.checksum = 1000;
  m.data.resize(2); // the archive ends: its read comes short
  EXPECT_EQ(expandAll({m}, "CUS"), EReadError().what());
  EXPECT_FALSE(fs.fileExists("C:\\c.bin"));
}

TEST_F(CompressTest, CustomMemberWithoutHandlerIsEmptyAndChecksumZero) {
  RawMember m = test::storedMember("c.bin", "xyz");
  m.header.method = kMethodCustom;
  m.header.checksum = 0;
  // The data are not consumed: the walk goes on at them, where the next header is.
  m.data.clear();
  EXPECT_EQ(expandAll({m, test::storedMember("d.txt", "d")}, "RLE"), "");
  EXPECT_EQ(fs.fileContent("C:\\c.bin"), "");
  EXPECT_EQ(fs.fileContent("C:\\d.txt"), "d");
  m.header.method = 7;
  m.header.checksum = 5;
  EXPECT_EQ(expandAll({m}), "Bad checksum during expansion -- data may be invalid");
  EXPECT_FALSE(fs.fileExists("C:\\c.bin"));
}

TEST_F(CompressTest, LockAndKeyRules) {
  const Bytes abc = test::bytesOf("abc");
  auto locked = [&](std::uint8_t method, std::int32_t checksum, std::int32_t flag = 1) {
    RawMember m = test::codedMember("l.txt", abc, method);
    m.header.checksum = checksum;
    m.header.lockFlag = flag;
    return m;
  };
  const std::string keyMessage = "File locked -- valid key required";
  // Stored: never verified, but key 0 is refused.
  EXPECT_EQ(expandAll({locked(kMethodStored, 12345)}), keyMessage);
  c.Key = 77;
  EXPECT_EQ(expandAll({locked(kMethodStored, 12345)}), "");
  // LZH with sum + 5.
  c.Key = 5;
  EXPECT_EQ(expandAll({locked(kMethodLzh, 294 + 5)}), "");
  EXPECT_EQ(fs.fileContent("C:\\l.txt"), "abc");
  c.Key = 6;
  EXPECT_EQ(expandAll({locked(kMethodLzh, 294 + 5)}), keyMessage);
  EXPECT_FALSE(fs.fileExists("C:\\l.txt")); // the partial file is deleted
  c.Key = 0;
  EXPECT_EQ(expandAll({locked(kMethodLzh, 294 + 5)}), keyMessage);
  // The plain sum passes a locked member with any key but 0.
  c.Key = -9;
  EXPECT_EQ(expandAll({locked(kMethodRle, 294)}), "");
  // Sum plus key wraps modulo 2^32.
  c.Key = -300;
  EXPECT_EQ(expandAll({locked(kMethodRle, 294 - 300)}), "");
  // LockFlag -1 and 0 are not locked: a mismatch is a bad checksum.
  for (std::int32_t flag : {-1, 0}) {
    EXPECT_EQ(expandAll({locked(kMethodLzh, 294 - 300, flag)}), "Bad checksum during expansion -- data may be invalid");
  }
}

TEST_F(CompressTest, WalkEndsAtTotalOrAtAShortHeader) {
  const RawMember a = test::storedMember("a.txt", "aa"), b = test::storedMember("b.txt", "bb");
  put("C:\\t.zrq", test::rawArchive("NON", 0, {a, b}));
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\t.zrq", nullptr)), "");
  EXPECT_FALSE(fs.fileExists("C:\\a.txt")); // TotalExpandedSize 0: nothing
  put("C:\\t.zrq", test::rawArchive("NON", 2, {a, b}));
  std::vector<std::string> list{"A.TXT", "b.txt"};
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\t.zrq", &list)), "");
  EXPECT_EQ(list, (std::vector<std::string>{"C:\\a.txt"})); // stopped once the total was reached
  // A truncated name ends the walk without error.
  Bytes cut = test::rawArchive("NON", 100, {a, b});
  cut.resize(cut.size() - 3);
  put("C:\\t.zrq", cut);
  list = {};
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\t.zrq", &list)), "");
  EXPECT_TRUE(list.empty()); // an empty list expands nothing
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\t.zrq", nullptr)), "");
  EXPECT_EQ(fs.fileContent("C:\\a.txt"), "aa");
  EXPECT_FALSE(fs.fileExists("C:\\b.txt"));
}

TEST_F(CompressTest, SkippedMembersDoNotCountTowardsTheTotal) {
  const RawMember a = test::codedMember("a.txt", test::textLike(5000, 1), kMethodLzh),
                  b = test::codedMember("b.txt", test::textLike(300, 2), kMethodRle),
                  a2 = test::storedMember("A.txt", "second");
  put("C:\\s.zrq", test::rawArchive("LZH", test::totalOf({a, b}), {a, b, a2}));
  std::string name = "a.TXT";
  EXPECT_EQ(errorOf(c.ExpandFile(name, "C:\\s.zrq")), "");
  EXPECT_EQ(name, "C:\\a.txt"); // first path; every occurrence was expanded
  EXPECT_EQ(fs.fileContent("C:\\a.txt"), "second");
  EXPECT_FALSE(fs.fileExists("C:\\b.txt"));
  name = "missing.txt";
  EXPECT_EQ(errorOf(c.ExpandFile(name, "C:\\s.zrq")), "");
  EXPECT_EQ(name, "");
}

TEST_F(CompressTest, OutputPathsAndOnCheckFile) {
  fs.createDirectory("C:\\x");
  fs.createDirectory("D:\\data");
  fs.setCurrentDrive('D');
  c.SetTargetPath("C:\\x");
  std::vector<std::string> seen;
  c.OnCheckFile = [&](std::string& path, TCProcessMode mode) {
    EXPECT_EQ(mode, TCProcessMode::cmExpand);
    seen.push_back(path);
    if (path == "C:\\x\\skip.txt") path = "";
    if (path == "C:\\x\\stop.txt") path = "*";
  };
  const std::vector<RawMember> members = {test::storedMember("\\data\\a.txt", "1"), test::storedMember("b.txt", "2"),
                                          test::storedMember("skip.txt", "3"), test::storedMember("stop.txt", "4"),
                                          test::storedMember("after.txt", "5")};
  put("C:\\p.zrq", test::rawArchive("NON", 100, members));
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\p.zrq", nullptr)), "");
  EXPECT_EQ(seen, (std::vector<std::string>{"\\data\\a.txt", "C:\\x\\b.txt", "C:\\x\\skip.txt", "C:\\x\\stop.txt"}));
  EXPECT_EQ(fs.fileContent("D:\\data\\a.txt"), "1");
  EXPECT_EQ(fs.fileContent("C:\\x\\b.txt"), "2");
  EXPECT_FALSE(fs.fileExists("C:\\x\\skip.txt"));
  EXPECT_FALSE(fs.fileExists("C:\\x\\stop.txt"));
  EXPECT_FALSE(fs.fileExists("C:\\x\\after.txt"));

  c.OnCheckFile = [](std::string& path, TCProcessMode) { path = "C:\\x\\renamed.txt"; };
  std::string name = "b.txt";
  EXPECT_EQ(errorOf(c.ExpandFile(name, "C:\\p.zrq")), "");
  EXPECT_EQ(name, "C:\\x\\renamed.txt");
}

TEST_F(CompressTest, StopOnSecondMemberKeepsTheFirstListed) {
  int calls = 0;
  c.OnCheckFile = [&](std::string& path, TCProcessMode) {
    if (++calls == 2) path = "*";
  };
  put("C:\\p.zrq", test::rawArchive("NON", 100, {test::storedMember("one", "1"), test::storedMember("two", "2")}));
  std::vector<std::string> list{"one", "two"};
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\p.zrq", &list)), "");
  EXPECT_EQ(list, (std::vector<std::string>{"C:\\one"}));
  EXPECT_FALSE(fs.fileExists("C:\\two"));
}

TEST_F(CompressTest, UnsafeRelativeNamesAreRefusedWithoutAHandler) {
  fs.createDirectory("C:\\t");
  c.SetTargetPath("C:\\t\\");
  for (const char* name : {"..\\evil.txt", "a/../../evil.txt", "/evil.txt", "D:\\evil.txt", "x\\.. \\evil"}) {
    put("C:\\u.zrq", test::rawArchive("NON", 100, {test::storedMember(name, "e")}));
    EXPECT_EQ(errorOf(c.ExpandArchive("C:\\u.zrq", nullptr)), EUnsafeMemberName(name).what()) << name;
  }
  EXPECT_EQ(fs.listFiles().size(), 1u); // only the archive
  put("C:\\u.zrq", test::rawArchive("NON", 100, {test::storedMember("..a..\\b..txt", "ok")}));
  c.MakeDirectories = true;
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\u.zrq", nullptr)), "");
  EXPECT_EQ(fs.fileContent("C:\\t\\..a..\\b..txt"), "ok");
}

TEST_F(CompressTest, FileCreationFailure) {
  put("C:\\f.zrq",
      test::rawArchive("NON", 100, {test::storedMember("nodir\\a.txt", "1"), test::storedMember("b.txt", "2")}));
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\f.zrq", nullptr)), "");
  EXPECT_EQ(fs.fileContent("C:\\b.txt"), "2"); // skipped silently, the walk went on
  c.ExceptionOnFileError = true;
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\f.zrq", nullptr)), "Kann Datei C:\\nodir\\a.txt nicht erstellen");
}

TEST_F(CompressTest, ArchiveOpenFailure) {
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\none.zrq", nullptr)), "Kann Datei C:\\none.zrq nicht öffnen");
  put("C:\\held.zrq", test::rawArchive("NON", 0, {}));
  fs.lockFile("C:\\held.zrq");
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\held.zrq", nullptr)), EFOpenError("C:\\held.zrq").what());
}

TEST_F(CompressTest, FreeSpaceRules) {
  const RawMember big = test::codedMember("C:\\big.bin", Bytes(1000, 7), kMethodRle);
  RawMember abs = big;
  abs.name = "\\big.bin";
  fs.setFreeSpace('C', 999);
  EXPECT_EQ(expandAll({abs}), "Not enough disk space to expand \\big.bin");
  // An existing file of the path counts as free space.
  fs.putFile("C:\\big.bin", std::string(1, 'x'));
  EXPECT_EQ(expandAll({abs}), "");
  EXPECT_EQ(fs.fileContent("C:\\big.bin"), std::string(1000, 7));
  fs.setFreeSpace('C', 0);
  EXPECT_EQ(expandAll({abs}), ""); // a 1000-byte file replaces a 1000-byte file on a full drive
  // A read-only existing file cannot be opened to learn its size.
  fs.putFile("C:\\big.bin", "x", kAttrReadOnly);
  EXPECT_EQ(expandAll({abs}), "Dateizugriff verweigert"); // EInOutError 5
  // Unknown free space is -1: even an empty member does not fit.
  fs.setFreeSpace('E', -1);
  fs.createDirectory("E:\\d");
  c.SetTargetPath("E:\\d");
  EXPECT_EQ(expandAll({test::storedMember("e.txt", "")}), "Not enough disk space to expand E:\\d\\e.txt");
  fs.putFile("E:\\d\\e.txt", "");
  EXPECT_EQ(expandAll({test::storedMember("e.txt", "")}), "Not enough disk space to expand E:\\d\\e.txt");
  fs.putFile("E:\\d\\e.txt", "1");
  EXPECT_EQ(expandAll({test::storedMember("e.txt", "")}), "");
  // Large values do not overflow.
  fs.setFreeSpace('F', std::int64_t{1} << 40);
  fs.createDirectory("F:\\d");
  c.SetTargetPath("F:\\d");
  RawMember huge = test::storedMember("h.txt", "h");
  huge.header.expandedSize = 0x7FFFFFFF;
  EXPECT_EQ(expandAll({huge}), "");
}

TEST_F(CompressTest, MakeDirectoriesCreatesMissingParentsInOrder) {
  fs.createDirectory("C:\\a");
  c.MakeDirectories = true;
  c.SetTargetPath("C:\\a\\b/");
  EXPECT_EQ(c.TargetPath(), "C:\\a\\b/");
  EXPECT_EQ(expandAll({test::storedMember("c\\f.txt", "f")}), "");
  EXPECT_EQ(fs.createdDirectories(), (std::vector<std::string>{"C:\\a", "C:\\a\\b", "C:\\a\\b/c"}));
  EXPECT_EQ(fs.fileContent("C:\\a\\b\\c\\f.txt"), "f");
  // A failure to create is an input/output error.
  fs.putFile("C:\\a\\file", "");
  c.SetTargetPath("C:\\a\\file\\sub");
  EXPECT_EQ(expandAll({test::storedMember("g.txt", "g")}), EInOutError(5).what());
}

TEST_F(CompressTest, FailedMemberIsDeletedEarlierOnesStay) {
  RawMember good = test::codedMember("good.txt", test::textLike(20000, 4), kMethodLzh);
  RawMember bad = test::codedMember("bad.txt", test::textLike(20000, 5), kMethodLzh);
  bad.header.checksum ^= 1;
  std::vector<std::string> list{"good.txt", "bad.txt"};
  put("C:\\b.zrq", test::rawArchive("LZH", 100000, {good, bad}));
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\b.zrq", &list)), EBadChecksum().what());
  EXPECT_EQ(list, (std::vector<std::string>{"good.txt", "bad.txt"})); // not updated
  EXPECT_TRUE(fs.fileExists("C:\\good.txt"));
  EXPECT_FALSE(fs.fileExists("C:\\bad.txt"));
  // A write error removes the partial file too.
  fs.deleteFile("C:\\good.txt");
  fs.limitWrites(10000);
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\b.zrq", nullptr)), EWriteError().what());
  EXPECT_FALSE(fs.fileExists("C:\\good.txt"));
}

TEST_F(CompressTest, DosTimeAndAttributesAreApplied) {
  RawMember m = test::storedMember("t.txt", "t");
  m.header.fileDateTime = static_cast<std::int32_t>(packDosDateTime({2001, 9, 30, 12, 34, 56}));
  m.header.fileAttributes = kAttrReadOnly | kAttrHidden | kAttrArchive;
  EXPECT_EQ(expandAll({m}), "");
  const auto info = fs.fileInfo("C:\\t.txt");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->dosDateTime, static_cast<std::uint32_t>(m.header.fileDateTime));
  EXPECT_EQ(info->attributes, kAttrReadOnly | kAttrHidden | kAttrArchive);
  // The attribute word is signed: 0x8020 becomes 0xFFFF8020.
  RawMember s = test::storedMember("s.txt", "s");
  s.header.fileAttributes = static_cast<std::int16_t>(0x8020);
  EXPECT_EQ(expandAll({s}), "");
  EXPECT_EQ(fs.fileInfo("C:\\s.txt")->attributes, 0xFFFF8020u);
}

TEST_F(CompressTest, AbsurdSizesEndOrFailCleanly) {
  // A negative NameLength ends the walk like a short read.
  RawMember neg = test::storedMember("n.txt", "n");
  neg.header.nameLength = -1;
  neg.keepNameLength = true;
  EXPECT_EQ(expandAll({neg, test::storedMember("later.txt", "l")}), "");
  EXPECT_FALSE(fs.fileExists("C:\\later.txt"));
  // A skipped member of negative size would lead back: the walk ends.
  RawMember back = test::storedMember("back.txt", "b");
  back.header.compressedSize = -26 - 8;
  std::vector<std::string> list{"other"};
  put("C:\\n.zrq", test::rawArchive("NON", 100, {back, back}));
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\n.zrq", &list)), "");
  // Expanded with a negative size: nothing read, the walk goes on from there.
  EXPECT_EQ(expandAll({back}), "");
  EXPECT_EQ(fs.fileContent("C:\\back.txt"), "");
  // A huge LZH ExpandedSize over little data: decoding stops, the checksum fails, nothing is left.
  RawMember lie = test::codedMember("lie.txt", test::bytesOf("short"), kMethodLzh);
  lie.header.expandedSize = 0x7FFFFFFF;
  fs.setFreeSpace('C', std::int64_t{1} << 40);
  EXPECT_EQ(expandAll({lie}), EBadChecksum().what());
  EXPECT_FALSE(fs.fileExists("C:\\lie.txt"));
  lie.header.lockFlag = 1;
  c.Key = 3;
  EXPECT_EQ(expandAll({lie}), EInvalidKey().what());
}

} // namespace
} // namespace kalvora
