#include "search/DuplicateRecords.h"

#include <algorithm>

namespace discovel {

static_assert(sizeof(DuplicateRecord) == 16, "a record per entry must stay small");

DuplicateHashSet::DuplicateHashSet(std::size_t count) {
  std::size_t slots = 16;
  while (slots < 2 * count) slots *= 2;
  m_mask = slots - 1;
  m_slots.assign(slots, 0);
}

void DuplicateHashSet::Insert(std::uint64_t hash) {
  if (hash == 0) {
    m_hasZero = true;
    return;
  }
  std::size_t i = static_cast<std::size_t>(hash) & m_mask;
  while (m_slots[i] != 0 && m_slots[i] != hash) i = (i + 1) & m_mask;
  m_slots[i] = hash;
}

DuplicateRecords::DuplicateRecords() : m_buckets(std::size_t{1} << kBucketBits) {}

void DuplicateRecords::NewChunk(Bucket& bucket) {
  // Left unset rather than zeroed: every record is written before it is read.
  bucket.chunks.emplace_back(new DuplicateRecord[kChunkRecords]);
  bucket.lastUsed = 0;
}

void DuplicateRecords::SortedBucket(std::size_t index, std::vector<DuplicateRecord>& out) const {
  const Bucket& bucket = m_buckets[index];
  const auto chunkUsed = [&](std::size_t c) {
    return c + 1 == bucket.chunks.size() ? bucket.lastUsed : kChunkRecords;
  };
  // Spread by the next bits of the hash first (two linear passes), then each
  // small run sorted: far fewer comparisons than one sort of the whole bucket.
  constexpr int kSpreadBits = 8;
  constexpr int kShift = 64 - kBucketBits - kSpreadBits;
  constexpr std::size_t kSpreads = std::size_t{1} << kSpreadBits;
  std::size_t starts[kSpreads + 1] = {};
  for (std::size_t c = 0; c < bucket.chunks.size(); ++c) {
    for (std::size_t r = 0; r < chunkUsed(c); ++r) {
      ++starts[((bucket.chunks[c][r].hash >> kShift) & (kSpreads - 1)) + 1];
    }
  }
  for (std::size_t k = 1; k <= kSpreads; ++k) starts[k] += starts[k - 1];
  out.resize(starts[kSpreads]);
  std::size_t next[kSpreads];
  std::copy(starts, starts + kSpreads, next);
  for (std::size_t c = 0; c < bucket.chunks.size(); ++c) {
    for (std::size_t r = 0; r < chunkUsed(c); ++r) {
      const DuplicateRecord& record = bucket.chunks[c][r];
      out[next[(record.hash >> kShift) & (kSpreads - 1)]++] = record;
    }
  }
  for (std::size_t k = 0; k < kSpreads; ++k) {
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(starts[k]),
              out.begin() + static_cast<std::ptrdiff_t>(starts[k + 1]),
              [](const DuplicateRecord& a, const DuplicateRecord& b) { return a.hash < b.hash; });
  }
}

void DuplicateRecords::Release(std::size_t index) {
  Bucket& bucket = m_buckets[index];
  std::vector<std::unique_ptr<DuplicateRecord[]>>().swap(bucket.chunks);
  bucket.lastUsed = kChunkRecords;
}

}  // namespace discovel
