#include "Unattended.h"

#include <fstream>
#include <stdexcept>

#include "Script.h"
#include "Shell.h"

namespace kvdrive {

void unattendedCommand(const std::vector<std::string>& words, const std::set<std::string>& seen) {
  if (words[0] == "expect-no-window") {
    std::string shown;
    for (const std::string& name : seen)
      shown += (shown.empty() ? "" : ", ") + name;
    if (!shown.empty()) throw std::runtime_error("windows were shown: " + shown);
    return;
  }
  if (words[0] == "expect-no-folder-window") {
    if (words.size() < 2) throw std::runtime_error("usage: expect-no-folder-window MILLISECONDS");
    const std::string shown = folderWindowWithin(std::stoi(words[1]));
    if (!shown.empty()) throw std::runtime_error("the shell showed the folder window " + shown);
    return;
  }
  if (words.size() < 3) throw std::runtime_error("usage: expect-line FILE PATTERN");
  std::ifstream in(words[1], std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + words[1]);
  std::string line, all;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (matches(words[2], line)) return;
    all += "\n  " + line;
  }
  throw std::runtime_error("no line of " + words[1] + " matches \"" + words[2] + "\":" + all);
}

} // namespace kvdrive
