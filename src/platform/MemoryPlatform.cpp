#include "platform/MemoryPlatform.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/IniText.h"

namespace kalvora {
namespace {
// How a number value is told from a string in the registry map.
constexpr const char* kDwordMark = "\x01dword:";
} // namespace

class MemoryPlatform::FileStream : public Stream {
public:
  FileStream(std::shared_ptr<std::vector<std::uint8_t>> bytes, std::shared_ptr<std::vector<std::uint8_t>> synced,
             bool writable, std::int64_t* writeLimit)
      : bytes_(std::move(bytes)), synced_(std::move(synced)), writable_(writable), writeLimit_(writeLimit) {}
  // Closing hands what was written to the system, which keeps it through a power cut.
  ~FileStream() override {
    if (writable_) *synced_ = *bytes_;
  }
  bool flush() override {
    if (writable_) *synced_ = *bytes_;
    return true;
  }

  std::size_t read(void* buffer, std::size_t n) override {
    const auto size = static_cast<std::int64_t>(bytes_->size());
    if (position_ >= size) return 0;
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(n), size - position_));
    std::memcpy(buffer, bytes_->data() + position_, count);
    position_ += static_cast<std::int64_t>(count);
    return count;
  }
  bool truncate() override {
    if (!writable_) return false;
    if (static_cast<std::size_t>(position_) < bytes_->size()) bytes_->resize(static_cast<std::size_t>(position_));
    return true;
  }
  std::size_t write(const void* buffer, std::size_t n) override {
    if (!writable_) return 0;
    if (*writeLimit_ >= 0) {
      n = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(n), *writeLimit_));
      *writeLimit_ -= static_cast<std::int64_t>(n);
    }
    const auto end = static_cast<std::size_t>(position_) + n;
    if (end > bytes_->size()) bytes_->resize(end);
    if (n != 0) std::memcpy(bytes_->data() + position_, buffer, n);
    position_ = static_cast<std::int64_t>(end);
    return n;
  }
  std::int64_t position() const override { return position_; }
  void seek(std::int64_t position) override { position_ = position < 0 ? 0 : position; }
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_->size()); }

private:
  std::shared_ptr<std::vector<std::uint8_t>> bytes_, synced_;
  bool writable_;
  std::int64_t* writeLimit_;
  std::int64_t position_ = 0;
};

MemoryPlatform::MemoryPlatform() {
  for (char d = 'A'; d <= 'Z'; ++d)
    directories_.insert(std::string(1, d) + ":");
}

std::string MemoryPlatform::normalize(const std::string& path) {
  std::string key;
  key.reserve(path.size());
  for (char c : path)
    key += c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  while (key.size() > 2 && key.back() == '\\')
    key.pop_back();
  return key;
}

std::string MemoryPlatform::keyOf(const std::string& path) const {
  // A path rooted without a drive ("\x") is on the current drive.
  std::string key = normalize(path);
  if (!key.empty() && key[0] == '\\' && (key.size() < 2 || key[1] != '\\'))
    key = std::string(1, currentDrive_) + ":" + key;
  return key;
}

bool MemoryPlatform::parentExists(const std::string& key) const {
  const auto slash = key.find_last_of('\\');
  if (slash == std::string::npos) return false;
  return directories_.count(key.substr(0, slash)) != 0;
}

std::string MemoryPlatform::readProfileString(const std::string& file, const std::string& section,
                                              const std::string& key, const std::string& defaultValue) {
  return iniRead(fileContent(file).value_or(""), section, key, defaultValue);
}

bool MemoryPlatform::writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                                        const std::string& value) {
  const std::string key_ = keyOf(file);
  if (failCreate_.count(key_) || !parentExists(key_)) return false;
  auto it = files_.find(key_);
  if (it != files_.end() && (it->second.attributes & kAttrReadOnly)) return false;
  // The file is rewritten where it is, as Windows does: it keeps its attributes.
  const std::uint32_t attributes = it != files_.end() ? it->second.attributes : kAttrArchive;
  putFile(file, iniWrite(fileContent(file).value_or(""), section, key, value), attributes);
  return true;
}

