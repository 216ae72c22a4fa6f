#include "support/win32/BrowseWindowDriver.h"

#include "browse/fmBrowse.h"
#include "browse/fmBrowseIds.h"
#include "platform/win32/WideText.h"
#include "support/win32/DriverFault.h"
#include "support/win32/UiDriver.h"

namespace discovel::test {
namespace {

using namespace fmBrowseIds;

std::string ItemText(HWND tree, HTREEITEM item) {
  wchar_t buffer[512] = {};
  TVITEMW data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = buffer;
  data.cchTextMax = static_cast<int>(std::size(buffer));
  if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return {};
  return Utf8(buffer);
}

HTREEITEM Next(HWND tree, HTREEITEM item, WPARAM how) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

void BrowseWindowDriver::Run(AppContext& context, const std::string& archivePath, const std::string& mark,
                             const std::function<void(BrowseWindowDriver&)>& script) {
  DriveModal(kClassName, [&] { TfrmBrowse::Execute(context, archivePath, mark); }, [&](HWND window) {
    BrowseWindowDriver driver(window);
    // The window shows at once and fills once the archive is read.
    if (!WaitUntil([&] { return !driver.Address().empty(); })) DriverFault("The browser showed no folder.");
    script(driver);
    driver.Close();
  });
}

BrowseWindowDriver::BrowseWindowDriver(HWND window) : ListWindowDriver(window, kListView1, kSb1) {}

HWND BrowseWindowDriver::Tree() const { return Control(kTreeView1); }

Texts BrowseWindowDriver::TreeItems(const Texts& path) const {
  HTREEITEM item = Next(Tree(), nullptr, TVGN_ROOT);
  for (const std::string& step : path) {
    while (item && ItemText(Tree(), item) != step) item = Next(Tree(), item, TVGN_NEXT);
    if (!item) {
      DriverFault("The tree shows no item \"" + step + "\".");
      return {};
    }
    item = Next(Tree(), item, TVGN_CHILD);
  }
  Texts texts;
  for (; item; item = Next(Tree(), item, TVGN_NEXT)) texts.push_back(ItemText(Tree(), item));
  return texts;
}

bool BrowseWindowDriver::TreeShowsRootsChildren() const {
  const HTREEITEM root = Next(Tree(), nullptr, TVGN_ROOT);
  return root && Next(Tree(), root, TVGN_CHILD) && (TreeView_GetItemState(Tree(), root, TVIS_EXPANDED) & TVIS_EXPANDED);
}

std::string BrowseWindowDriver::TreeSelection() const {
  HTREEITEM selected = Next(Tree(), nullptr, TVGN_CARET);
  return selected ? ItemText(Tree(), selected) : std::string();
}

std::string BrowseWindowDriver::Address() const { return ControlText(Handle(), kEdtAddress); }

std::string BrowseWindowDriver::WaitForAddress(const std::string& address) const {
  WaitUntil([&] { return Address() == address; });
  return Address();
}

void BrowseWindowDriver::PressAltKeyInList(UINT key) const {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  constexpr LPARAM kAltDown = 1 << 29;
  PostMessageW(List(), WM_SYSKEYDOWN, key, 1 | (scan << 16) | kAltDown);
  PostMessageW(List(), WM_SYSKEYUP, key, 1 | (scan << 16) | kAltDown | 0xC0000000u);
}

bool BrowseWindowDriver::RowInView(int row) const {
  RECT client{};
  GetClientRect(List(), &client);
  RECT bounds = ListCellBounds(List(), row, 0);
  return bounds.top >= client.top && bounds.bottom <= client.bottom && bounds.bottom > bounds.top;
}

}  // namespace discovel::test
