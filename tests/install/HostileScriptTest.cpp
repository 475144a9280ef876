// setup.inf values that try to reach outside the target and the Windows
// directory, name devices, or are too long or too large: each one installs
// inside those two directories, or is refused with its message while the
// system is still untouched.
#include <gtest/gtest.h>

#include "InstallFixture.h"

namespace kalvora {
namespace {

using testing::InstallFixture;

struct Row {
  std::string software;    // lines of [software]
  std::string directories; // lines of [directories]
  std::string option;      // lines of [Option_1], before the chunk's defaults
  std::string other;       // further sections
  const char* installed;   // where the file lands, or nullptr when refused
  const char* message;     // part of the refusal's message
};

std::string scriptOf(const Row& row) {
  return "[software]\nname=T\nmedium=1\n" + row.software + "[directories]\n" + row.directories + "[Option_1]\n" +
         row.option + "s1=01\np1=0\nz1=3\n" + row.other;
}

bool belowAnyOf(const std::string& path, std::initializer_list<const char*> roots) {
  const std::string key = MemoryPlatform::normalize(path);
  for (const char* root : roots)
    if (key.rfind(root, 0) == 0 && key.find("..") == std::string::npos) return true;
  return false;
}

TEST(HostileScript, InstallsInsideTheTargetAndWindowsDirectoryOrIsRefusedBeforeAnyChange) {
  const std::string longPart(300, 'x'), hugePart(40000, 'y');
  const Row rows[] = {
      {"", "d1_1=\\bin\\\n", "f1=a.txt\nd1=1\n", "", "C:\\App\\bin\\a.txt", nullptr},
      {"", "d1_1=%systemroot%\\sys\\\n", "f1=a.txt\nd1=1\n", "", "C:\\WINDOWS\\sys\\a.txt", nullptr},
      {"", "total=-5\n", "f1=read me.txt\n", "", "C:\\App\\read me.txt", nullptr},
      {"", "d1_1=\\bin\\\n", "f1=a.txt\nd1=1\nz1=0\n", "", "C:\\App\\bin\\a.txt", nullptr},
      {"", "d1_1=\\..\\..\\x\\\n", "f1=a.txt\nd1=1\n", "", nullptr, "\\..\\..\\x\\"},
      {"", "d1_1=\\a\\. .\\x\\\n", "f1=a.txt\n", "", nullptr, "\\a\\. .\\x\\"},
      {"", "d1_1=C:\\x\\\n", "f1=a.txt\nd1=1\n", "", nullptr, "C:\\x\\"},
      {"", "d1_1=\\\\server\\share\\\n", "f1=a.txt\nd1=1\n", "", nullptr, "\\\\server\\share\\"},
      {"", "d1_1=\\bin\\%SystemRoot%\\\n", "f1=a.txt\n", "", nullptr, "d1_1=\\bin\\%SystemRoot%\\"},
      {"", "d1_1=%SystemRoot%\\..\\x\\\n", "f1=a.txt\nd1=1\n", "", nullptr, "%SystemRoot%\\..\\x\\"},
      {"", "d1_1=%SystemRoot%\n", "f1=a.txt\nd1=1\n", "", nullptr, "%SystemRoot%"},
      {"", "d1_1=\\CON\\\n", "f1=a.txt\n", "", nullptr, "\\CON\\"},
      {"", "", "f1=sub\\a.txt\n", "", nullptr, "[Option_1] f1=sub\\a.txt"},
      {"", "", "f1=a:b.txt\n", "", nullptr, "f1=a:b.txt"},
      {"", "", "f1=NUL\n", "", nullptr, "f1=NUL"},
      {"", "", "f1=com1.txt\n", "", nullptr, "f1=com1.txt"},
      {"", "", "f1=a?.txt\n", "", nullptr, "f1=a?.txt"},
      {"", "", "f1=..\n", "", nullptr, "f1=.."},
      {"", "", "f1=a.txt\nd1=1\n", "", nullptr, "[]"}, // no directory value
      {"", "d1_1=\\" + longPart + "\\\n", "f1=a.txt\n", "", nullptr, "länger als 259"},
      {"", "d1_1=\\" + hugePart + "\\\n", "f1=a.txt\n", "", nullptr, "länger als 259"},
      {"", "", "f1=" + longPart + "\n", "", nullptr, "länger als 259"},
      {"", "total=2000000000\n", "f1=a.txt\n", "", nullptr, "[directories] total=2000000000"},
      {"", "", "f1=a.txt\n", "[extensions]\ntotal=99999\n", nullptr, "[extensions] total=99999"},
      {"", "", "f1=a.txt\n", "[sysreg]\ntotal=2147483647\n", nullptr, "[sysreg] total=2147483647"},
      {"", "", "f1=a.txt\np1=-1\n", "", nullptr, "p1=-1"},
      {"", "", "f1=a.txt\nz1=-7\n", "", nullptr, "z1=-7"},
      {"", "", "f1=a.txt\ns1=..\\..\\x\n", "", nullptr, "s1=..\\..\\x"},
      {"readme=..\\..\\evil.txt\n", "", "f1=a.txt\n", "", nullptr, "readme=..\\..\\evil.txt"},
      {"readmedir=C:\\x\n", "", "f1=a.txt\n", "", nullptr, "C:\\x"},
      {"", "", "f1=a.txt\n", "[ini_1]\nname=C:\\x\\%SystemRoot%\\win.ini\n", nullptr, "C:\\x\\%SystemRoot%\\win.ini"},
      {"", "", "f1=a.txt\n", "[ini_2]\nname=%SystemRoot%\\..\\win.ini\n", nullptr, "%SystemRoot%\\..\\win.ini"},
      {"", "", "f1=a.txt\n", "[ini_3]\nname=%SystemRoot%\\w.ini\nbkp=..\\w.bak\n", nullptr, "bkp=..\\w.bak"},
      {"", "", "f1=a.txt\n", "[dos]\nbkp_a=..\\x.bat\n", nullptr, "..\\x.bat"},
      {"", "", "f1=a.txt\n", "[ini_4]\nname=C:\\a\\b:c.ini\n", nullptr, "[ini_4] name=C:\\a\\b:c.ini"},
      {"", "", "f1=a.txt\n", "[ini_4]\nname=C:\\a\\\n", nullptr, "[ini_4] name=C:\\a\\"},
  };
  for (const Row& row : rows) {
    const std::string script = scriptOf(row);
    InstallFixture f(script);
    f.platform.putFile("D:\\zdata_01.dsk", "ABC");
    const auto filesBefore = f.platform.listFiles();
    SCOPED_TRACE(script.substr(0, 200));
    if (row.installed) {
      EXPECT_EQ(f.activate(), "");
      EXPECT_TRUE(f.platform.fileExists(row.installed));
      for (const std::string& path : f.platform.listFiles())
        EXPECT_TRUE(belowAnyOf(path, {"C:\\APP\\", "C:\\WINDOWS\\", "D:\\"})) << path;
      continue;
    }
    const std::string error = f.activate();
    EXPECT_NE(error.find(row.message), std::string::npos) << error;
    EXPECT_EQ(f.platform.listFiles(), filesBefore);
    EXPECT_TRUE(f.platform.createdDirectories().empty());
    EXPECT_FALSE(f.state.Run.Started); // a cancellation now rolls nothing back: nothing was made
  }
}

} // namespace
} // namespace kalvora
