#include "support/win32/SearchWindowDriver.h"

#include "search/fmSearch.h"
#include "search/fmSearchIds.h"
#include "support/win32/DriverFault.h"
#include "support/win32/UiDriver.h"
#include "ui/WindowText.h"
#include "ui/ButtonPictures.h"

namespace discovel::test {

using namespace fmSearchIds;

void SearchWindowDriver::Run(AppContext& context, const std::string& mark,
                             const std::function<void(SearchWindowDriver&)>& script) {
  DriveModal(kClassName, [&] { TfrmSearch::Execute(context, mark); }, [&](HWND window) {
    SearchWindowDriver driver(window);
    script(driver);
    driver.Close();
  });
}

SearchWindowDriver::SearchWindowDriver(HWND window) : KeyedListWindowDriver(window, kListView1, kSb1) {}

void SearchWindowDriver::TypeTerm(const std::string& term) const { SetText(kEdtSearch, term); }

void SearchWindowDriver::TypeTermWithKeys(const std::string& term) const {
  TypeTerm("");
  const HWND field = Control(kEdtSearch);
  if (!WaitUntil([&] { return FocusOf(Handle()) == field; }, std::chrono::seconds(3))) {
    DriverFault("The search field does not take the keyboard focus.");
    return;
  }
  TypeText(term);
  // Typed characters come through the window's queue: the whole term is
  // there once the field shows as many characters.
  WaitUntil([&] { return Term() == term; }, std::chrono::seconds(3));
}

std::string SearchWindowDriver::Term() const { return TextOf(Control(kEdtSearch)); }

void SearchWindowDriver::PressKeyInField(UINT key) const { PressKeyIn(kEdtSearch, key); }

void SearchWindowDriver::ClickGo() const { ClickButton(kBtnGo); }

std::string SearchWindowDriver::WaitForSearchEnd(std::chrono::milliseconds timeout) const {
  std::string status;
  WaitUntil(
      [&] {
        status = Status();
        return status.rfind("Files: ", 0) == 0 || status == "There are no results to display.";
      },
      timeout);
  return status;
}

std::string SearchWindowDriver::Search(const std::string& term) const {
  ClearStatus();
  TypeTerm(term);
  ClickGo();
  return WaitForSearchEnd();
}

int SearchWindowDriver::GoPicture() const { return ButtonPictureIndex(Control(kBtnGo)); }

void SearchWindowDriver::SetDates(const SYSTEMTIME& from, const SYSTEMTIME& to) const {
  SendMessageW(Control(kDtpFrom), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&from));
  SendMessageW(Control(kDtpTo), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&to));
}

void SearchWindowDriver::Close() const { PressKeyInField(VK_ESCAPE); }

}  // namespace discovel::test
