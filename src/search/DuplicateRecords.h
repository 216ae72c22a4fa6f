#pragma once
// The duplicate search's record of every entry it read: the hash of its key,
// its archive and where in the archive the entry starts, 16 bytes each. The
// records are spread over many small buckets by the top bits of the hash, in
// chunks, so ten million of them never need one huge block (a 32-bit process
// has no room for it) and each bucket sorts within the cache.
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
  // Bucket `index`'s records, sorted by hash, into `out` (replacing them).
  void SortedBucket(std::size_t index, std::vector<DuplicateRecord>& out) const;
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
