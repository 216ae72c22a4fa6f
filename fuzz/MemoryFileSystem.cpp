#include "MemoryFileSystem.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/AppError.h"
#include "platform/posix/PosixFileSystem.h"

namespace discovel::fuzz {
namespace {

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

class MemoryBlockReader final : public BlockReader {
 public:
  explicit MemoryBlockReader(std::string bytes) : m_bytes(std::move(bytes)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t count =
        std::min({size, m_bytes.size() - m_done, MemoryFileSystem::kBlockBytes});
    if (count != 0) std::memcpy(buffer, m_bytes.data() + m_done, count);
    m_done += count;
    return count;
  }

 private:
  std::string m_bytes;
  std::size_t m_done = 0;
};

class MemoryRandomReader final : public RandomReader {
 public:
  explicit MemoryRandomReader(std::string bytes) : m_bytes(std::move(bytes)) {}
  std::uint64_t Size() const override { return m_bytes.size(); }
  Result ReadAt(std::uint64_t offset, char* buffer, std::size_t size) override {
    Result result;
    if (offset >= m_bytes.size()) return result;
    result.bytes = std::min(size, m_bytes.size() - static_cast<std::size_t>(offset));
    if (result.bytes != 0) std::memcpy(buffer, m_bytes.data() + offset, result.bytes);
    return result;
  }

 private:
  std::string m_bytes;
};

}  // namespace

std::string PathUnder(const std::string& root, std::string_view name) {
  std::string path = root;
  bool any = false;
  while (!name.empty()) {
    const std::size_t cut = name.find('\\');
    const std::string_view part = name.substr(0, cut);
    name.remove_prefix(cut == std::string_view::npos ? name.size() : cut + 1);
    if (part.empty() || part == "." || part == "..") continue;
    if (any) path += '\\';
    path += part;
    any = true;
  }
  return any ? path : std::string();
}

bool MemoryFileSystem::Put(const std::string& path, std::string bytes) {
  if (path.empty() || path.size() > kMaxPath || path.back() == '\\' ||
      m_folders.count(path + '\\') != 0) {
    return false;
  }
  for (std::size_t cut = path.find('\\'); cut != std::string::npos;
       cut = path.find('\\', cut + 1)) {
    if (m_files.count(path.substr(0, cut)) != 0) return false;
  }
  for (std::size_t cut = path.find('\\'); cut != std::string::npos;
       cut = path.find('\\', cut + 1)) {
    m_folders.insert(path.substr(0, cut + 1));
  }
  m_files[path] = std::move(bytes);
  return true;
}

const std::string& MemoryFileSystem::Contents(const std::string& path) const {
  const auto found = m_files.find(path);
  if (found == m_files.end()) {
    throw FileError("Cannot open file \"" + path + "\". No such file or directory");
  }
  return found->second;
}

std::string MemoryFileSystem::ReadWholeFile(const std::string& path) { return Contents(path); }

std::string MemoryFileSystem::ReadTail(const std::string& path, std::size_t maxBytes,
                                       bool& wholeFile) {
  const std::string& bytes = Contents(path);
  wholeFile = bytes.size() <= maxBytes;
  return wholeFile ? bytes : bytes.substr(bytes.size() - maxBytes);
}

std::unique_ptr<BlockReader> MemoryFileSystem::OpenForBlocks(const std::string& path) {
  return std::make_unique<MemoryBlockReader>(Contents(path));
}

std::unique_ptr<RandomReader> MemoryFileSystem::OpenForReadingAt(const std::string& path) {
  return std::make_unique<MemoryRandomReader>(Contents(path));
}

void MemoryFileSystem::WriteFileReplacing(const std::string& path, std::string_view bytes) {
  const std::size_t cut = path.rfind('\\');
  if (cut == std::string::npos || m_folders.count(path.substr(0, cut + 1)) == 0 ||
      !Put(path, std::string(bytes))) {
    throw FileError("Cannot write file \"" + path + "\".");
  }
}

bool MemoryFileSystem::FileExists(const std::string& path) { return m_files.count(path) != 0; }

bool MemoryFileSystem::FolderExists(const std::string& path) {
  return m_folders.count(WithBackslash(path)) != 0;
}

bool MemoryFileSystem::CreateFolders(const std::string& path) {
  const std::string folder = WithBackslash(path);
  if (folder.size() > kMaxPath) return false;
  for (std::size_t cut = folder.find('\\'); cut != std::string::npos;
       cut = folder.find('\\', cut + 1)) {
    if (m_files.count(folder.substr(0, cut)) != 0) return false;
  }
  for (std::size_t cut = folder.find('\\'); cut != std::string::npos;
       cut = folder.find('\\', cut + 1)) {
    m_folders.insert(folder.substr(0, cut + 1));
  }
  return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) { return m_files.erase(path) != 0; }

void MemoryFileSystem::ListFolder(const std::string& folder, const std::string& mask,
                                  const std::function<bool(const DirEntry&)>& onEntry) {
  const std::string prefix = WithBackslash(folder);
  const auto under = [&](const std::string& key) { return key.starts_with(prefix); };
  // Past every key below the child folder `name`: those all start with
  // "<prefix><name>\", and ']' is the byte after '\'.
  const auto pastChild = [&](std::string_view name) { return prefix + std::string(name) + ']'; };
  // Collected first: the callback may add files.
  std::vector<DirEntry> entries;
  for (auto it = m_files.lower_bound(prefix); it != m_files.end() && under(it->first);) {
    const std::string_view rest = std::string_view(it->first).substr(prefix.size());
    const std::size_t cut = rest.find('\\');
    if (cut != std::string_view::npos) {
      it = m_files.lower_bound(pastChild(rest.substr(0, cut)));
      continue;
    }
    DirEntry entry;
    entry.name = rest;
    entry.size = it->second.size();
    entries.push_back(std::move(entry));
    ++it;
  }
  for (auto it = m_folders.upper_bound(prefix); it != m_folders.end() && under(*it);) {
    // A child folder's own key comes before everything below it.
    const std::string_view rest = std::string_view(*it).substr(prefix.size());
    DirEntry entry;
    entry.name = rest.substr(0, rest.find('\\'));
    entry.isFolder = true;
    it = m_folders.lower_bound(pastChild(entry.name));
    entries.push_back(std::move(entry));
  }
  for (const DirEntry& entry : entries) {
    if (entry.name.empty() || entry.name == "." || entry.name == "..") continue;
    if (MatchesWildcard(entry.name, mask) && !onEntry(entry)) return;
  }
}

}  // namespace discovel::fuzz
