// The icon inside discovel.exe: an image for every size Explorer and the task
// bar ask for, and the tray icon and the window's icons at the sizes of the
// screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/DpiIcon.h"
#include "app/TrayIcon.h"
#include "e2e/ProgramUnderTest.h"
#include "resource.h"

namespace discovel {
namespace {

// One image of an icon group resource, as the resource compiler stores it.
#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width;  // 0 for 256
  BYTE height;
  BYTE colours;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytes;
  WORD id;  // of its RT_ICON resource
};
#pragma pack(pop)

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  // An icon without colour bitmap stacks its AND and XOR masks in one.
  const SIZE size{bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return size;
}

SIZE g_addedIconSize;

BOOL WINAPI RecordingShell(DWORD message, PNOTIFYICONDATAW data) {
  if (message == NIM_ADD) g_addedIconSize = IconSize(data->hIcon);
  return TRUE;
}

class ProgramIconTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(g_exe.empty()) << "pass the path of discovel.exe";
    program = LoadLibraryExA(g_exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << g_exe << ": " << GetLastError();
  }
  void TearDown() override {
    if (program) FreeLibrary(program);
  }

  std::vector<BYTE> Resource(LPCSTR name, LPCSTR type) const {
    HRSRC found = FindResourceA(program, name, type);
    HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
    const auto* bytes = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    return bytes ? std::vector<BYTE>(bytes, bytes + SizeofResource(program, found)) : std::vector<BYTE>();
  }

  HMODULE program = nullptr;
};

TEST_F(ProgramIconTest, HoldsAnImageForEverySizeTheShellAsksForTheLargestAsPng) {
  const std::vector<BYTE> group = Resource(MAKEINTRESOURCEA(IDI_DISCOVEL), RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u);
  WORD count = 0;
  memcpy(&count, group.data() + 4, sizeof count);
  ASSERT_GE(group.size(), 6 + count * sizeof(GroupIconEntry));

  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    GroupIconEntry entry;
    memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
    const int side = entry.width ? entry.width : 256;
    sizes.push_back(side);
    const std::vector<BYTE> image = Resource(MAKEINTRESOURCEA(entry.id), RT_ICON);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << side;
    if (side == 256) {
      EXPECT_EQ(memcmp(image.data(), "\x89PNG", 4), 0) << "the 256 pixel image is stored as PNG";
    } else {
      BITMAPINFOHEADER header;
      memcpy(&header, image.data(), sizeof header);
      EXPECT_EQ(header.biSize, sizeof header) << side;
      EXPECT_EQ(header.biWidth, side);
      EXPECT_EQ(header.biBitCount, 32) << side << " pixels: a bitmap with alpha";
    }
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

TEST_F(ProgramIconTest, TheTrayIconHasTheSmallIconSizeOfTheScreen) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  g_addedIconSize = {0, 0};
  {
    TrayIcon tray;
    tray.UseShell(RecordingShell);
    tray.Attach(owner, program, IDI_DISCOVEL, "Discovel");
    tray.SetVisible(true);
  }
  // This test program runs at the system DPI, the task bar's.
  const int smallSide = GetSystemMetrics(SM_CXSMICON);
  EXPECT_EQ(g_addedIconSize.cx, smallSide);
  EXPECT_EQ(g_addedIconSize.cy, smallSide);
  DestroyWindow(owner);
}

TEST_F(ProgramIconTest, AWindowGetsABigAndASmallIconOfTheSizesOfItsScreen) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                nullptr);
  ASSERT_NE(window, nullptr);
  WindowIcons icons;
  icons.Apply(window, program, IDI_DISCOVEL);
  const auto iconSide = [&](WPARAM which) {
    return IconSize(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0))).cx;
  };
  // This test program runs at the system DPI, on every monitor.
  EXPECT_EQ(iconSide(ICON_SMALL), GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(iconSide(ICON_BIG), GetSystemMetrics(SM_CXICON));
  DestroyWindow(window);
}

}  // namespace
}  // namespace discovel
