#pragma once
// The real file system, except that reads of chosen files fail over chosen
// byte ranges and chosen folders cannot be listed, as on a worn disc (tests
// run as root, which file permissions do not stop). It also tells which bytes
// of a file were handed out.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/AppError.h"
#include "support/ForwardingFileSystem.h"

namespace discovel::test {

class FaultyReadFileSystem : public ForwardingFileSystem {
 public:
  // Reads of `path` that touch bytes `from` .. `to` - 1 fail; the first
  // `times` of them only, or all with -1.
  void FailReads(const std::string& path, std::uint64_t from, std::uint64_t to = UINT64_MAX, int times = -1) {
    m_faults.push_back({path, from, to, times});
  }
  void FailOpening(const std::string& path) { m_unopenable.push_back(path); }
  // Listings of `folder` (with its trailing backslash) fail with `reason`.
  void FailListing(const std::string& folder, std::string reason) { m_unlistable[folder] = std::move(reason); }

  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    if (m_unlistable.count(folder) == 0) ForwardingFileSystem::ListFolder(folder, mask, onEntry);
  }
  // Lists through ListFolder, so that a test's own ListFolder sees every listing.
  std::string ListFolderOrSayWhy(const std::string& folder, const std::string& mask,
                                 const std::function<bool(const DirEntry&)>& onEntry) override {
    const auto failing = m_unlistable.find(folder);
    if (failing != m_unlistable.end()) return failing->second;
    ListFolder(folder, mask, onEntry);
    return {};
  }

  std::unique_ptr<RandomReader> OpenForReadingAt(const std::string& path) override {
    ++m_opened[path];
    for (const auto& unopenable : m_unopenable) {
      if (unopenable == path) throw FileError("Cannot open file \"" + path + "\". The device is not ready.");
    }
    return std::make_unique<Reader>(*this, path, ForwardingFileSystem::OpenForReadingAt(path));
  }

  int TimesOpened(const std::string& path) const {
    const auto found = m_opened.find(path);
    return found == m_opened.end() ? 0 : found->second;
  }
  // Bytes handed out of `path` in all reads that succeeded, each counted once.
  std::uint64_t BytesDelivered(const std::string& path) const {
    const auto found = m_delivered.find(path);
    if (found == m_delivered.end()) return 0;
    std::uint64_t total = 0;
    for (const auto& [from, to] : found->second) total += to - from;
    return total;
  }
  int FailedReads() const { return m_failedReads; }

 private:
  struct Fault {
    std::string path;
    std::uint64_t from;
    std::uint64_t to;
    int times;
  };

  class Reader final : public RandomReader {
   public:
    Reader(FaultyReadFileSystem& owner, std::string path, std::unique_ptr<RandomReader> inner)
        : m_owner(owner), m_path(std::move(path)), m_inner(std::move(inner)) {}
    std::uint64_t Size() const override { return m_inner->Size(); }
    Result ReadAt(std::uint64_t offset, char* buffer, std::size_t size) override {
      for (Fault& fault : m_owner.m_faults) {
        if (fault.path != m_path || fault.times == 0) continue;
        if (offset < fault.to && offset + size > fault.from) {
          if (fault.times > 0) --fault.times;
          ++m_owner.m_failedReads;
          Result failed;
          failed.error = "Data error (cyclic redundancy check).";
          return failed;
        }
      }
      Result result = m_inner->ReadAt(offset, buffer, size);
      if (!result.Failed()) m_owner.Delivered(m_path, offset, offset + result.bytes);
      return result;
    }

   private:
    FaultyReadFileSystem& m_owner;
    std::string m_path;
    std::unique_ptr<RandomReader> m_inner;
  };

  // Keeps the delivered ranges merged, so bytes read twice count once.
  void Delivered(const std::string& path, std::uint64_t from, std::uint64_t to) {
    if (from == to) return;
    auto& ranges = m_delivered[path];
    auto it = ranges.lower_bound(from);
    if (it != ranges.begin() && std::prev(it)->second >= from) --it;
    while (it != ranges.end() && it->first <= to) {
      from = std::min(from, it->first);
      to = std::max(to, it->second);
      it = ranges.erase(it);
    }
    ranges.emplace(from, to);
  }

  std::vector<Fault> m_faults;
  std::vector<std::string> m_unopenable;
  std::map<std::string, std::string> m_unlistable;
  std::map<std::string, int> m_opened;
  std::map<std::string, std::map<std::uint64_t, std::uint64_t>> m_delivered;
  int m_failedReads = 0;
};

}  // namespace discovel::test
