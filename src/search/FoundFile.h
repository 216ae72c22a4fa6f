#pragma once
// Getting a found file back from its disc: where it lies on the read device,
// asking for the disc by its mark until the file is there, and the file-drop
// block that hands it to the clipboard.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace discovel {

// The file's path on the disc in drive `drive`: "E:\Music\Rock\a.mp3" from
// the Directory "Music\Rock" and the File "a.mp3"; the Directory "\" is the
// disc's root.
std::string DiscPathOf(char drive, std::string_view directory, std::string_view file);

// One found file in full, with the texts of its row exactly as its list
// shows them: what the file properties show.
struct PropretiesValues {
  std::string mark;
  std::string directory;
  std::string file;
  std::string type;
  std::string date;
  std::string size;
};

// How an archive holds a listed file: what tells it among files of a disc
// whose names it stores alike.
struct ArchivedAs {
  bool namesInCodePage = false;  // the archive has no encoding key
  std::optional<std::int64_t> size;
  std::optional<std::int32_t> dosTime;
};

// A listed file and the disc it is to be got from.
struct FileOnDisc {
  std::string mark;  // the disc asked for
  std::string directory;
  std::string file;
  // The disc in the drive is not to be read from, even where a file lies at
  // that path (the checked disc, whose own copy is the damaged one).
  bool askForDisc = false;
  // The archive of the disc asked for, where only that disc will do: a disc
  // found to be another is refused, whatever files it holds. Empty: any disc
  // with a file at the path.
  std::string archivePath;
  ArchivedAs archived;
};

// What asking for a disc needs from the platform and the user.
struct DiscRequest {
  // Asks for the disc even when the file is there already.
  bool askForDisc = false;
  std::function<bool(char drive)> discInDrive;  // throws for a drive that is no letter
  std::function<bool(const std::string& path)> fileExists;
  // Whether the disc in the drive is the one asked for; unset takes any disc.
  std::function<bool(char drive)> isDiscAskedFor;
  std::function<void(char drive)> openTray;
  // The disc insertion wait with its message; its modal result.
  std::function<int(const std::string& message)> waitForDisc;
  std::function<void(std::string_view text)> alert;
};

// True when the file at `path` can be had: it is there already (and the
// request does not insist on asking), or the user inserted the disc marked
// `mark` when asked (and it is the disc asked for, where the request can
// tell). False after a cancelled wait (nothing said) or a wrong disc (said,
// and the tray opened again).
bool BringFileWithinReach(char drive, const std::string& path, std::string_view mark,
                          const DiscRequest& request);

// A one-file drop list (CF_HDROP) of the UTF-8 `path`: the 20-byte header
// (list offset 20, drop point 0, 0, not in the non-client area, wide), the
// path in UTF-16, then two NUL units ending the path and the list.
std::string DropFilesBlock(std::string_view path);

}  // namespace discovel
