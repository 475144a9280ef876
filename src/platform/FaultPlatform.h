#pragma once
// A platform that wraps another and makes chosen calls fail: the n-th call of
// one kind, or every call of that kind from the n-th on (a disk that is full
// from then on). Everything else goes to the wrapped platform unchanged. It
// counts the calls of each kind, so a test can first run without a fault to
// learn how many fault points a run has, then fail each one in turn.
#include <array>

#include "platform/Platform.h"

namespace kalvora {

enum class FaultKind {
  CreateFile,      // openFile for creating
  WriteFile,       // one write of a stream opened by this platform
  ReadFile,        // one read of a stream opened for reading (a volume that vanishes)
  CopyFile,        // copyFile
  CreateDirectory, // createDirectory
  FreeSpace,       // freeDiskSpace answers -1 (cannot be determined)
  IniWrite,        // writeProfileString
  RegistryKey,     // createRegistryKey
  RegistryValue,   // writeRegistryString
  ProgramStart,    // startProgram, startHiddenProgram
  ShellLink,       // writeShellLink
};
inline constexpr std::size_t kFaultKinds = 11;

const char* faultKindName(FaultKind kind);

class FaultPlatform : public Platform {
public:
  explicit FaultPlatform(Platform& inner) : inner_(inner) {}

  // Fails call number n (1-based) of kind; with persistent, every later one too.
  // One fault at a time: a new one replaces the last.
  void failAt(FaultKind kind, int n, bool persistent = false);
  // Calls of a kind so far, and whether the arranged fault has struck.
  int calls(FaultKind kind) const { return calls_[index(kind)]; }
  bool struck() const { return struck_; }

  std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultValue) override {
    return inner_.readProfileString(file, section, key, defaultValue);
  }
  bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override;
  std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) override;
  std::optional<FileInfo> fileInfo(const std::string& path) override { return inner_.fileInfo(path); }
  bool createDirectory(const std::string& path) override;
  bool deleteFile(const std::string& path) override { return inner_.deleteFile(path); }
  bool setFileDosTime(const std::string& path, std::uint32_t dosDateTime) override {
    return inner_.setFileDosTime(path, dosDateTime);
  }
  bool setFileAttributes(const std::string& path, std::uint32_t attributes) override {
    return inner_.setFileAttributes(path, attributes);
  }
  bool copyFile(const std::string& source, const std::string& target) override;
  std::string windowsDirectory() override { return inner_.windowsDirectory(); }
  std::int64_t freeDiskSpace(const std::string& path) override;
  char currentDrive() override { return inner_.currentDrive(); }
  std::string driveLetters() override { return inner_.driveLetters(); }
  std::string driveCurrentDirectory(char drive) override { return inner_.driveCurrentDirectory(drive); }
  std::optional<std::vector<std::string>> listSubdirectories(const std::string& dir) override {
    return inner_.listSubdirectories(dir);
  }
  void yield() override { inner_.yield(); }
  std::optional<std::string> readRegistryString(RegistryRoot root, const std::string& keyPath,
                                                const std::string& valueName) override {
    return inner_.readRegistryString(root, keyPath, valueName);
  }
  bool writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                           const std::string& value) override;
  bool createRegistryKey(RegistryRoot root, const std::string& keyPath) override;
  bool registryKeyExists(RegistryRoot root, const std::string& keyPath) override {
    return inner_.registryKeyExists(root, keyPath);
  }
  bool sendShellCommands(const std::string& commands) override { return inner_.sendShellCommands(commands); }
  std::string programsFolder(bool common) override { return inner_.programsFolder(common); }
  std::optional<ShellLink> readShellLink(const std::string& path) override { return inner_.readShellLink(path); }
  bool writeShellLink(const std::string& path, const ShellLink& link) override;
  bool startProgram(const std::string& commandLine) override;
  bool startHiddenProgram(const std::string& commandLine) override;
  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override {
    return inner_.messageBox(text, caption, buttons, icon);
  }
  std::string programPath() override { return inner_.programPath(); }
  ScreenSize screenSize() override { return inner_.screenSize(); }
  void processMessages() override { inner_.processMessages(); }
  std::string foregroundWindowTitle() override { return inner_.foregroundWindowTitle(); }
  std::int64_t clockSeconds() override { return inner_.clockSeconds(); }
  DosTime localTime() override { return inner_.localTime(); }
  bool endSession(SessionEnd how) override { return inner_.endSession(how); }
  bool removeDirectory(const std::string& path) override { return inner_.removeDirectory(path); }
  std::vector<std::string> readProfileKeys(const std::string& file, const std::string& section) override {
    return inner_.readProfileKeys(file, section);
  }
  bool deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) override {
    return inner_.deleteProfileKey(file, section, key);
  }
  bool deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) override {
    return inner_.deleteRegistryValue(root, keyPath, valueName);
  }
  bool deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath) override {
    return inner_.deleteEmptyRegistryKey(root, keyPath);
  }
  std::string tempDirectory() override { return inner_.tempDirectory(); }
  void requestQuit() override { inner_.requestQuit(); }
  bool terminated() override { return inner_.terminated(); }

  // Counts a call of kind; true when it is to fail.
  bool fails(FaultKind kind);

private:
  static std::size_t index(FaultKind kind) { return static_cast<std::size_t>(kind); }
  class FaultStream;

  Platform& inner_;
  std::array<int, kFaultKinds> calls_{};
  FaultKind kind_ = FaultKind::CreateFile;
  int at_ = 0; // 0: no fault arranged
  bool persistent_ = false;
  bool struck_ = false;
};

} // namespace kalvora
