#pragma once
// The About box: name, version and rights, the web and e-mail links, and two
// figures of the computer's memory.
#include "app/ShellLauncher.h"
#include "platform/AppContext.h"
#include "platform/win32/Handles.h"
#include "ui/Action.h"
#include "ui/Dialog.h"

namespace discovel {

class TfrmAbout final : public Dialog {
 public:
  // When a box is open already it is closed instead; returns Cancel either way.
  static int Execute(AppContext& context);
  // The same, handing the links to `shell`.
  static int Execute(AppContext& context, ShellLauncher& shell);
  TfrmAbout(AppContext& context, ShellLauncher& shell);
  void Create();

 protected:
  void OnActivated() override;
  void OnCommand(int id, int code) override;
  void OnPaintBody(HDC dc) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;

 private:
  HWND CreateRow(int y, const char* caption, int valueId);
  bool IsLink(HWND control) const;
  void DrawVersion(const DRAWITEMSTRUCT& item);

  AppContext& m_context;
  ShellLauncher& m_shell;
  Action m_actHomePage;
  Action m_actSupportMail;
  Action m_actNewsletter;
  Action m_actClose;
  HWND m_lblVersion = nullptr;
  HWND m_lblHomePage = nullptr;
  HWND m_lblSupportMail = nullptr;
  HWND m_lblNewsletter = nullptr;
  HWND m_lblMemory = nullptr;
  HWND m_lblResources = nullptr;
};

}  // namespace discovel
