#pragma once
// A platform that hands every call to another one: the base of wrappers that
// change a few calls and leave the rest as they are.
#include "platform/Platform.h"

namespace kalvora {

class ForwardingPlatform : public Platform {
public:
  explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

  std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultValue) override {
    return inner_.readProfileString(file, section, key, defaultValue);
  }
  bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override {
    return inner_.writeProfileString(file, section, key, value);
  }
  std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) override {
    return inner_.openFile(path, mode);
  }
  std::optional<FileInfo> fileInfo(const std::string& path) override { return inner_.fileInfo(path); }
  bool createDirectory(const std::string& path) override { return inner_.createDirectory(path); }
  bool deleteFile(const std::string& path) override { return inner_.deleteFile(path); }
  bool setFileDosTime(const std::string& path, std::uint32_t dosDateTime) override {
    return inner_.setFileDosTime(path, dosDateTime);
  }
  bool setFileAttributes(const std::string& path, std::uint32_t attributes) override {
    return inner_.setFileAttributes(path, attributes);
  }
  bool moveFile(const std::string& source, const std::string& target) override {
    return inner_.moveFile(source, target);
  }
  std::optional<std::uint32_t> readRegistryDword(RegistryRoot root, const std::string& keyPath,
                                                 const std::string& valueName) override {
    return inner_.readRegistryDword(root, keyPath, valueName);
  }
  bool writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                          std::uint32_t value) override {
    return inner_.writeRegistryDword(root, keyPath, valueName, value);
  }
  bool copyFile(const std::string& source, const std::string& target) override {
    return inner_.copyFile(source, target);
  }
  std::string windowsDirectory() override { return inner_.windowsDirectory(); }
  std::int64_t freeDiskSpace(const std::string& path) override { return inner_.freeDiskSpace(path); }
  char currentDrive() override { return inner_.currentDrive(); }
  std::string driveLetters() override { return inner_.driveLetters(); }
  std::string driveCurrentDirectory(char drive) override { return inner_.driveCurrentDirectory(drive); }
  std::optional<std::vector<std::string>> listSubdirectories(const std::string& dir) override {
    return inner_.listSubdirectories(dir);
  }
  void yield() override { inner_.yield(); }
  std::unique_ptr<Worker> startWorker(WorkerJob job) override { return inner_.startWorker(std::move(job)); }
  std::unique_ptr<Stream> openFileForWorker(const std::string& path) override { return inner_.openFileForWorker(path); }
  std::optional<std::string> readRegistryString(RegistryRoot root, const std::string& keyPath,
                                                const std::string& valueName) override {
    return inner_.readRegistryString(root, keyPath, valueName);
  }
  bool writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                           const std::string& value) override {
    return inner_.writeRegistryString(root, keyPath, valueName, value);
  }
  bool registryValueExists(RegistryRoot root, const std::string& keyPath, const std::string& valueName) override {
    return inner_.registryValueExists(root, keyPath, valueName);
  }
  bool createRegistryKey(RegistryRoot root, const std::string& keyPath) override {
    return inner_.createRegistryKey(root, keyPath);
  }
  bool registryKeyExists(RegistryRoot root, const std::string& keyPath) override {
    return inner_.registryKeyExists(root, keyPath);
  }
  bool sendShellCommands(const std::string& commands) override { return inner_.sendShellCommands(commands); }
  std::string programsFolder(bool common) override { return inner_.programsFolder(common); }
  std::optional<ShellLink> readShellLink(const std::string& path) override { return inner_.readShellLink(path); }
  bool writeShellLink(const std::string& path, const ShellLink& link) override {
    return inner_.writeShellLink(path, link);
  }
  bool startProgram(const std::string& commandLine) override { return inner_.startProgram(commandLine); }
  bool startHiddenProgram(const std::string& commandLine) override { return inner_.startHiddenProgram(commandLine); }
  bool takeInstallerLock() override { return inner_.takeInstallerLock(); }
  void prepareFaultRollback(const std::string& commandLine) override { inner_.prepareFaultRollback(commandLine); }
  std::optional<std::uint32_t> runHiddenProgram(const std::string& commandLine) override {
    return inner_.runHiddenProgram(commandLine);
  }
  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override {
    return inner_.messageBox(text, caption, buttons, icon);
  }
  std::string programPath() override { return inner_.programPath(); }
  ScreenSize screenSize() override { return inner_.screenSize(); }
  void processMessages() override { inner_.processMessages(); }
  void processMessagesBetweenBlocks() override { inner_.processMessagesBetweenBlocks(); }
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

protected:
  Platform& inner_;
};

} // namespace kalvora
