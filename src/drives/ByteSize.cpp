#include "drives/ByteSize.h"

#include "catalog/ReadableSize.h"

namespace discovel {

std::string FormatByteSize(std::uint64_t bytes) { return ReadableSize(CountTotal(bytes), ".", "", SizeUnit::kTB); }

}  // namespace discovel
