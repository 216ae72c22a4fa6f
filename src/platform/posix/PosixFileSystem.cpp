#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "platform/AppError.h"

namespace discovel {
namespace {

std::string Reason(int error) {
  return std::generic_category().message(error);
}

[[noreturn]] void Fail(const char* what, const std::string& path, int error) {
  throw FileError(std::string("Cannot ") + what + " file \"" + path + "\". " + Reason(error));
}

// Closes the descriptor on every path out, exceptions included.
class Fd {
 public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_fd; }
  int Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  int m_fd;
};

Fd OpenForReading(const std::string& path) {
  const int fd = ::open(ToNativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("open", path, errno);
  return Fd(fd);
}

off_t SizeOf(const Fd& fd, const std::string& path) {
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) Fail("read", path, errno);
  if (S_ISDIR(st.st_mode)) Fail("read", path, EISDIR);
  return st.st_size;
}

// Reads up to `size` bytes at `offset`; fewer only at the end of the file.
std::size_t ReadAt(const Fd& fd, char* buffer, std::size_t size, off_t offset,
                   const std::string& path) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got =
        ::pread(fd.Get(), buffer + done, size - done, offset + static_cast<off_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail("read", path, errno);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

class PosixBlockReader final : public BlockReader {
 public:
  PosixBlockReader(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t got = ::read(m_fd.Get(), buffer + done, size - done);
      if (got < 0) {
        if (errno == EINTR) continue;
        Fail("read", m_path, errno);
      }
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

 private:
  Fd m_fd;
  std::string m_path;
};

class PosixRandomReader final : public RandomReader {
 public:
  PosixRandomReader(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
  std::uint64_t Size() const override { return m_size; }
  Result ReadAt(std::uint64_t offset, char* buffer, std::size_t size) override {
    Result result;
    while (result.bytes < size) {
      const ssize_t got = ::pread(m_fd.Get(), buffer + result.bytes, size - result.bytes,
                                  static_cast<off_t>(offset + result.bytes));
      if (got < 0) {
        if (errno == EINTR) continue;
        result.error = Reason(errno);
        return result;
      }
      if (got == 0) break;
      result.bytes += static_cast<std::size_t>(got);
    }
    return result;
  }

 private:
  Fd m_fd;
  std::uint64_t m_size;
};

char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

bool MatchesPlainWildcard(std::string_view name, std::string_view mask) {
  // Greedy match that backtracks to the last '*'. A '*' in the mask is always
  // a wildcard, even where the name holds a '*' too (possible on POSIX).
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == '?' || FoldAscii(mask[m]) == FoldAscii(name[n]))) {
      ++n;
      ++m;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

// A name beside `target` that no other writer picks, or seldom: it is
// created new, and another is tried when it exists. It never ends in ".dat",
// so no reader takes a left-over for an archive.
std::string TemporarySibling(const std::string& target) {
  static std::atomic<std::uint64_t> written{0};
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::uint64_t mix = (static_cast<std::uint64_t>(::getpid()) << 32) ^
                      static_cast<std::uint64_t>(now.tv_sec) * 1000000007u ^ static_cast<std::uint64_t>(now.tv_nsec) ^
                      ++written * 0x9E3779B97F4A7C15u;
  mix = (mix ^ (mix >> 31)) * 0xBF58476D1CE4E5B9u;
  char unique[16];
  std::snprintf(unique, sizeof unique, "%08x", static_cast<unsigned>((mix ^ (mix >> 29)) & 0xFFFFFFFFu));
  return target + ".~" + unique + ".tmp";
}

// Creates the temporary file new, never over an existing one; its name goes to `temp`.
Fd CreateTemporarySibling(const std::string& target, const std::string& path, std::string& temp) {
  constexpr int kNames = 100;
  for (int tried = 1;; ++tried) {
    temp = TemporarySibling(target);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return Fd(fd);
    if (errno != EEXIST || tried == kNames) Fail("write", path, errno);
  }
}

// Writes a file through its temporary sibling, whole or in pieces.
class PosixReplacingWriter final : public ReplacingWriter {
 public:
  explicit PosixReplacingWriter(std::string path)
      : m_path(std::move(path)), m_fd(CreateTemporarySibling(ToNativePath(m_path), m_path, m_temp)) {}
  ~PosixReplacingWriter() override {
    if (m_fd.Get() >= 0) {
      ::close(m_fd.Release());
      ::unlink(m_temp.c_str());
    }
  }

  void Write(std::string_view bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t put = ::write(m_fd.Get(), bytes.data() + done, bytes.size() - done);
      if (put < 0) {
        if (errno == EINTR) continue;
        Fail("write", m_path, errno);
      }
      done += static_cast<std::size_t>(put);
    }
  }

  void Commit() override {
    int error = 0;
    if (::fsync(m_fd.Get()) != 0) error = errno;
    if (::close(m_fd.Release()) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(m_temp.c_str(), ToNativePath(m_path).c_str()) != 0) error = errno;
    if (error != 0) {
      ::unlink(m_temp.c_str());
      Fail("write", m_path, error);
    }
  }

 private:
  std::string m_path;
  std::string m_temp;  // native
  Fd m_fd;             // open until Commit
};

bool StatOf(const std::string& nativePath, struct stat& st) {
  return ::stat(nativePath.c_str(), &st) == 0 || ::lstat(nativePath.c_str(), &st) == 0;
}

}  // namespace

std::string ToNativePath(std::string_view corePath) {
  std::string native(corePath);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

bool MatchesWildcard(std::string_view name, std::string_view mask) {
  if (MatchesPlainWildcard(name, mask)) return true;
  // As on Windows, a trailing ".*" also matches no extension at all: "*.*"
  // takes every name and "readme.*" takes "readme".
  if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*") {
    return MatchesPlainWildcard(name, mask.substr(0, mask.size() - 2));
  }
  return false;
}

std::string PosixFileSystem::ReadWholeFile(const std::string& path) {
  const Fd fd = OpenForReading(path);
  std::string bytes(static_cast<std::size_t>(SizeOf(fd, path)), '\0');
  bytes.resize(ReadAt(fd, bytes.data(), bytes.size(), 0, path));
  return bytes;
}

std::string PosixFileSystem::ReadTail(const std::string& path, std::size_t maxBytes,
                                      bool& wholeFile) {
  const Fd fd = OpenForReading(path);
  const off_t size = SizeOf(fd, path);
  const auto fileBytes = static_cast<std::uint64_t>(size);
  const off_t offset = fileBytes > maxBytes ? static_cast<off_t>(fileBytes - maxBytes) : 0;
  std::string bytes(static_cast<std::size_t>(size - offset), '\0');
  bytes.resize(ReadAt(fd, bytes.data(), bytes.size(), offset, path));
  wholeFile = offset == 0;
  return bytes;
}

std::unique_ptr<BlockReader> PosixFileSystem::OpenForBlocks(const std::string& path) {
  Fd fd = OpenForReading(path);
  SizeOf(fd, path);  // refuses a folder now rather than at the first read
  return std::make_unique<PosixBlockReader>(fd.Release(), path);
}

std::unique_ptr<RandomReader> PosixFileSystem::OpenForReadingAt(const std::string& path) {
  Fd fd = OpenForReading(path);
  const auto size = static_cast<std::uint64_t>(SizeOf(fd, path));
  return std::make_unique<PosixRandomReader>(fd.Release(), size);
}

void PosixFileSystem::WriteFileReplacing(const std::string& path, std::string_view bytes) {
  PosixReplacingWriter writer(path);
  writer.Write(bytes);
  writer.Commit();
}

bool PosixFileSystem::FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(ToNativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFileSystem::FolderExists(const std::string& path) {
  struct stat st {};
  return ::stat(ToNativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::CreateFolders(const std::string& path) {
  const std::string native = ToNativePath(path);
  if (native.empty()) return false;
  // Every prefix that ends before a separator is a parent to create first.
  for (std::size_t i = 1; i < native.size(); ++i) {
    if (native[i] == '/') ::mkdir(native.substr(0, i).c_str(), 0777);
  }
  ::mkdir(native.c_str(), 0777);
  return FolderExists(path);
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
  return ::unlink(ToNativePath(path).c_str()) == 0;
}

namespace {
std::string WithoutTrailingSlash(std::string native) {
  if (native.size() > 1 && native.back() == '/') native.pop_back();
  return native;
}
}  // namespace

bool PosixFileSystem::RenameFolder(const std::string& from, const std::string& to) {
  const std::string target = WithoutTrailingSlash(ToNativePath(to));
  // rename() would replace an empty folder; Windows' MoveFile never replaces one.
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0) return false;
  return ::rename(WithoutTrailingSlash(ToNativePath(from)).c_str(), target.c_str()) == 0;
}

bool PosixFileSystem::RemoveFolder(const std::string& path) {
  return ::rmdir(WithoutTrailingSlash(ToNativePath(path)).c_str()) == 0;
}

void PosixFileSystem::ListFolder(const std::string& folder, const std::string& mask,
                                 const std::function<bool(const DirEntry&)>& onEntry) {
  ListFolderOrSayWhy(folder, mask, onEntry);
}

std::string PosixFileSystem::ListFolderOrSayWhy(const std::string& folder, const std::string& mask,
                                                const std::function<bool(const DirEntry&)>& onEntry) {
  std::string nativeFolder = ToNativePath(folder);
  if (!nativeFolder.empty() && nativeFolder.back() != '/') nativeFolder += '/';
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(nativeFolder.c_str()), &::closedir);
  if (!dir) return Reason(errno);
  for (;;) {
    // readdir tells its end from its failure only through errno.
    errno = 0;
    const dirent* item = ::readdir(dir.get());
    if (!item) return errno == 0 ? std::string() : Reason(errno);
    const std::string_view name = item->d_name;
    if (name == "." || name == ".." || !MatchesWildcard(name, mask)) continue;
    struct stat st {};
    if (!StatOf(nativeFolder + item->d_name, st)) continue;
    DirEntry entry;
    entry.name = item->d_name;
    entry.isFolder = S_ISDIR(st.st_mode);
    struct stat link {};
    entry.isLink = ::lstat((nativeFolder + item->d_name).c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    entry.size = entry.isFolder ? 0 : static_cast<std::uint64_t>(st.st_size);
    entry.lastWrite = LocalTimeOf(st.st_mtim.tv_sec, static_cast<int>(st.st_mtim.tv_nsec / 1000000));
    entry.fileNumber = static_cast<std::uint64_t>(st.st_ino);
    if (!onEntry(entry)) return {};
  }
}

std::optional<LocalTime> PosixFileSystem::FileWriteTime(const std::string& path) {
  struct stat st {};
  if (!StatOf(ToNativePath(path), st) || S_ISDIR(st.st_mode)) return std::nullopt;
  return LocalTimeOf(st.st_mtim.tv_sec, static_cast<int>(st.st_mtim.tv_nsec / 1000000));
}

std::optional<FolderId> PosixFileSystem::FolderIdentity(const std::string& folder) {
  struct stat st {};
  if (::stat(ToNativePath(folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  return FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::unique_ptr<ReplacingWriter> PosixFileSystem::OpenReplacing(const std::string& path) {
  return std::make_unique<PosixReplacingWriter>(path);
}

}  // namespace discovel
