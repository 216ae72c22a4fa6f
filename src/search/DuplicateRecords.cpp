#include "search/DuplicateRecords.h"

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

void DuplicateTally::Reset(std::size_t count) {
  std::size_t slots = 16;
  while (slots < 2 * count) slots *= 2;
  m_mask = slots - 1;
  m_slots.assign(slots, Entry{0, kFree, 0});
}

DuplicateRecords::DuplicateRecords() : m_buckets(std::size_t{1} << kBucketBits) {}

void DuplicateRecords::NewChunk(Bucket& bucket) {
  // Left unset rather than zeroed: every record is written before it is read.
  bucket.chunks.emplace_back(new DuplicateRecord[kChunkRecords]);
  bucket.lastUsed = 0;
}

void DuplicateRecords::Release(std::size_t index) {
  Bucket& bucket = m_buckets[index];
  std::vector<std::unique_ptr<DuplicateRecord[]>>().swap(bucket.chunks);
  bucket.lastUsed = kChunkRecords;
}

}  // namespace discovel
