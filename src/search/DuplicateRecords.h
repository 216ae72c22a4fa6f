#pragma once
// The duplicate search's record of every entry it read: the hash of its key,
// its archive and where in the archive the entry starts, 16 bytes each. The
// records are spread over many small buckets by the top bits of the hash, in
// chunks, so ten million of them never need one huge block (a 32-bit process
// has no room for it) and each bucket is counted within the cache.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace discovel {

struct DuplicateRecord {
  std::uint64_t hash;
  std::uint32_t archive;
  std::uint32_t offset;  // the entry's first byte in its archive
};

// A set of hashes, for looking up every record in one that is small.
class DuplicateHashSet {
 public:
  explicit DuplicateHashSet(std::size_t count);
  void Insert(std::uint64_t hash);
  bool Contains(std::uint64_t hash) const {
    if (hash == 0) return m_hasZero;
    for (std::size_t i = static_cast<std::size_t>(hash) & m_mask;; i = (i + 1) & m_mask) {
      if (m_slots[i] == hash) return true;
      if (m_slots[i] == 0) return false;
    }
  }

 private:
  std::size_t m_mask;
  std::vector<std::uint64_t> m_slots;  // 0 for a free slot; at most half are taken
  bool m_hasZero = false;
};

// What the records of one bucket say of each hash in it: the first archive
// that holds it, whether another holds it too, and whether a chosen one does.
class DuplicateTally {
 public:
  struct Entry {
    std::uint64_t hash;
    std::uint32_t firstArchive;  // kFree while the entry is unused
    std::uint32_t flags;
  };
  static constexpr std::uint32_t kFree = UINT32_MAX;
  static constexpr std::uint32_t kSeveralArchives = 1;
  static constexpr std::uint32_t kInAChosenArchive = 2;

  // Room for `count` hashes, none counted yet.
  void Reset(std::size_t count);
  // Counts `archive` as one holding `hash`.
  void Count(std::uint64_t hash, std::uint32_t archive, bool chosen) {
    Entry& entry = Find(hash);
    if (entry.firstArchive == kFree) {
      entry.hash = hash;
      entry.firstArchive = archive;
    } else if (entry.firstArchive != archive) {
      entry.flags |= kSeveralArchives;
    }
    if (chosen) entry.flags |= kInAChosenArchive;
  }
  // The flags counted for `hash`, which must have been counted.
  std::uint32_t Flags(std::uint64_t hash) { return Find(hash).flags; }

 private:
  Entry& Find(std::uint64_t hash) {
    // The hashes of one bucket share their top bits: the low ones spread them.
    for (std::size_t i = static_cast<std::size_t>(hash) & m_mask;; i = (i + 1) & m_mask) {
      Entry& entry = m_slots[i];
      if (entry.firstArchive == kFree || entry.hash == hash) return entry;
    }
  }
  std::size_t m_mask = 0;
  std::vector<Entry> m_slots;  // at most half are used
};

class DuplicateRecords {
 public:
  static constexpr std::size_t kRecordBytes = sizeof(DuplicateRecord);

  DuplicateRecords();
  void Add(const DuplicateRecord& record) {
    Bucket& bucket = m_buckets[record.hash >> (64 - kBucketBits)];
    if (bucket.lastUsed == kChunkRecords) NewChunk(bucket);
    bucket.chunks.back()[bucket.lastUsed++] = record;
  }
  std::size_t BucketCount() const { return m_buckets.size(); }
  // The number of records in bucket `index`.
  std::size_t Count(std::size_t index) const {
    const Bucket& bucket = m_buckets[index];
    return bucket.chunks.size() * kChunkRecords - (kChunkRecords - bucket.lastUsed);
  }
  // Calls `visit` with each record of bucket `index`, in no order.
  template <class Visit>
  void ForEach(std::size_t index, const Visit& visit) const {
    const Bucket& bucket = m_buckets[index];
    for (std::size_t c = 0; c < bucket.chunks.size(); ++c) {
      const std::size_t used = c + 1 == bucket.chunks.size() ? bucket.lastUsed : kChunkRecords;
      for (std::size_t r = 0; r < used; ++r) visit(bucket.chunks[c][r]);
    }
  }
  // Frees bucket `index`'s memory.
  void Release(std::size_t index);

 private:
  static constexpr int kBucketBits = 8;
  static constexpr std::size_t kChunkRecords = 1024;
  struct Bucket {
    std::vector<std::unique_ptr<DuplicateRecord[]>> chunks;
    std::size_t lastUsed = kChunkRecords;  // in the last chunk
  };
  static void NewChunk(Bucket& bucket);

  std::vector<Bucket> m_buckets;
};

}  // namespace discovel
