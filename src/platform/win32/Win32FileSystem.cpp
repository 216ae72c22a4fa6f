#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include "platform/AppError.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Error.h"

namespace discovel {
namespace {

[[noreturn]] void ThrowFileError(const char* what, const std::string& path) {
  const DWORD code = GetLastError();
  throw FileError(std::string(what) + " \"" + path + "\". " + SystemErrorText(code));
}

FileHandle OpenForReading(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) ThrowFileError("Cannot open file", path);
  return file;
}

void ReadExactly(HANDLE file, char* buffer, std::size_t size, const std::string& path) {
  while (size > 0) {
    DWORD got = 0;
    const DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (!ReadFile(file, buffer, want, &got, nullptr)) ThrowFileError("Cannot read file", path);
    if (got == 0) throw FileError("Cannot read file \"" + path + "\". It ended early.");
    buffer += got;
    size -= got;
  }
}

std::uint64_t SizeOf(HANDLE file, const std::string& path) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) ThrowFileError("Cannot read file", path);
  return static_cast<std::uint64_t>(size.QuadPart);
}

LocalTime ToLocalTime(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME st{};
  FileTimeToLocalFileTime(&utc, &local);
  FileTimeToSystemTime(&local, &st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

class Win32BlockReader final : public BlockReader {
 public:
  Win32BlockReader(FileHandle file, std::string path) : m_file(std::move(file)), m_path(std::move(path)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    DWORD got = 0;
    if (!ReadFile(m_file.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) {
      ThrowFileError("Cannot read file", m_path);
    }
    return got;
  }

 private:
  FileHandle m_file;
  std::string m_path;
};

// A bad sector or an empty drive must answer the reading thread with an
// error, never with the system's "insert a disk" or "cannot read" box. Start-up
// sets this for the process; the thread's own mode makes sure of it here and
// leaves the rest of the thread as it was.
class QuietCriticalErrors {
 public:
  QuietCriticalErrors() {
    m_set = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &m_old) != 0;
  }
  ~QuietCriticalErrors() {
    if (m_set) SetThreadErrorMode(m_old, nullptr);
  }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  DWORD m_old = 0;
  bool m_set = false;
};

class Win32RandomReader final : public RandomReader {
 public:
  Win32RandomReader(FileHandle file, std::uint64_t size) : m_file(std::move(file)), m_size(size) {}
  std::uint64_t Size() const override { return m_size; }
  Result ReadAt(std::uint64_t offset, char* buffer, std::size_t size) override {
    const QuietCriticalErrors quiet;
    Result result;
    while (result.bytes < size) {
      // On a handle opened without FILE_FLAG_OVERLAPPED the structure only
      // names where the read starts; the call still returns when it is done.
      OVERLAPPED at{};
      const std::uint64_t from = offset + result.bytes;
      at.Offset = static_cast<DWORD>(from);
      at.OffsetHigh = static_cast<DWORD>(from >> 32);
      const std::size_t left = size - result.bytes;
      const DWORD want = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
      DWORD got = 0;
      if (!ReadFile(m_file.get(), buffer + result.bytes, want, &got, &at)) {
        const DWORD code = GetLastError();
        // With an offset given, the end of the file is this error, not 0 bytes.
        if (code == ERROR_HANDLE_EOF) break;
        result.error = SystemErrorText(code);
        return result;
      }
      if (got == 0) break;
      result.bytes += got;
    }
    return result;
  }

 private:
  FileHandle m_file;
  std::uint64_t m_size;
};

// Virus scanners and the search indexer open a new or changed file for a
// moment, often without FILE_SHARE_DELETE; a rename or replace that meets such
// a handle fails with a sharing or access error. It is tried again for about
// a second before the error counts; the last error stays that of the last try.
template <class Move>
bool MoveRetrying(Move move) {
  constexpr int kTries = 20;
  constexpr DWORD kPauseMs = 50;
  for (int tried = 1;; ++tried) {
    if (move()) return true;
    const DWORD code = GetLastError();
    if (tried == kTries || (code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED)) return false;
    Sleep(kPauseMs);
  }
}

}  // namespace

std::string Win32FileSystem::ReadWholeFile(const std::string& path) {
  FileHandle file = OpenForReading(path);
  const std::uint64_t size = SizeOf(file.get(), path);
  if (size > 0x7FFFFFFFu) throw FileError("Cannot read file \"" + path + "\". It is too large.");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ReadExactly(file.get(), bytes.data(), bytes.size(), path);
  return bytes;
}

std::string Win32FileSystem::ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) {
  FileHandle file = OpenForReading(path);
  const std::uint64_t size = SizeOf(file.get(), path);
  const std::uint64_t take = size < maxBytes ? size : maxBytes;
  wholeFile = take == size;
  LARGE_INTEGER offset;
  offset.QuadPart = static_cast<LONGLONG>(size - take);
  if (!SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN)) ThrowFileError("Cannot read file", path);
  std::string bytes(static_cast<std::size_t>(take), '\0');
  ReadExactly(file.get(), bytes.data(), bytes.size(), path);
  return bytes;
}

std::unique_ptr<BlockReader> Win32FileSystem::OpenForBlocks(const std::string& path) {
  return std::make_unique<Win32BlockReader>(OpenForReading(path), path);
}

std::unique_ptr<RandomReader> Win32FileSystem::OpenForReadingAt(const std::string& path) {
  const QuietCriticalErrors quiet;
  FileHandle file = OpenForReading(path);
  const std::uint64_t size = SizeOf(file.get(), path);
  return std::make_unique<Win32RandomReader>(std::move(file), size);
}

void Win32FileSystem::WriteFileReplacing(const std::string& path, std::string_view bytes) {
  WriteReplacing(path, bytes, FILE_ATTRIBUTE_NORMAL);
}

