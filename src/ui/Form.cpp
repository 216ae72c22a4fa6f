#include "ui/Form.h"

#include <unordered_map>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"
#include "ui/ButtonPictures.h"
#include "ui/Cursors.h"
#include "ui/Dpi.h"
#include "ui/ErrorBox.h"

namespace discovel {
namespace {

// The live windows of our forms; message boxes and other foreign top-level
// windows are not in it, whatever their user data holds.
std::unordered_map<HWND, Form*>& LiveForms() {
  static std::unordered_map<HWND, Form*> forms;
  return forms;
}

}  // namespace

Form::~Form() { DestroyDetached(); }

void Form::DestroyDetached() {
  // The control wrappers may be gone already; what the window and its
  // controls send while they are destroyed goes nowhere.
  m_notifyTargets.clear();
  m_commandTargets.clear();
  if (m_hwnd) {
    ReleasePictures();
    HWND hwnd = m_hwnd;
    LiveForms().erase(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    m_hwnd = nullptr;
    DestroyWindow(hwnd);
  }
}

Form* Form::FromHandle(HWND hwnd) {
  const auto found = LiveForms().find(hwnd);
  return found == LiveForms().end() ? nullptr : found->second;
}

bool Form::RouteMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  Form* form = FromHandle(GetAncestor(msg.hwnd, GA_ROOT));
  if (!form) return false;
  bool consumed = false;
  GuardedCall([&] { consumed = form->Preview(msg); });
  return consumed;
}

bool Form::Preview(MSG& msg) {
  const std::size_t key = msg.wParam & 0xFF;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      m_pressed.set(key);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      // A release whose press went to another window (a message box that the
      // press closed, say) is not the user's command to this one.
      const bool seen = m_pressed.test(key);
      m_pressed.reset(key);
      if (!seen) return false;
      if (Action* action = m_commands.ForKey(static_cast<UINT>(msg.wParam))) {
        if (IsWindowEnabled(m_hwnd) && action->Execute()) KeyState();
        return true;
      }
      break;
    }
    default:
      break;
  }
  return PreTranslate(msg);
}

bool Form::DispatchCommand(UINT id, WORD code, HWND control) {
  if (control) {
    const auto target = m_commandTargets.find(control);
    if (target != m_commandTargets.end()) {
      // A disabled or hidden control's notifications are not the user's.
      if (!ControlTakesCommands(control)) return true;
      if (target->second->OnCommandCode(code)) return true;
    }
  }
  Action* action = m_commands.ForCommand(id);
  if (!action) return false;
  // While a dialog of the program is open this window is disabled, and a
  // disabled window takes no commands, whoever posts them. A disabled or hidden
  // button does nothing either, also when the dialog manager sends its id for
  // Enter.
  if (!IsWindowEnabled(m_hwnd) || !ControlTakesCommands(GetDlgItem(m_hwnd, static_cast<int>(id)))) return true;
  if (action->Execute()) KeyState();
  return true;
}

bool ControlTakesCommands(HWND control) {
  // The control's own visibility: a dialog hidden with its minimized owner
  // still takes its buttons' commands.
  return !control || (IsWindowEnabled(control) && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE));
}

void Form::RouteNotifications(HWND control, NotifyTarget* target) {
  if (target) {
    m_notifyTargets[control] = target;
  } else {
    m_notifyTargets.erase(control);
  }
}

void Form::RouteCommands(HWND control, CommandTarget* target) {
  if (target) {
    m_commandTargets[control] = target;
  } else {
    m_commandTargets.erase(control);
  }
}

Hints& Form::ControlHints() {
  if (!m_hints.Attached()) m_hints.Attach(m_hwnd);
  return m_hints;
}

void Form::PopUpMenu(HMENU menu, POINT at) {
  KeyState();
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, m_hwnd, nullptr);
}

void Form::BindButton(HWND button, Action& action) {
  action.BindButton(button, &ControlHints());
  const Command* command = m_commands.Find(action);
  if (command && command->picture) ShowPicture(button, *command->picture);
}

bool Form::RunCommand(UINT id) {
  Action* action = m_commands.ForCommand(id);
  if (!action || !action->Execute()) return false;
  KeyState();
  return true;
}

void Form::BindButton(HWND button) {
  Action* action = m_commands.ForCommand(static_cast<UINT>(GetDlgCtrlID(button)));
  if (!action) throw AppError("A button sends a command that is none.");
  BindButton(button, *action);
}

void Form::ShowPicture(HWND button, ButtonPicture picture) {
  const LONG style = GetWindowLongW(button, GWL_STYLE);
  if (!IsToolButton(button) && !(style & BS_BITMAP)) {
    ShowCaptionPicture(button, picture);
    return;
  }
  if (!m_pictures) {
    m_pictures.reset(CreatePictureList(kPictureWidth, kPictureHeight, m_dpi, 4));
    m_pictureIndex.clear();
  }
  auto found = m_pictureIndex.find(picture);
  if (found == m_pictureIndex.end()) {
    found = m_pictureIndex.emplace(picture, AddButtonPicture(m_pictures.get(), picture, m_dpi)).first;
  }
  m_shownPictures[button] = picture;
  DrawButton(m_pictures.get(), button, found->second);
}

