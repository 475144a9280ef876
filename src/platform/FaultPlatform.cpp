#include "platform/FaultPlatform.h"

namespace kalvora {

const char* faultKindName(FaultKind kind) {
  static const char* const kNames[kFaultKinds] = {
      "create file",  "write file",      "read file",     "copy file",  "create directory", "free space", "INI write",
      "registry key", "registry value",  "program start", "shell link", "move file",        "open file",  "delete",
      "file time",    "file attributes", "shell command", "INI delete", "registry delete",  "flush file"};
  return kNames[static_cast<std::size_t>(kind)];
}

// A stream of the wrapped platform whose reads or writes count as calls.
class FaultPlatform::FaultStream : public Stream {
public:
  FaultStream(std::unique_ptr<Stream> inner, FaultPlatform& platform) : inner_(std::move(inner)), platform_(platform) {}
  std::size_t read(void* buffer, std::size_t n) override {
    return platform_.fails(FaultKind::ReadFile) ? 0 : inner_->read(buffer, n);
  }
  std::size_t write(const void* buffer, std::size_t n) override {
    return platform_.failsWrite(*inner_, buffer, n) ? 0 : inner_->write(buffer, n);
  }
  std::int64_t position() const override { return inner_->position(); }
  void seek(std::int64_t position) override { inner_->seek(position); }
  std::int64_t size() const override { return inner_->size(); }
  bool truncate() override { return !platform_.fails(FaultKind::FlushFile) && inner_->truncate(); }
  bool flush() override { return !platform_.fails(FaultKind::FlushFile) && inner_->flush(); }
  bool setDosTime(std::uint32_t dosDateTime) override {
    return !platform_.fails(FaultKind::FileTime) && inner_->setDosTime(dosDateTime);
  }

private:
  std::unique_ptr<Stream> inner_;
  FaultPlatform& platform_;
};

void FaultPlatform::failAt(FaultKind kind, int n, bool persistent) {
  kind_ = kind;
  at_ = n;
  persistent_ = persistent;
  struck_ = false;
}

int FaultPlatform::totalCalls() const {
  int total = 0;
  for (int count : calls_)
    total += count;
  return total;
}

bool FaultPlatform::failsWrite(Stream& inner, const void* buffer, std::size_t n) {
  beforeCall(FaultKind::WriteFile, &inner, buffer, n);
  return count(FaultKind::WriteFile);
}

bool FaultPlatform::fails(FaultKind kind) {
  beforeCall(kind, nullptr, nullptr, 0);
  return count(kind);
}

bool FaultPlatform::count(FaultKind kind) {
  const int call = ++calls_[index(kind)];
  const bool fail = everything_ || (at_ > 0 && kind == kind_ && (call == at_ || (persistent_ && call > at_)));
  struck_ = struck_ || fail;
  return fail;
}

bool FaultPlatform::writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                                       const std::string& value) {
  return !fails(FaultKind::IniWrite) && inner_.writeProfileString(file, section, key, value);
}

std::unique_ptr<Stream> FaultPlatform::openFile(const std::string& path, OpenMode mode) {
  if (fails(mode == OpenMode::Create ? FaultKind::CreateFile : FaultKind::OpenFile)) return nullptr;
  auto stream = inner_.openFile(path, mode);
  if (!stream) return nullptr;
  return std::make_unique<FaultStream>(std::move(stream), *this);
}

bool FaultPlatform::createDirectory(const std::string& path) {
  return !fails(FaultKind::CreateDirectory) && inner_.createDirectory(path);
}

bool FaultPlatform::copyFile(const std::string& source, const std::string& target) {
  return !fails(FaultKind::CopyFile) && Platform::copyFile(source, target);
}

std::int64_t FaultPlatform::freeDiskSpace(const std::string& path) {
  return fails(FaultKind::FreeSpace) ? -1 : inner_.freeDiskSpace(path);
}

bool FaultPlatform::moveFile(const std::string& source, const std::string& target) {
  return !fails(FaultKind::MoveFile) && inner_.moveFile(source, target);
}

bool FaultPlatform::writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                       std::uint32_t value) {
  return !fails(FaultKind::RegistryValue) && inner_.writeRegistryDword(root, keyPath, valueName, value);
}

bool FaultPlatform::writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                        const std::string& value) {
  return !fails(FaultKind::RegistryValue) && inner_.writeRegistryString(root, keyPath, valueName, value);
}

bool FaultPlatform::createRegistryKey(RegistryRoot root, const std::string& keyPath) {
  return !fails(FaultKind::RegistryKey) && inner_.createRegistryKey(root, keyPath);
}

bool FaultPlatform::startProgram(const std::string& commandLine) {
  return !fails(FaultKind::ProgramStart) && inner_.startProgram(commandLine);
}

bool FaultPlatform::startHiddenProgram(const std::string& commandLine) {
  return !fails(FaultKind::ProgramStart) && inner_.startHiddenProgram(commandLine);
}

std::optional<std::uint32_t> FaultPlatform::runHiddenProgram(const std::string& commandLine) {
  if (fails(FaultKind::ProgramStart)) return std::nullopt;
  return inner_.runHiddenProgram(commandLine);
}

std::unique_ptr<Stream> FaultPlatform::openFileForWorker(const std::string& path) {
  if (fails(FaultKind::OpenFile)) return nullptr;
  auto stream = inner_.openFileForWorker(path);
  if (!stream) return nullptr;
  return std::make_unique<FaultStream>(std::move(stream), *this);
}

bool FaultPlatform::deleteFile(const std::string& path) {
  return !fails(FaultKind::DeleteFile) && inner_.deleteFile(path);
}

bool FaultPlatform::removeDirectory(const std::string& path) {
  return !fails(FaultKind::DeleteFile) && inner_.removeDirectory(path);
}

bool FaultPlatform::setFileDosTime(const std::string& path, std::uint32_t dosDateTime) {
  return !fails(FaultKind::FileTime) && inner_.setFileDosTime(path, dosDateTime);
}

bool FaultPlatform::setFileAttributes(const std::string& path, std::uint32_t attributes) {
  return !fails(FaultKind::FileAttributes) && inner_.setFileAttributes(path, attributes);
}

bool FaultPlatform::sendShellCommands(const std::string& commands) {
  return !fails(FaultKind::ShellCommand) && inner_.sendShellCommands(commands);
}

bool FaultPlatform::deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) {
  return !fails(FaultKind::IniDelete) && inner_.deleteProfileKey(file, section, key);
}

bool FaultPlatform::deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) {
  return !fails(FaultKind::RegistryDelete) && inner_.deleteRegistryValue(root, keyPath, valueName);
}

bool FaultPlatform::deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath) {
  return !fails(FaultKind::RegistryDelete) && inner_.deleteEmptyRegistryKey(root, keyPath);
}

bool FaultPlatform::writeShellLink(const std::string& path, const ShellLink& link) {
  return !fails(FaultKind::ShellLink) && inner_.writeShellLink(path, link);
}

} // namespace kalvora
