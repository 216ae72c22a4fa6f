#include "check/FullRead.h"

#include <algorithm>

#include "platform/AppError.h"

namespace discovel {

FullReader::FullReader(FileSystem& fs, std::size_t blockBytes)
    : m_fs(fs), m_buffer(std::max(blockBytes, kSectorBytes)) {}

FullReadOutcome FullReader::Read(const std::string& path,
                                 const std::function<bool(std::uint64_t passed)>& afterBlock) {
  FullReadOutcome outcome;
  std::unique_ptr<RandomReader> reader;
  try {
    reader = m_fs.OpenForReadingAt(path);
  } catch (const FileError& e) {
    outcome.error = e.what();
    return outcome;
  }
  outcome.opened = true;
  outcome.size = reader->Size();

  std::uint64_t offset = 0;
  while (offset < outcome.size) {
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(m_buffer.size(), outcome.size - offset));
    RandomReader::Result block = reader->ReadAt(offset, m_buffer.data(), length);
    if (block.Failed()) block = reader->ReadAt(offset, m_buffer.data(), length);
    if (block.Failed()) {
      if (outcome.error.empty()) outcome.error = block.error;
      // Each bad sector can take the drive seconds: the sectors report as they go.
      if (!ReadSectors(*reader, offset, length, outcome, afterBlock)) {
        if (offset + length < outcome.size) outcome.stopped = true;
        return outcome;
      }
    } else if (block.bytes < length) {
      // Shorter than when it was opened: what is not there cannot be read.
      outcome.bytesRead += block.bytes;
      outcome.unreadableBytes += outcome.size - offset - block.bytes;
      if (outcome.error.empty()) outcome.error = "The file ended before its size.";
      if (afterBlock) afterBlock(outcome.size - offset);
      return outcome;
    } else {
      outcome.bytesRead += block.bytes;
      if (afterBlock && !afterBlock(length) && offset + length < outcome.size) {
        outcome.stopped = true;
        return outcome;
      }
    }
    offset += length;
  }
  return outcome;
}

bool FullReader::ReadSectors(RandomReader& reader, std::uint64_t offset, std::size_t length,
                             FullReadOutcome& outcome, const std::function<bool(std::uint64_t)>& afterSector) {
  for (std::size_t done = 0; done < length;) {
    const std::size_t sector = std::min(kSectorBytes, length - done);
    const RandomReader::Result result = reader.ReadAt(offset + done, m_buffer.data(), sector);
    if (result.Failed()) {
      outcome.unreadableBytes += sector;
    } else {
      outcome.bytesRead += result.bytes;
      // A sector cut short by the end of the file: the rest is not there.
      outcome.unreadableBytes += sector - result.bytes;
    }
    done += sector;
    if (afterSector && !afterSector(sector)) {
      // Stopped before the end when sectors of the block are left.
      if (done < length) outcome.stopped = true;
      return false;
    }
  }
  return true;
}

}  // namespace discovel
