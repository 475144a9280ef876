#include "platform/FaultPlatform.h"

namespace kalvora {

const char* faultKindName(FaultKind kind) {
  static const char* const kNames[kFaultKinds] = {"create file",      "write file",    "read file", "copy file",
                                                  "create directory", "free space",    "INI write", "registry key",
                                                  "registry value",   "program start", "shell link"};
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
    return platform_.fails(FaultKind::WriteFile) ? 0 : inner_->write(buffer, n);
  }
  std::int64_t position() const override { return inner_->position(); }
  void seek(std::int64_t position) override { inner_->seek(position); }
  std::int64_t size() const override { return inner_->size(); }
  bool truncate() override { return inner_->truncate(); }

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

bool FaultPlatform::fails(FaultKind kind) {
  const int call = ++calls_[index(kind)];
  const bool fail = at_ > 0 && kind == kind_ && (call == at_ || (persistent_ && call > at_));
  struck_ = struck_ || fail;
  return fail;
}

bool FaultPlatform::writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                                       const std::string& value) {
  return !fails(FaultKind::IniWrite) && inner_.writeProfileString(file, section, key, value);
}

std::unique_ptr<Stream> FaultPlatform::openFile(const std::string& path, OpenMode mode) {
  if (mode == OpenMode::Create && fails(FaultKind::CreateFile)) return nullptr;
  auto stream = inner_.openFile(path, mode);
  if (!stream) return nullptr;
  return std::make_unique<FaultStream>(std::move(stream), *this);
}

bool FaultPlatform::createDirectory(const std::string& path) {
  return !fails(FaultKind::CreateDirectory) && inner_.createDirectory(path);
}

bool FaultPlatform::copyFile(const std::string& source, const std::string& target) {
  return !fails(FaultKind::CopyFile) && inner_.copyFile(source, target);
}

std::int64_t FaultPlatform::freeDiskSpace(const std::string& path) {
  return fails(FaultKind::FreeSpace) ? -1 : inner_.freeDiskSpace(path);
}

bool FaultPlatform::writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                        const std::string& value) {
  return !fails(FaultKind::RegistryValue) && inner_.writeRegistryString(root, keyPath, valueName, value);
}

bool FaultPlatform::writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                       std::uint32_t value) {
  return !fails(FaultKind::RegistryValue) && inner_.writeRegistryDword(root, keyPath, valueName, value);
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

bool FaultPlatform::writeShellLink(const std::string& path, const ShellLink& link) {
  return !fails(FaultKind::ShellLink) && inner_.writeShellLink(path, link);
}

} // namespace kalvora
