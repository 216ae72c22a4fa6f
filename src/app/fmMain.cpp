#include "app/fmMain.h"

#include "catalog/CatalogFolder.h"
#include "platform/Platform.h"
#include "resource.h"

namespace discovel {

TfrmMain::TfrmMain(std::string programPath, bool endsProgram)
    : m_programPath(std::move(programPath)), m_endsProgram(endsProgram) {}

void TfrmMain::Create() {
  WindowSpec spec;
  spec.className = kMainWindowClass;
  spec.caption = "Discovel";
  // Fixed single border, no maximize box.
  spec.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  spec.width = 320;
  spec.height = 160;
  spec.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DISCOVEL));
  spec.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  CreateFormWindow(spec);
  CenterOnScreen(Handle());

  // A folder that cannot be created is not reported here: the first save says so.
  m_catalogFolder = CatalogFolderFor(m_programPath);
  FileSystem& files = SystemFileSystem();
  if (!files.FolderExists(m_catalogFolder)) files.CreateFolders(m_catalogFolder);
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      if (m_endsProgram) PostQuitMessage(0);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace discovel
