// Feeds arbitrary bytes to TCompress::ExpandStream as an archive, over an
// in-memory file system, with every member mapped below C:\out the way the
// kalvora tool maps them. Whatever the bytes, nothing may be written or created
// outside C:\out, and nothing but kalvora::Exception may leave the expansion.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "archive/Compress.h"
#include "archive/StoredName.h"
#include "platform/MemoryPlatform.h"

namespace {

const std::string kOut = "C:\\OUT\\";

// The in-memory file system keeps "." and ".." as plain names; Windows does
// not, so the test resolves them (and names of dots only, which Windows trims
// to them) before it asks where a path leads.
bool inside(const std::string& path) {
  const std::string key = kalvora::MemoryPlatform::normalize(path);
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= key.size()) {
    const std::size_t end = std::min(key.find('\\', start), key.size());
    const std::string part = key.substr(start, end - start);
    const bool dots = !part.empty() && part.find_first_not_of(". ") == std::string::npos;
    if (dots && part.find("..") != std::string::npos) {
      if (parts.size() <= 1) return false; // above the drive
      parts.pop_back();
    } else if (!dots && !part.empty()) {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string resolved;
  for (const auto& part : parts)
    resolved += part + "\\";
  return resolved.compare(0, kOut.size(), kOut) == 0 && resolved.size() > kOut.size();
}

void fault(const char* what, const std::string& path) {
  std::fprintf(stderr, "%s: %s\n", what, path.c_str());
  std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kalvora::MemoryPlatform fs;
  fs.setFreeSpace('C', 1 << 20); // bounds what one input can make the expansion write
  fs.createDirectory("C:\\out");
  fs.putFile("C:\\keep.txt", "keep");

  kalvora::TCompress compress(fs);
  compress.MakeDirectories = true;
  compress.Key = (size & 1) ? 12345 : 0; // both sides of the key test
  compress.ExceptionOnFileError = (size & 2) != 0;
  compress.OnCheckFile = [](std::string& path, kalvora::TCProcessMode) {
    const kalvora::StoredNameCheck check = kalvora::checkStoredName(path, '\\');
    path = check.relativePath ? "C:\\out\\" + *check.relativePath : "";
    if (!path.empty() && !inside(path)) fault("a safe name maps outside", path);
  };
  int percentages = 0;
  compress.OnShowProgress = [&percentages](std::int32_t& percent) {
    if (percent < 0 || percent > 100) fault("progress out of range", std::to_string(percent));
    ++percentages;
  };

  // Some inputs walk with a name list, so that skipped members are exercised too.
  std::vector<std::string> list = {"a.txt", "dir\\B.TXT"};
  kalvora::ViewStream source(data, size);
  (void)compress.ExpandStream(source, (size % 3 == 0) ? &list : nullptr); // an error is a normal outcome here

  for (const std::string& file : fs.listFiles())
    if (!inside(file) && kalvora::MemoryPlatform::normalize(file) != "C:\\KEEP.TXT")
      fault("written outside C:\\out", file);
  const auto created = fs.createdDirectories();
  for (std::size_t i = 1; i < created.size(); ++i) // the first is C:\out itself
    if (!inside(created[i])) fault("directory created outside C:\\out", created[i]);
  if (fs.fileContent("C:\\keep.txt") != "keep") fault("a file outside was changed", "C:\\keep.txt");
  return 0;
}