void Form::ShowCaptionPicture(HWND button, ButtonPicture picture) {
  const auto laidOut = m_layout.find(button);
  const bool tall = laidOut != m_layout.end() && laidOut->second.rect.height >= 48;
  const int size = tall ? 32 : 16;
  ImageListHandle images(CreateCaptionPictures(picture, size, m_dpi));
  BUTTON_IMAGELIST list{};
  list.himl = images.get();
  const int gap = ScaleToDpi(3, m_dpi);
  list.margin = RECT{gap, gap, gap, tall ? 0 : gap};
  list.uAlign = tall ? BUTTON_IMAGELIST_ALIGN_TOP : BUTTON_IMAGELIST_ALIGN_LEFT;
  SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
  // The button drew with the list it had until now: that one goes only now.
  m_captionPictures[button] = std::move(images);
  m_shownPictures[button] = picture;
  InvalidateRect(button, nullptr, TRUE);
}

void Form::DrawPictures() {
  // Made again at the window's DPI, in the order they were first shown.
  std::map<HWND, ButtonPicture> shown;
  shown.swap(m_shownPictures);
  m_pictures.reset();
  for (const auto& [button, picture] : shown) {
    if (IsWindow(button)) ShowPicture(button, picture);
  }
}

void Form::ReleasePictures() {
  for (const auto& [button, picture] : m_shownPictures) {
    if (!IsWindow(button)) continue;
    if (m_captionPictures.count(button)) {
      BUTTON_IMAGELIST none{};
      none.himl = nullptr;
      SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&none));
    } else {
      FreeButtonPicture(button);
    }
  }
  m_shownPictures.clear();
  m_captionPictures.clear();
}

bool Form::DispatchNotify(const NMHDR& header, LRESULT& result) {
  const auto found = m_notifyTargets.find(header.hwndFrom);
  return found != m_notifyTargets.end() && found->second->OnNotify(header, result);
}

