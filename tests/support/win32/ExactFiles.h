#pragma once
// Files made and removed by their exact names: through the "\\?\" form, so a
// name ending in a blank or a dot, a device name such as "con.txt", or a path
// past 260 characters is the file of that name. Paths are UTF-8 and absolute.
#include <string>
#include <string_view>

namespace discovel::test {

// The path as the program gives it to the system.
std::wstring ExactPath(std::string_view path);
// Creates the folder and every missing parent; throws std::runtime_error.
void CreateFoldersExactly(std::string_view folder);
// Writes the file (its folders made first); throws std::runtime_error.
void WriteFileExactly(std::string_view path, std::string_view bytes);
bool RemoveFileExactly(std::string_view path);
// The folder and everything in it, read-only files too; gone already is fine.
void RemoveTreeExactly(std::string_view folder);

}  // namespace discovel::test
