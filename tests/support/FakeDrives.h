#pragma once
// A machine's drives for core tests: the logical-drive mask is set apart from
// the types, so a test can give a type to a letter whose bit is clear and see
// it unasked. Every question is logged.
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "drives/DriveQueries.h"

namespace discovel::test {

class FakeDrives final : public DriveQueries {
 public:
  void Add(char letter, unsigned type) {
    mask |= Bit(letter);
    types[letter] = type;
  }

  std::uint32_t LogicalDrives() override { return mask; }
  unsigned DriveType(const std::string& rootPath) override {
    typeAsked.push_back(rootPath);
    // The platform reads the root as a C string and folds the letter's case.
    const std::string root = rootPath.c_str();
    if (root.size() != 3 || root.substr(1) != ":\\") return kDriveNoRootDir;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
    const auto it = types.find(letter);
    return it == types.end() ? kDriveNoRootDir : it->second;
  }
  std::optional<std::uint64_t> VolumeTotalSize(char letter) override {
    sizeAsked.push_back(letter);
    if (discs.count(letter) == 0) return std::nullopt;
    return 650u * 1024 * 1024;
  }

  static std::uint32_t Bit(char letter) { return std::uint32_t{1} << (letter - 'A'); }

  std::uint32_t mask = 0;
  std::map<char, unsigned> types;
  std::set<char> discs;  // drives with a readable medium
  std::vector<std::string> typeAsked;
  std::vector<char> sizeAsked;
};

}  // namespace discovel::test
