#pragma once
// The About box: name, version and rights, the web and e-mail links, and two
// figures of the computer's memory.
#include "app/ShellLauncher.h"
#include "platform/AppContext.h"
#include "platform/win32/Handles.h"
#include "ui/Button.h"
#include "ui/Label.h"
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
  void OnPaintBody(HDC dc) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;

 private:
  void CreateRow(Label& value, int y, const char* caption, int valueId);
  bool IsLink(HWND control) const;
  void DrawVersion(const DRAWITEMSTRUCT& item);

  AppContext& m_context;
  ShellLauncher& m_shell;
  Label m_lblVersion;
  Label m_lblHomePage;
  Label m_lblSupportMail;
  Label m_lblNewsletter;
  Label m_lblMemory;
  Label m_lblResources;
  Button m_btnCancel;
};

}  // namespace discovel
