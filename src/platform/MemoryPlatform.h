#pragma once
// A platform held wholly in memory, for tests: Windows-style paths ("C:\a\b",
// case-insensitive, "/" taken as "\"), drives with free space that a test sets,
// and failures that a test can arrange.
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/Platform.h"

namespace kalvora {

class MemoryPlatform : public Platform {
public:
  MemoryPlatform();

  std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultValue) override;
  bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override;
  std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) override;
  std::optional<FileInfo> fileInfo(const std::string& path) override;
  bool createDirectory(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
  // A move within one drive; the moved file keeps its bytes, time and attributes.
  bool moveFile(const std::string& source, const std::string& target) override;
  bool setFileDosTime(const std::string& path, std::uint32_t dosDateTime) override;
  bool setFileAttributes(const std::string& path, std::uint32_t attributes) override;
  std::int64_t freeDiskSpace(const std::string& path) override;
  char currentDrive() override { return currentDrive_; }
  std::optional<std::string> readRegistryString(RegistryRoot root, const std::string& keyPath,
                                                const std::string& valueName) override;
  bool writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                           const std::string& value) override;
  // Number values are kept beside the strings, marked so that a string read does not see them.
  std::optional<std::uint32_t> readRegistryDword(RegistryRoot root, const std::string& keyPath,
                                                 const std::string& valueName) override;
  bool writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                          std::uint32_t value) override;
  bool createRegistryKey(RegistryRoot root, const std::string& keyPath) override;
  // A key exists when it was written or created, or holds one that was.
  bool registryKeyExists(RegistryRoot root, const std::string& keyPath) override;
  bool sendShellCommands(const std::string& commands) override {
    shellCommands_.push_back(commands);
    return true;
  }
  std::string programsFolder(bool common) override { return common ? commonPrograms_ : userPrograms_; }
  // A link is a file of three lines: target, arguments, working directory.
  std::optional<ShellLink> readShellLink(const std::string& path) override;
  bool writeShellLink(const std::string& path, const ShellLink& link) override;
  bool startProgram(const std::string& commandLine) override;
  bool startHiddenProgram(const std::string& commandLine) override;
  std::string windowsDirectory() override { return windowsDir_; }
  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override;
  std::string programPath() override { return programPath_; }
  ScreenSize screenSize() override { return screen_; }
  std::string driveLetters() override { return driveLetters_; }
  std::string driveCurrentDirectory(char drive) override;
  std::optional<std::vector<std::string>> listSubdirectories(const std::string& dir) override;
  // Each delivery of messages moves the clock on by secondsPerDelivery (1 unless set).
  void processMessages() override {
    ++messagesProcessed_;
    clock_ += secondsPerDelivery_;
  }
  std::int64_t clockSeconds() override { return clock_; }
  std::string foregroundWindowTitle() override { return foregroundTitle_; }
  bool endSession(SessionEnd how) override;
  bool removeDirectory(const std::string& path) override;
  std::vector<std::string> readProfileKeys(const std::string& file, const std::string& section) override;
  bool deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) override;
  bool deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) override;
  bool deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath) override;
  std::string tempDirectory() override { return tempDir_; }

  // Test set-up and inspection.
  void setCurrentDrive(char drive) { currentDrive_ = drive; }
  // Free bytes reported for a drive; -1 makes it undeterminable. Drives not set report 1 GiB.
  void setFreeSpace(char drive, std::int64_t bytes);
  void putFile(const std::string& path, const std::string& content, std::uint32_t attributes = kAttrArchive);
  std::optional<std::string> fileContent(const std::string& path) const;
  // fileInfo for a platform a test only reads.
  std::optional<FileInfo> storedInfo(const std::string& path) const;
  // A directory and its missing parents, named as written.
  void putDirectory(const std::string& path);
  // The drives present ("C" unless set), a drive's current directory, and drives not ready for listing.
  void setDriveLetters(const std::string& letters) { driveLetters_ = letters; }
  void setDriveCurrentDirectory(char drive, const std::string& dir) { driveDirectories_[drive] = dir; }
  void setDriveNotReady(char drive) { notReady_.insert(drive); }
  // Paths of every file and directory, as first written, in creation order.
  std::vector<std::string> createdDirectories() const { return createdDirectories_; }
  std::vector<std::string> listFiles() const;
  // Arranged failures: creating this file (or directory), or writing past this many bytes into any file.
  void failCreateOf(const std::string& path) { failCreate_.insert(keyOf(path)); }
  void limitWrites(std::int64_t bytes) { writeLimit_ = bytes; }
  // A file a test holds open exclusively, as another program would.
  void lockFile(const std::string& path) { locked_.insert(keyOf(path)); }
  // A power cut: every file falls back to the bytes it had when last flushed or
  // closed; what was written since is lost. Directories, names (a move, a
  // delete), times, attributes, INI files and the registry are kept as they are:
  // the system writes those through. A moved file carries its kept bytes along.
  void powerCut();

  // The desktop: registry values, a key refused for full access, the program's
  // own path, the screen, the answers of coming message boxes (first button when
  // none is queued) and a record of the boxes shown and programs started.
  void putRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                         const std::string& value);
  void refuseRegistryKey(RegistryRoot root, const std::string& keyPath);
  std::optional<std::uint32_t> registryDword(RegistryRoot root, const std::string& keyPath,
                                             const std::string& valueName) const;
  void setProgramPath(const std::string& path) { programPath_ = path; }
  void setScreenSize(int width, int height) { screen_ = {width, height}; }
  void answerNextBox(MessageResult answer) { answers_.push_back(answer); }
  struct ShownBox {
    std::string text, caption;
    MessageButtons buttons;
    MessageIcon icon;
  };
  const std::vector<ShownBox>& shownBoxes() const { return shownBoxes_; }
  const std::vector<std::string>& startedPrograms() const { return startedPrograms_; }
  const std::vector<std::string>& hiddenPrograms() const { return hiddenPrograms_; }
  // Every text handed to the shell, in order.
  const std::vector<std::string>& shellCommands() const { return shellCommands_; }
  void setWindowsDirectory(const std::string& dir) { windowsDir_ = dir; }
  // The Start Menu's Programs folders (none unless set); they are not created here.
  void setProgramsFolders(const std::string& common, const std::string& user) {
    commonPrograms_ = common;
    userPrograms_ = user;
  }
  // Every registry key with its values (upper-case names), keys as "root\PATH", for comparisons;
  // a number value reads as "\x01dword:" and its decimal digits.
  const std::map<std::string, std::map<std::string, std::string>>& registryContents() const { return registry_; }
  // Every directory present, normalized.
  const std::set<std::string>& directories() const { return directories_; }
  // Program starts whose command line begins with prefix fail (they are still recorded).
  void failStartOf(const std::string& prefix) { failedStarts_.push_back(prefix); }
  void setForegroundWindowTitle(const std::string& title) { foregroundTitle_ = title; }
  void setSecondsPerDelivery(std::int64_t seconds) { secondsPerDelivery_ = seconds; }
  // Session ends requested, and whether the next ones are refused.
  const std::vector<SessionEnd>& sessionEnds() const { return sessionEnds_; }
  void refuseSessionEnd() { refuseSessionEnd_ = true; }
  // Another installer runs: takeInstallerLock answers false.
  void holdInstallerLockElsewhere() { lockHeldElsewhere_ = true; }
  bool takeInstallerLock() override { return !lockHeldElsewhere_; }
  void prepareFaultRollback(const std::string& commandLine) override { faultRollback_ = commandLine; }
  // What a fault would start now: the last command line prepared.
  const std::string& faultRollback() const { return faultRollback_; }
  int messagesProcessed() const { return messagesProcessed_; }

  static std::string normalize(const std::string& path);
  // normalize, and a path rooted without a drive put on the current drive.
  std::string keyOf(const std::string& path) const;

