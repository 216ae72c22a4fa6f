// The system's save dialog hands the program the path the user gave it as
// UTF-8, whatever its script.
#include "ui/FileDialog.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "support/TempFolder.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/TestHostForm.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

std::wstring Exact(const std::string& path) { return L"\\\\?\\" + Wide(path); }

TEST(FileDialogTest, ThePathChosenAndTheNameProposedKeepTheirScripts) {
  test::TempFolder temp;
  // In folders no code page holds. (Wine's dialog takes no path longer than
  // 260 characters.)
  const std::string level = "Ωμέγα 日本語 Кириллица 😀 ";
  std::string folder = temp.Path();
  std::vector<std::string> made;
  for (int depth = 0; depth < 2; ++depth) {
    folder += level + std::to_string(depth) + "\\";
    ASSERT_TRUE(CreateDirectoryW(Exact(folder).c_str(), nullptr)) << GetLastError();
    made.push_back(folder);
  }
  const std::string path = folder + "Ёлка 😀.zip";
  test::TestHostForm host;
  host.Create();
  test::SaveDialogRun run;
  std::optional<std::string> chosen;
  {
    test::Script script([&] { run = test::SaveInDialog(host.Handle(), path); });
    chosen = AskForFile({.owner = host.Handle(),
                         .filter = L"Zip files (*.zip)\0*.zip\0",
                         .defaultExtension = L"zip",
                         .proposedName = "Сохранить 😀.zip",
                         .flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR,
                         .save = true});
  }
  for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(Exact(*it).c_str());
  EXPECT_TRUE(run.shown);
  EXPECT_EQ(run.proposedName, "Сохранить 😀.zip");
  EXPECT_EQ(chosen, path);
}

}  // namespace
}  // namespace discovel