std::unique_ptr<Stream> MemoryPlatform::openFile(const std::string& path, OpenMode mode) {
  const std::string key = keyOf(path);
  if (locked_.count(key)) return nullptr;
  auto it = files_.find(key);
  if (mode == OpenMode::Create) {
    if (failCreate_.count(key) || directories_.count(key) || !parentExists(key)) return nullptr;
    if (it != files_.end() && (it->second.attributes & kAttrReadOnly)) return nullptr;
    if (it == files_.end()) it = files_.emplace(key, File{path}).first;
    it->second.bytes->clear();
    it->second.synced->clear();
    return std::make_unique<FileStream>(it->second.bytes, it->second.synced, true, &writeLimit_);
  }
  if (it == files_.end()) return nullptr;
  if (mode == OpenMode::ReadWrite && (it->second.attributes & kAttrReadOnly)) return nullptr;
  return std::make_unique<FileStream>(it->second.bytes, it->second.synced, mode == OpenMode::ReadWrite, &writeLimit_);
}

std::optional<FileInfo> MemoryPlatform::fileInfo(const std::string& path) { return storedInfo(path); }

std::optional<FileInfo> MemoryPlatform::storedInfo(const std::string& path) const {
  const std::string key = keyOf(path);
  if (directories_.count(key)) return FileInfo{0, 0, kAttrDirectory, true};
  auto it = files_.find(key);
  if (it == files_.end()) return std::nullopt;
  return FileInfo{static_cast<std::int64_t>(it->second.bytes->size()), it->second.dosDateTime, it->second.attributes,
                  false};
}

bool MemoryPlatform::createDirectory(const std::string& path) {
  const std::string key = keyOf(path);
  if (directories_.count(key) || files_.count(key) || failCreate_.count(key) || !parentExists(key)) return false;
  directories_.insert(key);
  nameDirectory(key, path);
  createdDirectories_.push_back(path);
  return true;
}

bool MemoryPlatform::deleteFile(const std::string& path) {
  if (locked_.count(keyOf(path))) return false;
  auto it = files_.find(keyOf(path));
  if (it == files_.end() || (it->second.attributes & kAttrReadOnly)) return false;
  files_.erase(it);
  return true;
}

bool MemoryPlatform::moveFile(const std::string& source, const std::string& target) {
  const std::string from = keyOf(source), to = keyOf(target);
  auto it = files_.find(from);
  if (it == files_.end() || locked_.count(from) || locked_.count(to)) return false;
  if (from.substr(0, 2) != to.substr(0, 2) || directories_.count(to) || failCreate_.count(to) || !parentExists(to))
    return false;
  if (from == to) return true;
  auto there = files_.find(to);
  if (there != files_.end() && (there->second.attributes & kAttrReadOnly)) return false;
  File moved = it->second;
  moved.displayPath = target;
  files_.erase(it);
  files_[to] = std::move(moved);
  return true;
}

bool MemoryPlatform::removeDirectory(const std::string& path) {
  const std::string key = keyOf(path);
  if (!directories_.count(key) || key.size() <= 2) return false;
  const std::string prefix = key + "\\";
  auto below = [&](const std::string& other) { return other.rfind(prefix, 0) == 0; };
  auto dir = directories_.lower_bound(prefix);
  if (dir != directories_.end() && below(*dir)) return false;
  auto file = files_.lower_bound(prefix);
  if (file != files_.end() && below(file->first)) return false;
  directories_.erase(key);
  return true;
}

std::vector<std::string> MemoryPlatform::readProfileKeys(const std::string& file, const std::string& section) {
  return iniKeys(fileContent(file).value_or(""), section);
}

bool MemoryPlatform::deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) {
  const auto content = fileContent(file);
  if (!content) return true;
  auto it = files_.find(keyOf(file));
  if (it->second.attributes & kAttrReadOnly) return false;
  const std::string updated = iniDelete(*content, section, key);
  it->second.bytes->assign(updated.begin(), updated.end());
  *it->second.synced = *it->second.bytes;
  return true;
}

bool MemoryPlatform::setFileDosTime(const std::string& path, std::uint32_t dosDateTime) {
  auto it = files_.find(keyOf(path));
  if (it == files_.end()) return false;
  it->second.dosDateTime = dosDateTime;
  return true;
}

bool MemoryPlatform::setFileAttributes(const std::string& path, std::uint32_t attributes) {
  auto it = files_.find(keyOf(path));
  if (it == files_.end()) return false;
  it->second.attributes = attributes;
  return true;
}

std::int64_t MemoryPlatform::freeDiskSpace(const std::string& path) {
  const char drive = driveLetterOf(path).value_or(currentDrive_);
  auto it = freeSpace_.find(drive);
  return it == freeSpace_.end() ? std::int64_t{1} << 30 : it->second;
}