private:
  struct File {
    std::string displayPath;
    std::shared_ptr<std::vector<std::uint8_t>> bytes = std::make_shared<std::vector<std::uint8_t>>();
    // What a power cut keeps: the bytes as last flushed or closed.
    std::shared_ptr<std::vector<std::uint8_t>> synced = std::make_shared<std::vector<std::uint8_t>>();
    std::uint32_t dosDateTime = 0;
    std::uint32_t attributes = kAttrArchive;
  };
  bool parentExists(const std::string& key) const;
  void nameDirectory(const std::string& key, const std::string& path);
  class FileStream;

  std::map<std::string, File> files_;
  std::set<std::string> directories_;
  std::map<std::string, std::string> directoryNames_; // key -> path as first written
  std::string driveLetters_ = "C";
  std::map<char, std::string> driveDirectories_;
  std::set<char> notReady_;
  std::vector<std::string> createdDirectories_;
  std::map<char, std::int64_t> freeSpace_;
  std::set<std::string> failCreate_;
  std::set<std::string> locked_;
  std::int64_t writeLimit_ = -1;
  char currentDrive_ = 'C';
  static std::string registryKey(RegistryRoot root, const std::string& keyPath);
  // The stored data of a value (a number marked as such); none when it is missing.
  const std::string* storedValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) const;
  std::map<std::string, std::string>& addRegistryKey(const std::string& key);
  std::map<std::string, std::map<std::string, std::string>> registry_; // key -> upper-case value name -> data
  std::set<std::string> refusedKeys_;
  std::string programPath_ = "C:\\SETUP.EXE";
  ScreenSize screen_{1024, 768};
  std::deque<MessageResult> answers_;
  std::vector<ShownBox> shownBoxes_;
  std::vector<std::string> startedPrograms_;
  std::vector<std::string> hiddenPrograms_;
  std::vector<std::string> shellCommands_;
  std::string windowsDir_ = "C:\\WINDOWS";
  std::string commonPrograms_, userPrograms_;
  std::string tempDir_ = "C:\\TEMP";
  int messagesProcessed_ = 0;
  std::vector<std::string> failedStarts_;
  std::string foregroundTitle_;
  std::int64_t clock_ = 0, secondsPerDelivery_ = 1;
  std::vector<SessionEnd> sessionEnds_;
  bool refuseSessionEnd_ = false;
  bool lockHeldElsewhere_ = false;
  std::string faultRollback_;
};

} // namespace kalvora
