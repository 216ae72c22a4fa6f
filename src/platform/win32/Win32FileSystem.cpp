#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "platform/AppError.h"
#include "platform/ExtendedPath.h"
#include "platform/win32/FileTimes.h"
#include "platform/win32/Handles.h"
#include "platform/win32/QuietCriticalErrors.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Error.h"

namespace discovel {
namespace {

// Every path goes to the system in its extended form (SystemPath): a name
// may end in a blank or a dot on a disc, or be "con.txt", and a path may be
// longer than 260 characters. Messages name the path as the program has it.
[[noreturn]] void ThrowFileError(const char* what, const std::string& path) {
  const DWORD code = GetLastError();
  throw FileError(std::string(what) + " \"" + path + "\". " + SystemErrorText(code));
}

FileHandle OpenForReading(const std::string& path) {
  FileHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
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

// A name beside `path` that no other writer picks, or seldom (another
// program, or this one on another machine of a share): it is created new,
// and another is tried when it exists. It never ends in ".dat", so no reader
// takes a left-over for an archive.
std::string TemporarySibling(const std::string& path) {
  static std::atomic<std::uint64_t> written{0};
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  std::uint64_t mix = (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) ^
                      ((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) ^
                      ++written * 0x9E3779B97F4A7C15u;
  mix = (mix ^ (mix >> 31)) * 0xBF58476D1CE4E5B9u;
  char unique[16];
  std::snprintf(unique, sizeof unique, "%08x", static_cast<unsigned>((mix ^ (mix >> 29)) & 0xFFFFFFFFu));
  return path + ".~" + unique + ".tmp";
}

// Creates the temporary file new (CREATE_NEW), never over an existing one;
// its system path goes to `temp`.
FileHandle CreateTemporarySibling(const std::string& path, unsigned long attributes, std::wstring& temp) {
  constexpr int kNames = 100;
  for (int tried = 1;; ++tried) {
    temp = SystemPath(TemporarySibling(path));
    // Read access too: across a network the redirector then caches the
    // writes and sends fewer, larger requests.
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes,
                                nullptr));
    if (file) return file;
    const DWORD code = GetLastError();
    if ((code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) || tried == kNames) {
      ThrowFileError("Cannot create file", path);
    }
  }
}

// Writes a file through its temporary sibling, whole or in pieces.
class Win32ReplacingWriter final : public ReplacingWriter {
 public:
  // The temporary gets `attributes`, which the move keeps.
  Win32ReplacingWriter(std::string path, unsigned long attributes)
      : m_path(std::move(path)),
        m_target(SystemPath(m_path)),
        m_file(CreateTemporarySibling(m_path, attributes, m_temp)) {}
  ~Win32ReplacingWriter() override {
    if (m_file) {
      // Closed first: a file still open is not deleted.
      m_file.reset();
      ::DeleteFileW(m_temp.c_str());
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
      return MoveFileExW(m_temp.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    if (moved) return;
    if (flushed) code = GetLastError();
    ::DeleteFileW(m_temp.c_str());
    SetLastError(code);
    ThrowFileError("Cannot write file", m_path);
  }

 private:
  std::string m_path;     // as the program has it, for messages
  std::wstring m_target;  // the system's form
  std::wstring m_temp;
  FileHandle m_file;  // open until Commit
};

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
  Win32ReplacingWriter writer(path, attributes);
  writer.Write(bytes);
  writer.Commit();
}

namespace {

DWORD AttributesOf(const std::wstring& systemPath) { return GetFileAttributesW(systemPath.c_str()); }

bool IsFolder(const std::wstring& systemPath) {
  const DWORD attributes = AttributesOf(systemPath);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A folder's extended path without the backslash that may end it; a
// drive's root keeps its own ("\\?\C:" would be the volume).
std::string WithoutTrailingBackslash(std::string extended) {
  if (extended.size() > ExtendedRootLength(extended) + 1 && extended.back() == '\\') extended.pop_back();
  return extended;
}

// `folder`: an extended path without a trailing backslash. The parents are
// made first, from the deepest one there; the root is never made.
bool CreateFolderWithParents(const std::string& folder) {
  if (IsFolder(Wide(folder))) return true;
  const std::size_t cut = folder.rfind('\\');
  if (cut != std::string::npos && cut > ExtendedRootLength(folder) &&
      !CreateFolderWithParents(folder.substr(0, cut))) {
    return false;
  }
  return CreateDirectoryW(Wide(folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(SystemPath(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FolderExists(const std::string& path) { return IsFolder(SystemPath(path)); }

bool Win32FileSystem::CreateFolders(const std::string& path) {
  if (path.empty()) return false;
  const std::string folder = WithoutTrailingBackslash(ExtendedPathOf(path));
  if (StartOf(folder) != PathStart::kExtended) return false;
  return CreateFolderWithParents(folder);
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return ::DeleteFileW(SystemPath(path).c_str()) != 0; }

bool Win32FileSystem::RemoveFileWhateverItsAttributes(const std::string& path) {
  const std::wstring file = SystemPath(path);
  return ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_ARCHIVE) && ::DeleteFileW(file.c_str());
}

bool Win32FileSystem::RenameFolder(const std::string& from, const std::string& to) {
  const std::wstring source = Wide(WithoutTrailingBackslash(ExtendedPathOf(from)));
  const std::wstring target = Wide(WithoutTrailingBackslash(ExtendedPathOf(to)));
  return MoveRetrying([&] { return ::MoveFileExW(source.c_str(), target.c_str(), 0) != 0; });
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
  return ::RemoveDirectoryW(Wide(WithoutTrailingBackslash(ExtendedPathOf(path))).c_str()) != 0;
}

void Win32FileSystem::ListFolder(const std::string& folder, const std::string& mask,
                                 const std::function<bool(const DirEntry&)>& onEntry) {
  ListFolderOrSayWhy(folder, mask, onEntry);
}

namespace {

// One listing's entries as the program has them: UTF-8 names, local times.
class EntryFiller {
 public:
  const DirEntry& Fill(std::wstring_view name, DWORD attributes, std::uint64_t size, const FILETIME& lastWrite,
                       std::uint64_t fileNumber) {
    m_entry.name = Utf8(name);
    m_entry.isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    m_entry.isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    m_entry.size = size;
    m_entry.lastWrite = m_times.Convert(lastWrite);
    const LocalTime former = WithTodaysOffset(lastWrite);
    m_entry.lastWriteAsFormerlyListed.reset();
    if (!(former == m_entry.lastWrite)) m_entry.lastWriteAsFormerlyListed = former;
    m_entry.fileNumber = fileNumber;
    return m_entry;
  }

 private:
  LocalTimeConverter m_times;
  DirEntry m_entry;
};

bool IsDotOrDotDot(std::wstring_view name) { return name == L"." || name == L".."; }

FILETIME FileTimeOf(const LARGE_INTEGER& time) {
  FILETIME out;
  out.dwLowDateTime = static_cast<DWORD>(time.QuadPart);
  out.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(time.QuadPart) >> 32);
  return out;
}

using EntrySink = std::function<bool(const DirEntry&)>;

// Every entry of a folder through one handle of it: the listing gives each
// entry's file number with its name, size and times, so a walk that guards
// against loops needs not open every folder a second time. nullopt when the
// folder does not open so or its file system does not list so; the finder's
// listing then answers, with its own reasons.
std::optional<std::string> ListThroughHandle(const std::string& folder, const EntrySink& onEntry) {
  FileHandle handle(CreateFileW(SystemPath(folder).c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  // 64 KB, the most a network redirector answers at once; the entries'
  // 64-bit fields want it aligned. Left unfilled: the system writes what is read.
  constexpr std::size_t kBufferBytes = 64 * 1024;
  const std::unique_ptr<std::uint64_t[]> buffer(new std::uint64_t[kBufferBytes / sizeof(std::uint64_t)]);
  EntryFiller filler;
  for (bool first = true;; first = false) {
    if (!GetFileInformationByHandleEx(handle.get(), FileIdBothDirectoryInfo, buffer.get(), kBufferBytes)) {
      const DWORD code = GetLastError();
      if (code == ERROR_NO_MORE_FILES) return std::string();
      if (first) {
        // An empty drive root has not even "." to give.
        if (code == ERROR_FILE_NOT_FOUND) return std::string();
        if (code == ERROR_INVALID_PARAMETER || code == ERROR_INVALID_FUNCTION || code == ERROR_NOT_SUPPORTED ||
            code == ERROR_INVALID_LEVEL) {
          return std::nullopt;
        }
      }
      return SystemErrorText(code);
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.get());
    for (std::size_t offset = 0;;) {
      const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
      const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(WCHAR));
      if (!IsDotOrDotDot(name)) {
        const DirEntry& entry =
            filler.Fill(name, info->FileAttributes, static_cast<std::uint64_t>(info->EndOfFile.QuadPart),
                        FileTimeOf(info->LastWriteTime), static_cast<std::uint64_t>(info->FileId.QuadPart));
        if (!onEntry(entry)) return std::string();
      }
      if (info->NextEntryOffset == 0) break;
      offset += info->NextEntryOffset;
    }
  }
}

bool TakesEveryName(const std::string& mask) { return mask == "*.*" || mask == "*"; }

}  // namespace

std::string Win32FileSystem::ListFolderOrSayWhy(const std::string& folder, const std::string& mask,
                                                const std::function<bool(const DirEntry&)>& onEntry) {
  // A drive that is not ready or a bad sector answers here with an error,
  // never with the system's "insert a disk" box.
  const QuietCriticalErrors quiet;
  if (TakesEveryName(mask)) {
    if (std::optional<std::string> reason = ListThroughHandle(folder, onEntry)) return *reason;
  }
  WIN32_FIND_DATAW data;
  // The basic level leaves out the short names nobody reads.
  FindHandle find(FindFirstFileExW(SystemPath(folder + mask).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) {
    const DWORD code = GetLastError();
    // Nothing matches the mask (a drive's root has no "." to match): listed, empty.
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) return {};
    return SystemErrorText(code);
  }
  EntryFiller filler;
  do {
    const std::wstring_view name(data.cFileName);
    if (IsDotOrDotDot(name)) continue;
    const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (!onEntry(filler.Fill(name, data.dwFileAttributes, size, data.ftLastWriteTime, 0))) return {};
  } while (FindNextFileW(find.get(), &data));
  const DWORD code = GetLastError();
  return code == ERROR_NO_MORE_FILES ? std::string() : SystemErrorText(code);
}

std::optional<LocalTime> Win32FileSystem::FileWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return LocalTimeConverter().Convert(data.ftLastWriteTime);
}

std::optional<FolderId> Win32FileSystem::FolderIdentity(const std::string& folder) {
  // A folder opens only with backup semantics; nothing is read or changed.
  FileHandle handle(CreateFileW(SystemPath(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return FolderId{info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::unique_ptr<ReplacingWriter> Win32FileSystem::OpenReplacing(const std::string& path) {
  return std::make_unique<Win32ReplacingWriter>(path, FILE_ATTRIBUTE_NORMAL);
}

}  // namespace discovel
