// Whether the application is ending is the state of the thread's queue: a
// WM_QUIT stays pending through the pumps of long work until the loop that
// owns it takes it, and then nothing of it is left for later work.
#include <gtest/gtest.h>

#include <functional>

#include "ui/MessagePump.h"
#include "ui/WindowPump.h"

namespace discovel {
namespace {

// A window that counts the messages it was handed.
class CountingWindow {
 public:
  CountingWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"DiscovelPumpCounter";
    RegisterClassW(&windowClass);
    m_hwnd = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             windowClass.hInstance, nullptr);
  }
  ~CountingWindow() { DestroyWindow(m_hwnd); }
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;

  HWND Handle() const { return m_hwnd; }
  static inline int handled = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++handled;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HWND m_hwnd = nullptr;
};

// The loop that owns the quit takes it, as the program's main loop does (a
// peek, so that a lost quit fails the test instead of waiting for ever).
WPARAM TakeQuit() {
  MSG msg{};
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "a quit is pending";
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT)) << "and nothing else is left";
  return msg.wParam;
}

TEST(MessagePumpTest, AQuitStaysPendingThroughNestedPumpsUntilItsLoopTakesIt) {
  ASSERT_FALSE(ApplicationTerminated());
  PostQuitMessage(7);
  EXPECT_TRUE(ApplicationTerminated()) << "before any pump saw it";
  WindowPump pump;
  pump.Pump();
  PumpMessages();
  EXPECT_TRUE(pump.Terminated()) << "left for the loop that owns it";
  EXPECT_EQ(TakeQuit(), 7u) << "with its exit code";
  EXPECT_FALSE(ApplicationTerminated()) << "taken, it is over: later work runs";
  EXPECT_FALSE(pump.Terminated());
}

TEST(MessagePumpTest, AskingLeavesTheOtherMessagesForThePump) {
  CountingWindow window;
  ASSERT_NE(window.Handle(), nullptr);
  CountingWindow::handled = 0;
  PostMessageW(window.Handle(), WM_APP, 0, 0);
  PostQuitMessage(0);
  EXPECT_TRUE(ApplicationTerminated());
  EXPECT_EQ(CountingWindow::handled, 0);
  PumpMessages();
  EXPECT_EQ(CountingWindow::handled, 1) << "the message posted before the quit is handled";
  EXPECT_TRUE(ApplicationTerminated());
  TakeQuit();
  EXPECT_FALSE(ApplicationTerminated());
}

// Pumps as a walk does, every few milliseconds, until `done` (at most two
// seconds); no other pump runs, so that nothing else takes the messages.
bool PumpedUntil(UiPump& pump, const std::function<bool()>& done) {
  for (int i = 0; i < 400; ++i) {
    pump.Pump();
    if (done()) return true;
    Sleep(5);
  }
  return false;
}

// A walk pumps after every entry; the pump hands on once per interval, and
// the application's end that a handler starts is seen after that pump.
TEST(MessagePumpTest, AWalkPumpHandsOnOncePerIntervalAndSeesTheEndAHandlerStarted) {
  CountingWindow window;
  ASSERT_NE(window.Handle(), nullptr);
  CountingWindow::handled = 0;
  WalkPump pump;
  PostMessageW(window.Handle(), WM_APP, 0, 0);
  pump.Pump();
  EXPECT_EQ(CountingWindow::handled, 1) << "the first pump hands on";

  const ULONGLONG start = GetTickCount64();
  PostMessageW(window.Handle(), WM_APP, 0, 0);
  pump.Pump();
  if (GetTickCount64() - start < WalkPump::kIntervalMs) {
    EXPECT_EQ(CountingWindow::handled, 1) << "within the interval the message waits";
  }
  EXPECT_TRUE(PumpedUntil(pump, [&] {
    return CountingWindow::handled == 2;
  })) << "and is handed on after it";

  PostQuitMessage(3);
  EXPECT_TRUE(PumpedUntil(pump, [&] {
    return pump.Terminated();
  }));
  EXPECT_EQ(TakeQuit(), 3u) << "left for the loop that owns it";
}

}  // namespace
}  // namespace discovel
