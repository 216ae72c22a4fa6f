#pragma once
// Reading a fuzz input in a form that seed files can be written by hand:
// single bytes and lines first, then files, each introduced by the marker
// "\0>" and its name line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace discovel::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : m_rest(reinterpret_cast<const char*>(data), size) {}

  // The next byte; 0 once the input is used up.
  unsigned char Byte() {
    if (m_rest.empty()) return 0;
    const auto c = static_cast<unsigned char>(m_rest.front());
    m_rest.remove_prefix(1);
    return c;
  }
  // Little-endian; missing bytes count as 0.
  std::uint32_t Word32() {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{Byte()} << shift;
    return value;
  }
  // Up to the next '\n', which is taken but not returned; the rest when there is none.
  std::string_view Line() {
    const std::size_t end = m_rest.find('\n');
    const std::string_view line = m_rest.substr(0, end);
    m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
    return line;
  }
  std::string_view Rest() const { return m_rest; }

 private:
  std::string_view m_rest;
};

struct FuzzFile {
  std::string name;
  std::string bytes;
};

inline constexpr std::string_view kFileMarker{"\0>", 2};

// The files of `text`: whatever stands before the first marker is not a file.
inline std::vector<FuzzFile> SplitFiles(std::string_view text) {
  std::vector<FuzzFile> files;
  std::size_t at = text.find(kFileMarker);
  while (at != std::string_view::npos) {
    const std::size_t nameBegin = at + kFileMarker.size();
    const std::size_t next = text.find(kFileMarker, nameBegin);
    std::string_view body = text.substr(nameBegin, next - nameBegin);
    const std::size_t nameEnd = body.find('\n');
    FuzzFile file;
    file.name = body.substr(0, nameEnd);
    if (nameEnd != std::string_view::npos) file.bytes = body.substr(nameEnd + 1);
    files.push_back(std::move(file));
    at = next;
  }
  return files;
}

// A broken expectation: reported like a crash, so libFuzzer keeps the input.
#define FUZZ_REQUIRE(condition)                                                    \
  do {                                                                             \
    if (!(condition)) {                                                            \
      std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__, \
                   #condition);                                                    \
      std::abort();                                                                \
    }                                                                              \
  } while (false)

}  // namespace discovel::fuzz