void Form::CreateFormWindow(const WindowSpec& params) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::wstring className = Wide(params.className);
  WNDCLASSEXW existing{sizeof existing};
  if (!GetClassInfoExW(instance, className.c_str(), &existing)) {
    // A Unicode class: its windows and their controls speak UTF-16, typed
    // text and notifications included.
    WNDCLASSEXW wc{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Form::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = SystemCursor(IDC_ARROW);
    wc.hIcon = params.icon;
    wc.hIconSm = params.icon;
    wc.hbrBackground = params.background ? params.background : reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc)) throw AppError("Cannot register the window class.");
  }
  // Made at its owner's DPI, or the primary screen's; a window that lands
  // on a screen of another scale is told so by WM_DPICHANGED.
  m_dpi = params.owner ? WindowDpi(params.owner) : SystemDpi();
  m_designClient = params.client;
  m_hasMenu = params.hasMenu;
  m_style = params.style;
  m_exStyle = params.exStyle;
  const SIZE outer = OuterSizeAtDpi(params.client);
  CreateWindowExW(params.exStyle, className.c_str(), Wide(params.caption).c_str(), params.style, CW_USEDEFAULT,
                  CW_USEDEFAULT, outer.cx, outer.cy, params.owner, nullptr, instance, this);
  if (!m_hwnd) throw AppError("Cannot create the window.");
  // Made on a screen of another scale than guessed: its size is that
  // screen's. No control exists yet to be laid out again.
  if (const UINT actual = SystemWindowDpi(m_hwnd); actual != m_dpi) {
    m_dpi = actual;
    const SIZE resized = OuterSizeAtDpi(params.client);
    SetWindowPos(m_hwnd, nullptr, 0, 0, resized.cx, resized.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

SIZE Form::OuterSizeAtDpi(DesignSize client) const {
  return OuterSizeFor(ScaleToDpi(client.width, m_dpi), ScaleToDpi(client.height, m_dpi), m_style, m_exStyle,
                      m_hasMenu, m_dpi);
}

void Form::Place(HWND control, const DesignRect& rect, unsigned anchors) {
  m_layout[control] = LaidOut{rect, anchors};
  RECT client{};
  GetClientRect(m_hwnd, &client);
  LayOut(control, m_layout[control], client);
}

void Form::LayOut(HWND control, const LaidOut& laidOut, const RECT& client) const {
  const PixelRect at = PlaceInClient(laidOut.rect, laidOut.anchors, m_designClient, client.right, client.bottom, m_dpi);
  SetWindowPos(control, nullptr, at.x, at.y, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ApplyLayout() {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  for (auto it = m_layout.begin(); it != m_layout.end();) {
    if (!IsWindow(it->first) || GetParent(it->first) != m_hwnd) {
      it = m_layout.erase(it);
      continue;
    }
    LayOut(it->first, it->second, client);
    ++it;
  }
}

void Form::KeepFontRole(HWND control, FontRole role) { m_fontRoles[control] = role; }

void Form::TakeDpi(UINT dpi, const RECT& suggested) {
  m_dpi = dpi;
  for (auto it = m_fontRoles.begin(); it != m_fontRoles.end();) {
    if (!IsWindow(it->first) || GetAncestor(it->first, GA_ROOT) != m_hwnd) {
      it = m_fontRoles.erase(it);
      continue;
    }
    SendMessageW(it->first, WM_SETFONT, reinterpret_cast<WPARAM>(ProgramFont(it->second, m_dpi)), TRUE);
    ++it;
  }
  if (m_pictures) DrawPictures();
  OnDpiChanged();
  SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The size may not have changed, and then no WM_SIZE lays the controls out.
  ApplyLayout();
  InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Form::SetOpeningFocus(HWND control) {
  m_lastFocus = control;
  m_opening = true;
}

void Form::FocusShownControl() {
  if (GetActiveWindow() == m_hwnd) RestoreFocus();
}

void Form::RememberFocus() {
  HWND focus = GetFocus();
  if (focus && IsChild(m_hwnd, focus)) {
    m_lastFocus = focus;
    m_opening = false;
  }
}

void Form::RestoreFocus() {
  // The default activation leaves the focus on the window itself, where no
  // key does anything. A control that the form focused while it was being
  // activated keeps it; otherwise, as a dialog does, the control that had it
  // when the window was left (at first, the opening one) gets it back.
  HWND focus = GetFocus();
  if (focus && IsChild(m_hwnd, focus)) return;
  if (!m_lastFocus || !IsWindow(m_lastFocus) || !IsChild(m_hwnd, m_lastFocus) || IsIconic(m_hwnd) ||
      !IsWindowVisible(m_lastFocus) || !IsWindowEnabled(m_lastFocus)) {
    return;
  }
  SetFocus(m_lastFocus);
  if (m_opening && (SendMessageW(m_lastFocus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) {
    SendMessageW(m_lastFocus, EM_SETSEL, 0, -1);
  }
  m_opening = false;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT Form::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Form* form = FromHandle(hwnd);
  if (message == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->m_hwnd = hwnd;
    LiveForms()[hwnd] = form;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    LiveForms().erase(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    form->m_hwnd = nullptr;
    GuardedCall([&] { form->OnWindowDestroyed(); });
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  bool handled = false;
  const bool ok = GuardedCall([&] {
    switch (message) {
      case WM_COMMAND:
        handled = form->DispatchCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        break;
      case WM_DESTROY:
        // Before the controls go: their glyphs are freed with them.
        form->ReleasePictures();
        break;
      case WM_NOTIFY:
        handled = form->DispatchNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
        break;
      case WM_NOTIFYFORMAT:
        // The controls of a form send their notifications in UTF-16
        // (LVN_GETDISPINFOW, TTN_GETDISPINFOW, ...), which is what their
        // wrappers answer.
        if (lParam == NF_QUERY) {
          handled = true;
          result = NFR_UNICODE;
        }
        break;
      case WM_INITMENUPOPUP:
        form->KeyState();
        break;
      case WM_SIZE:
        form->ApplyLayout();
        break;
      case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_BUTTON && IsToolButton(item.hwndItem)) {
          DrawToolButton(item);
          handled = true;
          result = TRUE;
        }
        break;
      }
      case WM_DPICHANGED:
        form->TakeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        handled = true;
        break;
      case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
          form->m_pressed.reset();
          form->RememberFocus();
        }
        break;
      default:
        break;
    }
    if (form->m_placement) {
      if (message == WM_MOVING) form->m_placement->SaveMoving(hwnd, *reinterpret_cast<const RECT*>(lParam));
      if (message == WM_EXITSIZEMOVE) form->m_placement->Save(hwnd);
    }
    if (!handled) result = form->HandleMessage(message, wParam, lParam);
    if (form->m_placement && message == WM_SYSCOMMAND &&
        ((wParam & 0xFFF0) == SC_MAXIMIZE || (wParam & 0xFFF0) == SC_RESTORE)) {
      form->m_placement->Save(hwnd);
    }
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) form->RestoreFocus();
  });
  return ok ? result : 0;
}

void CenterOnScreen(HWND hwnd) {
  RECT window{};
  RECT work{};
  GetWindowRect(hwnd, &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::KeepPlacement(Settings& settings, std::string formName) {
  m_placement = std::make_unique<PlacementKeeper>(settings, std::move(formName));
  m_placement->Restore(m_hwnd);
}

void MinimizeApplication(HWND window) {
  // A window hidden for good (the owner that keeps the main window off the
  // task bar) is no part of what the user sees.
  HWND root = window;
  for (HWND owner = GetWindow(root, GW_OWNER); owner && IsWindowVisible(owner); owner = GetWindow(owner, GW_OWNER)) {
    root = owner;
  }
  if (root == window) {
    ShowWindow(window, SW_MINIMIZE);
  } else {
    SendMessageW(root, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  }
}

}  // namespace discovel