void Win32FileSystem::WriteHiddenFileReplacing(const std::string& path, std::string_view bytes) {
  WriteReplacing(path, bytes, FILE_ATTRIBUTE_HIDDEN);
}

void Win32FileSystem::WriteReplacing(const std::string& path, std::string_view bytes, unsigned long attributes) {
  // The temporary name does not end in ".dat", so no reader takes it for an archive.
  const std::string temp = path + ".tmp";
  {
    // CREATE_ALWAYS refuses to overwrite a hidden file unless the new one is
    // hidden too, so a temporary left hidden by a crash is taken over. The
    // move keeps the temporary's attributes.
    FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    if (!file) ThrowFileError("Cannot create file", path);
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
      DWORD written = 0;
      const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
      ok = WriteFile(file.get(), data, chunk, &written, nullptr) && written == chunk;
      data += written;
      left -= written;
    }
    if (!ok || !FlushFileBuffers(file.get())) {
      const DWORD code = GetLastError();
      file.reset();
      ::DeleteFileA(temp.c_str());
      SetLastError(code);
      ThrowFileError("Cannot write file", path);
    }
  }
  if (!MoveRetrying([&] {
        return MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
      })) {
    const DWORD code = GetLastError();
    ::DeleteFileA(temp.c_str());
    SetLastError(code);
    ThrowFileError("Cannot write file", path);
  }
}

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::CreateFolders(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  if (folder.empty() || FolderExists(folder)) return !folder.empty();
  const std::size_t cut = folder.find_last_of("\\/");
  if (cut != std::string::npos && cut > 0 && !CreateFolders(folder.substr(0, cut + 1))) return false;
  return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::RemoveFileWhateverItsAttributes(const std::string& path) {
  return ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE) && ::DeleteFileA(path.c_str());
}

namespace {
std::string WithoutTrailingBackslash(std::string path) {
  if (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}
}  // namespace

bool Win32FileSystem::RenameFolder(const std::string& from, const std::string& to) {
  const std::string source = WithoutTrailingBackslash(from);
  const std::string target = WithoutTrailingBackslash(to);
  return MoveRetrying([&] { return ::MoveFileA(source.c_str(), target.c_str()) != 0; });
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
  return ::RemoveDirectoryA(WithoutTrailingBackslash(path).c_str()) != 0;
}

void Win32FileSystem::ListFolder(const std::string& folder, const std::string& mask,
                                 const std::function<bool(const DirEntry&)>& onEntry) {
  WIN32_FIND_DATAA data;
  FindHandle find(FindFirstFileA((folder + mask).c_str(), &data));
  if (!find) return;
  DirEntry entry;
  do {
    const std::string_view name(data.cFileName);
    if (name == "." || name == "..") continue;
    entry.name.assign(name);
    entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.lastWrite = ToLocalTime(data.ftLastWriteTime);
    if (!onEntry(entry)) return;
  } while (FindNextFileA(find.get(), &data));
}

std::optional<LocalTime> Win32FileSystem::FileWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return ToLocalTime(data.ftLastWriteTime);
}

std::optional<std::string> Win32FileSystem::FolderIdentity(const std::string& folder) {
  // A folder opens only with backup semantics; nothing is read or changed.
  FileHandle handle(CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
         std::to_string(info.nFileIndexLow);
}

// --- Writes in pieces ----------------------------------------------------------

namespace {

// Creates the first temporary sibling of `path` whose name is free; `temp`
// gets its name. CREATE_NEW never opens a file that is there; a name taken
// (also by a folder) is passed over.
FileHandle CreateTemporarySibling(const std::string& path, std::string& temp) {
  for (unsigned attempt = 0;; ++attempt) {
    temp = TemporarySiblingName(path, attempt);
    // Read access too: across a network the redirector then caches the
    // writes and sends fewer, larger requests.
    FileHandle file(CreateFileA(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return file;
    const DWORD code = GetLastError();
    const bool taken = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ||
                       GetFileAttributesA(temp.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!taken || attempt + 1 == kTemporarySiblingAttempts) {
      SetLastError(code);
      ThrowFileError("Cannot create file", path);
    }
  }
}

class Win32ReplacingWriter final : public ReplacingWriter {
 public:
  explicit Win32ReplacingWriter(std::string path)
      : m_path(std::move(path)), m_file(CreateTemporarySibling(m_path, m_temp)) {}
  ~Win32ReplacingWriter() override {
    if (m_file) {
      // Closed first: a file still open is not deleted.
      m_file.reset();
      ::DeleteFileA(m_temp.c_str());
    }
  }

  void Write(std::string_view bytes) override {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
      DWORD written = 0;
      const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
      if (!WriteFile(m_file.get(), data, chunk, &written, nullptr) || written != chunk) {
        ThrowFileError("Cannot write file", m_path);
      }
      data += written;
      left -= written;
    }
  }

  void Commit() override {
    const bool flushed = FlushFileBuffers(m_file.get()) != 0;
    DWORD code = GetLastError();
    m_file.reset();
    const bool moved = flushed && MoveRetrying([&] {
      return MoveFileExA(m_temp.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    if (moved) return;
    if (flushed) code = GetLastError();
    ::DeleteFileA(m_temp.c_str());
    SetLastError(code);
    ThrowFileError("Cannot write file", m_path);
  }

 private:
  std::string m_path;
  std::string m_temp;
  FileHandle m_file;  // open until Commit
};

}  // namespace

std::unique_ptr<ReplacingWriter> Win32FileSystem::OpenReplacing(const std::string& path) {
  return std::make_unique<Win32ReplacingWriter>(path);
}

}  // namespace discovel
