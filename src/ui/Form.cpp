#include "ui/Form.h"

#include <unordered_map>

#include "platform/AppError.h"
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

Form::~Form() {
  if (m_hwnd) {
    LiveForms().erase(m_hwnd);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
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
  GuardedCall([&] { consumed = form->PreTranslate(msg); });
  return consumed;
}

void Form::CreateFormWindow(const WindowSpec& params) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{sizeof existing};
  if (!GetClassInfoExA(instance, params.className, &existing)) {
    WNDCLASSEXA wc{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Form::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = params.icon;
    wc.hIconSm = params.icon;
    wc.hbrBackground = params.background ? params.background : reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = params.className;
    if (!RegisterClassExA(&wc)) throw AppError("Cannot register the window class.");
  }
  CreateWindowExA(params.exStyle, params.className, params.caption, params.style, CW_USEDEFAULT, CW_USEDEFAULT,
                  params.width, params.height, params.owner, nullptr, instance, this);
  if (!m_hwnd) throw AppError("Cannot create the window.");
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT Form::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Form* form = FromHandle(hwnd);
  if (message == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->m_hwnd = hwnd;
    LiveForms()[hwnd] = form;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  if (!form) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    LiveForms().erase(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    form->m_hwnd = nullptr;
    GuardedCall([&] { form->OnWindowDestroyed(); });
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (!GuardedCall([&] { result = form->HandleMessage(message, wParam, lParam); })) return 0;
  return result;
}

void CenterOnScreen(HWND hwnd) {
  RECT window{};
  RECT work{};
  GetWindowRect(hwnd, &window);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace discovel
