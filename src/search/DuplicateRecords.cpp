#include "search/DuplicateRecords.h"

#include <algorithm>

namespace discovel {

static_assert(sizeof(DuplicateRecord) == 16, "a record per entry must stay small");

DuplicateRecords::DuplicateRecords() : m_buckets(std::size_t{1} << kBucketBits) {}

void DuplicateRecords::NewChunk(Bucket& bucket) {
  bucket.chunks.push_back(std::make_unique<DuplicateRecord[]>(kChunkRecords));
  bucket.lastUsed = 0;
}

void DuplicateRecords::SortedBucket(std::size_t index, std::vector<DuplicateRecord>& out) const {
  const Bucket& bucket = m_buckets[index];
  out.clear();
  for (std::size_t c = 0; c < bucket.chunks.size(); ++c) {
    const std::size_t used = c + 1 == bucket.chunks.size() ? bucket.lastUsed : kChunkRecords;
    out.insert(out.end(), bucket.chunks[c].get(), bucket.chunks[c].get() + used);
  }
  std::sort(out.begin(), out.end(),
            [](const DuplicateRecord& a, const DuplicateRecord& b) { return a.hash < b.hash; });
}

void DuplicateRecords::Release(std::size_t index) {
  Bucket& bucket = m_buckets[index];
  std::vector<std::unique_ptr<DuplicateRecord[]>>().swap(bucket.chunks);
  bucket.lastUsed = kChunkRecords;
}

}  // namespace discovel
