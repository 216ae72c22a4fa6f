#include "ui/ChildWindow.h"

#include <commctrl.h>

#include "platform/AppError.h"
#include "ui/Controls.h"
#include "ui/ErrorBox.h"
#include "ui/Form.h"

namespace discovel {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// The control's form stops routing its notifications to a wrapper that is gone.
void ForgetRoute(HWND control) {
  if (Form* form = Form::FromHandle(GetParent(control))) {
    form->RouteNotifications(control, nullptr);
    form->RouteCommands(control, nullptr);
  }
}

}  // namespace

ChildWindow::~ChildWindow() { Destroy(); }

void ChildWindow::Create(HWND parent, const wchar_t* className, int id, const ControlBounds& bounds, DWORD style,
                         DWORD exStyle, DWORD commonControls, unsigned anchors) {
  Destroy();
  if (commonControls) {
    INITCOMMONCONTROLSEX controls{sizeof controls, commonControls};
    InitCommonControlsEx(&controls);
  }
  const HWND hwnd = CreateChild(parent, className, "", style, bounds, id, FontRole::Normal, exStyle, anchors);
  if (!hwnd) throw AppError("Cannot create the control.");
  m_hwnd = hwnd;
  SetWindowSubclass(hwnd, &ChildWindow::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void ChildWindow::TakeCommands() {
  if (Form* form = Form::FromHandle(GetParent(m_hwnd))) form->RouteCommands(m_hwnd, this);
}

void ChildWindow::Destroy() {
  const HWND hwnd = m_hwnd;
  if (!hwnd) return;
  m_hwnd = nullptr;
  ForgetRoute(hwnd);
  RemoveWindowSubclass(hwnd, &ChildWindow::SubclassProc, kSubclassId);
  DestroyWindow(hwnd);
}

LRESULT CALLBACK ChildWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self) {
  auto* window = reinterpret_cast<ChildWindow*>(self);
  if (message == WM_NCDESTROY) {
    // The form went first and took its controls along.
    RemoveWindowSubclass(hwnd, &ChildWindow::SubclassProc, kSubclassId);
    ForgetRoute(hwnd);
    window->m_hwnd = nullptr;
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  bool handled = false;
  GuardedCall([&] { handled = window->OnControlMessage(message, wParam, lParam, result); });
  return handled ? result : DefSubclassProc(hwnd, message, wParam, lParam);
}

// A hidden control paints nothing anyway, and WM_SETREDRAW would show it:
// the default handling sets WS_VISIBLE again.
ChildWindow::RedrawSuspension::RedrawSuspension(ChildWindow& control)
    : m_control(control),
      m_hidden(control.Handle() && !(GetWindowLongW(control.Handle(), GWL_STYLE) & WS_VISIBLE)) {
  if (!m_hidden && m_control.m_redrawSuspensions++ == 0 && m_control.Handle()) {
    SendMessageW(m_control.Handle(), WM_SETREDRAW, FALSE, 0);
  }
}

ChildWindow::RedrawSuspension::~RedrawSuspension() {
  if (m_hidden || --m_control.m_redrawSuspensions > 0 || !m_control.Handle()) return;
  SendMessageW(m_control.Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(m_control.Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

ChildWindow::DirectSends::DirectSends(ChildWindow& control) : m_control(control) {
  if (m_control.m_directSends++ == 0 && m_control.Handle()) {
    RemoveWindowSubclass(m_control.Handle(), &ChildWindow::SubclassProc, kSubclassId);
  }
}

ChildWindow::DirectSends::~DirectSends() {
  if (--m_control.m_directSends > 0 || !m_control.Handle()) return;
  SetWindowSubclass(m_control.Handle(), &ChildWindow::SubclassProc, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(&m_control));
}

}  // namespace discovel
