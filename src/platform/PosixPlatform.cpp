// The platform of native builds: POSIX files, INI files through the portable
// reader and writer. There are no drive letters; every path is on drive C.
#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/IniText.h"
#include "platform/Platform.h"
#include "platform/SystemWorker.h"

namespace kalvora {
namespace {

class FdStream : public Stream {
public:
  explicit FdStream(int fd) : fd_(fd) {}
  ~FdStream() override { ::close(fd_); }
  FdStream(const FdStream&) = delete;
  FdStream& operator=(const FdStream&) = delete;

  std::size_t read(void* buffer, std::size_t n) override {
    std::size_t done = 0;
    while (done < n) {
      const ssize_t got = ::read(fd_, static_cast<char*>(buffer) + done, n - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    position_ += static_cast<std::int64_t>(done);
    return done;
  }
  std::size_t write(const void* buffer, std::size_t n) override {
    std::size_t done = 0;
    while (done < n) {
      const ssize_t put = ::write(fd_, static_cast<const char*>(buffer) + done, n - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) break;
      done += static_cast<std::size_t>(put);
    }
    position_ += static_cast<std::int64_t>(done);
    return done;
  }
  std::int64_t position() const override { return position_; }
  void seek(std::int64_t position) override {
    const off_t at = ::lseek(fd_, static_cast<off_t>(position < 0 ? 0 : position), SEEK_SET);
    if (at >= 0) position_ = at;
  }
  std::int64_t size() const override {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
  }
  bool truncate() override { return ::ftruncate(fd_, static_cast<off_t>(position_)) == 0; }
  bool flush() override { return ::fsync(fd_) == 0; }

private:
  int fd_;
  std::int64_t position_ = 0;
};

std::string readWholeFile(const std::string& path, bool& exists) {
  std::ifstream in(path, std::ios::binary);
  exists = static_cast<bool>(in);
  std::ostringstream text;
  if (exists) text << in.rdbuf();
  return text.str();
}

std::string parentOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

class PosixPlatform : public Platform {
public:
  std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultValue) override {
    bool exists = false;
    const std::string text = readWholeFile(file, exists);
    return iniRead(text, section, key, defaultValue);
  }

  bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override {
    bool exists = false;
    const std::string text = readWholeFile(file, exists);
    const std::string updated = iniWrite(text, section, key, value);
    // Written beside the file and renamed over it, so a failed write loses nothing.
    const std::string temp = file + ".kvr-tmp";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      if (!out) return false;
      out.write(updated.data(), static_cast<std::streamsize>(updated.size()));
      out.close();
      if (!out) {
        ::unlink(temp.c_str());
        return false;
      }
    }
    if (::rename(temp.c_str(), file.c_str()) != 0) {
      ::unlink(temp.c_str());
      return false;
    }
    return true;
  }

  std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) override {
    int flags = O_RDONLY;
    if (mode == OpenMode::ReadWrite) flags = O_RDWR;
    if (mode == OpenMode::Create) flags = O_RDWR | O_CREAT | O_TRUNC;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    if (mode == OpenMode::ReadExclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<FdStream>(fd);
  }

  std::optional<FileInfo> fileInfo(const std::string& path) override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    FileInfo info;
    info.isDirectory = S_ISDIR(st.st_mode);
    info.size = info.isDirectory ? 0 : static_cast<std::int64_t>(st.st_size);
    info.attributes = info.isDirectory ? kAttrDirectory : kAttrArchive;
    if ((st.st_mode & S_IWUSR) == 0) info.attributes |= kAttrReadOnly;
    std::tm local{};
    const std::time_t mtime = st.st_mtime;
    localtime_r(&mtime, &local);
    info.dosDateTime = packDosDateTime(
        {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec});
    return info;
  }

  bool createDirectory(const std::string& path) override { return ::mkdir(path.c_str(), 0755) == 0; }

  bool deleteFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  bool moveFile(const std::string& source, const std::string& target) override {
    return ::rename(source.c_str(), target.c_str()) == 0;
  }

  bool setFileDosTime(const std::string& path, std::uint32_t dosDateTime) override {
    const DosTime t = unpackDosDateTime(dosDateTime);
    std::tm local{};
    local.tm_year = t.year - 1900;
    local.tm_mon = t.month - 1;
    local.tm_mday = t.day;
    local.tm_hour = t.hour;
    local.tm_min = t.minute;
    local.tm_sec = t.second;
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    if (when == static_cast<std::time_t>(-1)) return false;
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT; // access time untouched
    times[0].tv_sec = 0;
    times[1].tv_sec = when;
    times[1].tv_nsec = 0;
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
  }

  bool setFileAttributes(const std::string& path, std::uint32_t attributes) override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    if (attributes & kAttrReadOnly)
      mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    else
      mode |= S_IWUSR;
    return ::chmod(path.c_str(), mode) == 0;
  }

  std::int64_t freeDiskSpace(const std::string& path) override {
    // The nearest existing directory of the path decides the file system.
    std::string dir = path.empty() ? "." : path;
    struct stat st {};
    while (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      const std::string parent = parentOf(dir);
      if (parent == dir) return -1;
      dir = parent;
    }
    struct statvfs vfs {};
    if (::statvfs(dir.c_str(), &vfs) != 0) return -1;
    return static_cast<std::int64_t>(vfs.f_bavail) * static_cast<std::int64_t>(vfs.f_frsize);
  }

  char currentDrive() override { return 'C'; }

  // There is no Windows directory here: $WINDIR when set, else the temporary directory.
  std::string windowsDirectory() override {
    const char* dir = std::getenv("WINDIR");
    return dir && *dir ? std::string(dir) : std::string("/tmp");
  }

  std::optional<std::vector<std::string>> listSubdirectories(const std::string& dir) override {
    DIR* stream = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!stream) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(stream)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      struct stat st {};
      if (::stat((dir + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) names.push_back(name);
    }
    ::closedir(stream);
    return names;
  }

  bool removeDirectory(const std::string& path) override { return ::rmdir(path.c_str()) == 0; }

  std::vector<std::string> readProfileKeys(const std::string& file, const std::string& section) override {
    bool exists = false;
    return iniKeys(readWholeFile(file, exists), section);
  }

  bool deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) override {
    bool exists = false;
    const std::string text = readWholeFile(file, exists);
    if (!exists) return true;
    const std::string updated = iniDelete(text, section, key);
    if (updated == text) return true;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(updated.data(), static_cast<std::streamsize>(updated.size()));
    out.close();
    return static_cast<bool>(out);
  }

  std::string tempDirectory() override {
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? std::string(dir) : std::string("/tmp");
  }

  void yield() override { ::sched_yield(); }
  std::unique_ptr<Worker> startWorker(WorkerJob job) override { return startSystemWorker(std::move(job)); }
  std::unique_ptr<Stream> openFileForWorker(const std::string& path) override {
    return openFile(path, OpenMode::ReadShared);
  }

  std::int64_t clockSeconds() override {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

} // namespace

Platform& systemPlatform() {
  static PosixPlatform platform;
  return platform;
}

} // namespace kalvora
