// Expands arbitrary bytes as an archive into C:\t on the in-memory platform:
// every outcome must be a normal end or a kalvora::Exception, and every file
// written must lie below C:\t, unless its stored name is rooted ("\x"), which
// the format takes as a path of its own.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archive/Compress.h"
#include "archive/MemberPaths.h"
#include "platform/MemoryPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kalvora::MemoryPlatform fs;
  fs.createDirectory("C:\\t");
  fs.putFile("C:\\in.zrq", std::string(reinterpret_cast<const char*>(data), size));
  kalvora::TCompress c(fs);
  c.SetTargetPath("C:\\t");
  c.MakeDirectories = true;
  c.Key = 7;
  int reports = 0;
  c.OnShowProgress = [&](std::int32_t& p) {
    if (p < 0 || p > 100) std::abort();
    ++reports;
  };
  (void)c.ExpandArchive("C:\\in.zrq", nullptr); // an error is a normal outcome here
  for (const auto& path : fs.listFiles()) {
    const std::string key = fs.keyOf(path);
    const bool below = key.rfind("C:\\T\\", 0) == 0 && kalvora::isContainedMemberName(key.substr(5));
    if (key != "C:\\IN.ZRQ" && path[0] != '\\' && !below) std::abort();
  }
  return 0;
}