void MemoryPlatform::setFreeSpace(char drive, std::int64_t bytes) {
  freeSpace_[static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))] = bytes;
}

void MemoryPlatform::putFile(const std::string& path, const std::string& content, std::uint32_t attributes) {
  const std::string key = keyOf(path);
  // Parents come into being with the file, as a test's fixture expects.
  for (auto slash = key.find('\\'); slash != std::string::npos; slash = key.find('\\', slash + 1)) {
    directories_.insert(key.substr(0, slash));
    nameDirectory(key.substr(0, slash), path.substr(0, slash));
  }
  File& file = files_[key];
  if (file.displayPath.empty()) file.displayPath = path;
  file.bytes->assign(content.begin(), content.end());
  *file.synced = *file.bytes;
  file.attributes = attributes;
}

void MemoryPlatform::powerCut() {
  for (auto& [key, file] : files_)
    *file.bytes = *file.synced;
}

void MemoryPlatform::nameDirectory(const std::string& key, const std::string& path) {
  std::string name = path;
  for (char& c : name)
    if (c == '/') c = '\\';
  while (name.size() > 2 && name.back() == '\\')
    name.pop_back();
  directoryNames_.emplace(key, name);
}

void MemoryPlatform::putDirectory(const std::string& path) {
  const std::string key = normalize(path);
  for (auto slash = key.find('\\'); slash != std::string::npos; slash = key.find('\\', slash + 1)) {
    directories_.insert(key.substr(0, slash));
    nameDirectory(key.substr(0, slash), path.substr(0, slash));
  }
  directories_.insert(key);
  nameDirectory(key, path);
}

std::string MemoryPlatform::driveCurrentDirectory(char drive) {
  auto it = driveDirectories_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(drive))));
  return it == driveDirectories_.end() ? std::string(1, drive) + ":\\" : it->second;
}

std::optional<std::vector<std::string>> MemoryPlatform::listSubdirectories(const std::string& dir) {
  const std::string key = normalize(dir);
  if (!directories_.count(key) || notReady_.count(key[0])) return std::nullopt;
  const std::string prefix = key + "\\";
  std::vector<std::string> names;
  for (auto it = directories_.lower_bound(prefix);
       it != directories_.end() && it->compare(0, prefix.size(), prefix) == 0; ++it) {
    if (it->find('\\', prefix.size()) != std::string::npos) continue;
    auto named = directoryNames_.find(*it);
    const std::string& full = named == directoryNames_.end() ? *it : named->second;
    names.push_back(full.substr(prefix.size()));
  }
  return names;
}

std::optional<std::string> MemoryPlatform::fileContent(const std::string& path) const {
  auto it = files_.find(keyOf(path));
  if (it == files_.end()) return std::nullopt;
  return std::string(it->second.bytes->begin(), it->second.bytes->end());
}

std::optional<ShellLink> MemoryPlatform::readShellLink(const std::string& path) {
  const auto content = fileContent(path);
  if (!content) return std::nullopt;
  const auto first = content->find('\n');
  const auto second = first == std::string::npos ? first : content->find('\n', first + 1);
  if (second == std::string::npos) return std::nullopt;
  return ShellLink{content->substr(0, first), content->substr(first + 1, second - first - 1),
                   content->substr(second + 1)};
}

bool MemoryPlatform::writeShellLink(const std::string& path, const ShellLink& link) {
  const std::string key = keyOf(path);
  if (failCreate_.count(key) || locked_.count(key) || !parentExists(key)) return false;
  putFile(path, link.target + "\n" + link.arguments + "\n" + link.workingDirectory);
  return true;
}

std::vector<std::string> MemoryPlatform::listFiles() const {
  std::vector<std::string> paths;
  for (const auto& [key, file] : files_)
    paths.push_back(file.displayPath);
  return paths;
}

std::string MemoryPlatform::registryKey(RegistryRoot root, const std::string& keyPath) {
  std::string key = normalize(keyPath);
  while (!key.empty() && key.front() == '\\')
    key.erase(0, 1);
  return std::to_string(static_cast<int>(root)) + "\\" + key;
}

const std::string* MemoryPlatform::storedValue(RegistryRoot root, const std::string& keyPath,
                                               const std::string& valueName) const {
  const auto it = registry_.find(registryKey(root, keyPath));
  if (it == registry_.end()) return nullptr;
  const auto value = it->second.find(normalize(valueName));
  return value == it->second.end() ? nullptr : &value->second;
}

