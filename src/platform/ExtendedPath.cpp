#include "platform/ExtendedPath.h"

#include <vector>

namespace discovel {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The end of the part that ".." never climbs above: "C:", "\\server\share",
// "\\?\C:" or "\\?\UNC\server\share" (backslashes only by now).
std::size_t RootEnd(std::string_view path) {
  const auto afterParts = [&](std::size_t from, int parts) {
    std::size_t at = from;
    for (int part = 0; part < parts && at < path.size(); ++part) {
      const std::size_t next = path.find('\\', at);
      at = next == std::string_view::npos ? path.size() : next + (part + 1 < parts ? 1 : 0);
    }
    return at;
  };
  if (path.substr(0, 8) == "\\\\?\\UNC\\") return afterParts(8, 2);
  if (path.substr(0, 4) == "\\\\?\\") return afterParts(4, 1);
  if (path.substr(0, 2) == "\\\\") return afterParts(2, 2);
  return 2;  // "C:"
}

// The root of the absolute `base` (a drive or a share), for a rooted path.
std::string_view RootOf(std::string_view base) {
  std::string slashed(base);
  for (char& c : slashed) {
    if (c == '/') c = '\\';
  }
  return base.substr(0, RootEnd(slashed));
}

std::string Joined(std::string_view folder, std::string_view rest) {
  std::string path(folder);
  if (!path.empty() && !IsSeparator(path.back())) path += '\\';
  path += rest;
  return path;
}

}  // namespace

std::size_t ExtendedRootLength(std::string_view extendedPath) { return RootEnd(extendedPath); }

PathStart StartOf(std::string_view path) {
  if (path.substr(0, 4) == "\\\\?\\") return PathStart::kExtended;
  if (path.substr(0, 4) == "\\\\.\\") return PathStart::kDevice;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return PathStart::kUnc;
  if (!path.empty() && IsSeparator(path[0])) return PathStart::kRooted;
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    return path.size() >= 3 && IsSeparator(path[2]) ? PathStart::kDrive : PathStart::kDriveRelative;
  }
  return PathStart::kRelative;
}

std::string ExtendedLengthPath(std::string_view path, std::string_view base) {
  if (path.empty()) return {};
  std::string full;
  switch (StartOf(path)) {
    case PathStart::kExtended:
    case PathStart::kDevice:
      return std::string(path);
    case PathStart::kDrive:
    case PathStart::kUnc:
      full = path;
      break;
    case PathStart::kDriveRelative:
      full = Joined(base, path.substr(2));
      break;
    case PathStart::kRooted:
      full = std::string(RootOf(base)) + std::string(path);
      break;
    case PathStart::kRelative:
      full = Joined(base, path);
      break;
  }
  for (char& c : full) {
    if (c == '/') c = '\\';
  }
  // Without an absolute base (the current folder unknown) the system
  // resolves the path itself, as it would have anyway.
  const PathStart fullStart = StartOf(full);
  if (fullStart != PathStart::kDrive && fullStart != PathStart::kUnc && fullStart != PathStart::kExtended) {
    return std::string(path);
  }
  // A base in the extended form already has its prefix.
  const bool extended = full.substr(0, 4) == "\\\\?\\";
  const std::size_t rootEnd = RootEnd(full);
  std::string root = full.substr(0, rootEnd);
  if (!extended) root = root.substr(0, 2) == "\\\\" ? "\\\\?\\UNC\\" + root.substr(2) : "\\\\?\\" + root;

  std::vector<std::string_view> parts;
  const std::string_view rest = std::string_view(full).substr(rootEnd);
  for (std::size_t at = 0; at < rest.size();) {
    std::size_t end = rest.find('\\', at);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view part = rest.substr(at, end - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  std::string result = root;
  for (const std::string_view part : parts) {
    result += '\\';
    result += part;
  }
  // The root of a drive is "\\?\C:\" ("\\?\C:" is the volume itself).
  if (parts.empty() || full.back() == '\\') result += '\\';
  return result;
}

}  // namespace discovel