std::optional<std::string> MemoryPlatform::readRegistryString(RegistryRoot root, const std::string& keyPath,
                                                              const std::string& valueName) {
  if (refusedKeys_.count(registryKey(root, keyPath))) return std::nullopt;
  const std::string* value = storedValue(root, keyPath, valueName);
  if (!value || value->rfind(kDwordMark, 0) == 0) return std::nullopt;
  return *value;
}

std::optional<std::uint32_t> MemoryPlatform::readRegistryDword(RegistryRoot root, const std::string& keyPath,
                                                               const std::string& valueName) {
  if (refusedKeys_.count(registryKey(root, keyPath))) return std::nullopt;
  return registryDword(root, keyPath, valueName);
}

bool MemoryPlatform::writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                        std::uint32_t value) {
  if (refusedKeys_.count(registryKey(root, keyPath))) return false;
  putRegistryString(root, keyPath, valueName, kDwordMark + std::to_string(value));
  return true;
}

std::optional<std::uint32_t> MemoryPlatform::registryDword(RegistryRoot root, const std::string& keyPath,
                                                           const std::string& valueName) const {
  const std::string* value = storedValue(root, keyPath, valueName);
  if (!value || value->rfind(kDwordMark, 0) != 0) return std::nullopt;
  return static_cast<std::uint32_t>(std::stoul(value->substr(std::strlen(kDwordMark))));
}

void MemoryPlatform::putRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                       const std::string& value) {
  addRegistryKey(registryKey(root, keyPath))[normalize(valueName)] = value;
}

std::map<std::string, std::string>& MemoryPlatform::addRegistryKey(const std::string& key) {
  // Parents come into being with the key, as in the registry; the root ("1") is no key.
  for (auto slash = key.find('\\', 2); slash != std::string::npos; slash = key.find('\\', slash + 1))
    registry_[key.substr(0, slash)];
  return registry_[key];
}

void MemoryPlatform::refuseRegistryKey(RegistryRoot root, const std::string& keyPath) {
  refusedKeys_.insert(registryKey(root, keyPath));
}

bool MemoryPlatform::writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                         const std::string& value) {
  if (refusedKeys_.count(registryKey(root, keyPath))) return false;
  putRegistryString(root, keyPath, valueName, value);
  return true;
}

bool MemoryPlatform::createRegistryKey(RegistryRoot root, const std::string& keyPath) {
  const std::string key = registryKey(root, keyPath);
  if (refusedKeys_.count(key)) return false;
  addRegistryKey(key);
  return true;
}

bool MemoryPlatform::registryKeyExists(RegistryRoot root, const std::string& keyPath) {
  const std::string key = registryKey(root, keyPath);
  if (registry_.count(key)) return true;
  const auto below = registry_.lower_bound(key + "\\");
  return below != registry_.end() && below->first.compare(0, key.size() + 1, key + "\\") == 0;
}

bool MemoryPlatform::deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) {
  const std::string key = registryKey(root, keyPath);
  if (refusedKeys_.count(key)) return false;
  auto it = registry_.find(key);
  if (it != registry_.end()) it->second.erase(normalize(valueName));
  return true;
}

bool MemoryPlatform::deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath) {
  const std::string key = registryKey(root, keyPath);
  auto it = registry_.find(key);
  if (refusedKeys_.count(key) || it == registry_.end() || !it->second.empty()) return false;
  auto below = registry_.lower_bound(key + "\\");
  if (below != registry_.end() && below->first.rfind(key + "\\", 0) == 0) return false;
  registry_.erase(it);
  return true;
}

bool MemoryPlatform::startProgram(const std::string& commandLine) {
  startedPrograms_.push_back(commandLine);
  for (const std::string& prefix : failedStarts_)
    if (commandLine.rfind(prefix, 0) == 0) return false;
  return true;
}

bool MemoryPlatform::endSession(SessionEnd how) {
  sessionEnds_.push_back(how);
  return !refuseSessionEnd_;
}

bool MemoryPlatform::startHiddenProgram(const std::string& commandLine) {
  hiddenPrograms_.push_back(commandLine);
  return true;
}

MessageResult MemoryPlatform::messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                         MessageIcon icon) {
  shownBoxes_.push_back({text, caption, buttons, icon});
  if (answers_.empty()) return Platform::messageBox(text, caption, buttons, icon);
  const MessageResult answer = answers_.front();
  answers_.pop_front();
  return answer;
}

} // namespace kalvora
