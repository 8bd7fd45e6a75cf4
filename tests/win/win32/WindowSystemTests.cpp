#include "win32/Win32WindowSystem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestWindow.h"
#include "win32/WindowHandles.h"

namespace zarn::win32 {
namespace {

using test::TestWindow;
using test::WaitUntil;

Rect RawWindowRect(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

TEST(WindowSystem, AWindowWhoseThreadStopsAnsweringIsHungWithinTheBound) {
  std::atomic<HWND> hwnd = nullptr;
  std::atomic<bool> stall = false;
  std::atomic<bool> stallOver = false;
  std::thread owner([&] {
    TestWindow window;
    hwnd = window.hwnd();
    WaitUntil([&] { return stall.load(); }, std::chrono::seconds(10));
    ::Sleep(5000);  // stuck, as a thread waiting on a share is
    stallOver = true;
  });
  ASSERT_TRUE(WaitUntil([&] { return hwnd.load() != nullptr; }));
  Win32WindowSystem system;
  const WindowHandle handle = FromHwnd(hwnd.load());
  EXPECT_FALSE(system.IsHung(handle));
  stall = true;
  ::Sleep(100);
  EXPECT_TRUE(system.IsHung(handle));
  EXPECT_FALSE(stallOver.load()) << "the question waited for the thread to come back";
  owner.join();
  EXPECT_FALSE(system.IsHung(handle)) << "a window that has gone is not hung";
}

TEST(WindowSystem, SetWindowPosMovesAndSizesExactly) {
  TestWindow window;
  Win32WindowSystem system;
  ASSERT_TRUE(system.SetWindowPos(window.handle(), kHwndTop, 130, 70, 640, 480, 0));
  EXPECT_EQ(system.GetWindowRect(window.handle()), (Rect{130, 70, 770, 550}));
  EXPECT_EQ(system.GetWindowRect(window.handle()), RawWindowRect(window.hwnd()));

  // Negative origins are ordinary on a monitor left of the primary one.
  ASSERT_TRUE(system.SetWindowPos(window.handle(), kHwndTop, -300, -20, 250, 200, 0));
  EXPECT_EQ(system.GetWindowRect(window.handle()), (Rect{-300, -20, -50, 180}));
}

TEST(WindowSystem, NoSizeKeepsTheSizeAndNoMoveKeepsThePlace) {
  TestWindow window;
  Win32WindowSystem system;
  ASSERT_TRUE(system.SetWindowPos(window.handle(), kHwndTop, 50, 60, 400, 300, 0));
  ASSERT_TRUE(system.SetWindowPos(window.handle(), kHwndTop, 200, 210, 1, 1, kSwpNoSize));
  EXPECT_EQ(system.GetWindowRect(window.handle()), (Rect{200, 210, 600, 510}));
  ASSERT_TRUE(system.SetWindowPos(window.handle(), kHwndTop, 0, 0, 500, 350, kSwpNoMove));
  EXPECT_EQ(system.GetWindowRect(window.handle()), (Rect{200, 210, 700, 560}));
}

TEST(WindowSystem, TinySizesAreClampedToTheMinimumTrackSize) {
  TestWindow window;
  Win32WindowSystem system;
  EXPECT_TRUE(system.SetWindowPos(window.handle(), kHwndTop, 40, 40, 10, 10, 0));
  const Rect rect = system.GetWindowRect(window.handle());
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 40);
  EXPECT_GE(rect.Width(), ::GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_GE(rect.Height(), ::GetSystemMetrics(SM_CYMINTRACK));
  EXPECT_GT(rect.Width(), 10) << "a caller that waits for the asked size must bound its wait";
}

TEST(WindowSystem, TopMostInsertAfterReachesTheSystem) {
  TestWindow window;
  Win32WindowSystem system;
  ASSERT_TRUE(system.SetWindowPos(window.handle(), kHwndTopMost, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize));
  EXPECT_NE(::GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST(WindowSystem, PlacementFieldsComeFromTheRightPlaces) {
  TestWindow window;
  Win32WindowSystem system;
  // Distinct values in every field, so a swapped field cannot go unnoticed.
  WINDOWPLACEMENT raw{};
  raw.length = sizeof raw;
  raw.flags = WPF_SETMINPOSITION;
  raw.showCmd = SW_SHOWNORMAL;
  raw.ptMinPosition = {11, 13};
  raw.ptMaxPosition = {17, 19};
  raw.rcNormalPosition = {123, 145, 567, 489};
  ASSERT_TRUE(::SetWindowPlacement(window.hwnd(), &raw));

  WINDOWPLACEMENT expected{};
  expected.length = sizeof expected;
  ASSERT_TRUE(::GetWindowPlacement(window.hwnd(), &expected));
  const Placement placement = system.GetWindowPlacement(window.handle());
  EXPECT_EQ(placement.showCmd, static_cast<std::int32_t>(expected.showCmd));
  EXPECT_EQ(placement.minPosition, (Point{expected.ptMinPosition.x, expected.ptMinPosition.y}));
  EXPECT_EQ(placement.maxPosition, (Point{expected.ptMaxPosition.x, expected.ptMaxPosition.y}));
  EXPECT_EQ(placement.normalPosition, (Rect{123, 145, 567, 489}));
  EXPECT_EQ(placement.showCmd, SW_SHOWNORMAL);
}

TEST(WindowSystem, PlacementRoundTripsForNormalMinimizedAndMaximized) {
  Win32WindowSystem system;
  for (const std::int32_t showCmd : {std::int32_t{SW_SHOWNORMAL}, kSwShowMinimized, kSwShowMaximized}) {
    SCOPED_TRACE(showCmd);
    TestWindow window;
    Placement wanted;
    wanted.showCmd = showCmd;
    wanted.minPosition = {-1, -1};
    wanted.maxPosition = {-1, -1};
    wanted.normalPosition = {210, 120, 850, 600};
    ASSERT_TRUE(system.SetWindowPlacement(window.handle(), wanted));
    const Placement read = system.GetWindowPlacement(window.handle());
    EXPECT_EQ(read.showCmd, showCmd);
    EXPECT_EQ(read.normalPosition, wanted.normalPosition);
    EXPECT_EQ(::IsIconic(window.hwnd()) != FALSE, showCmd == kSwShowMinimized);
    EXPECT_EQ(::IsZoomed(window.hwnd()) != FALSE, showCmd == kSwShowMaximized);
    if (showCmd == SW_SHOWNORMAL) {
      EXPECT_EQ(system.GetWindowRect(window.handle()), wanted.normalPosition);
    }
  }
}

TEST(WindowSystem, MaximizedWindowCoversTheDesktopAndKeepsItsNormalRect) {
  TestWindow window({300, 200, 900, 700});
  Win32WindowSystem system;
  ASSERT_TRUE(system.ShowWindow(window.handle(), kSwShowMaximized));
  const Rect rect = system.GetWindowRect(window.handle());
  // The sizing frame hangs over the monitor's edges by the same amount on each side.
  EXPECT_LE(rect.left, 0);
  EXPECT_LE(rect.top, 0);
  EXPECT_EQ(rect.right - 1920, -rect.left);
  EXPECT_EQ(rect.bottom - 1080, -rect.top);
  const Placement placement = system.GetWindowPlacement(window.handle());
  EXPECT_EQ(placement.showCmd, kSwShowMaximized);
  EXPECT_EQ(placement.normalPosition, (Rect{300, 200, 900, 700}));

  ASSERT_TRUE(system.ShowWindow(window.handle(), SW_RESTORE));
  EXPECT_EQ(system.GetWindowRect(window.handle()), (Rect{300, 200, 900, 700}));
}

TEST(WindowSystem, ShowDefaultShowsAHiddenWindow) {
  TestWindow window({100, 100, 400, 400}, 0, false);
  Win32WindowSystem system;
  ASSERT_FALSE(::IsWindowVisible(window.hwnd()));
  EXPECT_TRUE(system.ShowWindow(window.handle(), kSwShowDefault));
  EXPECT_TRUE(::IsWindowVisible(window.hwnd()));
}

TEST(WindowSystem, PostCloseClosesAWindowOfAnotherThread) {
  std::atomic<HWND> created{nullptr};
  std::atomic<bool> ended{false};
  std::atomic<DWORD> ownerThread{0};
  std::thread owner([&] {
    ownerThread = ::GetCurrentThreadId();
    test::TestWindow window;
    created = window.hwnd();
    MSG message;
    // The default handling of WM_CLOSE destroys the window; the loop ends when it is gone.
    while (::IsWindow(window.hwnd()) && ::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    ended = true;
  });
  ASSERT_TRUE(WaitUntil([&] { return created.load() != nullptr; }));
  const HWND hwnd = created.load();
  Win32WindowSystem system;
  EXPECT_TRUE(system.PostClose(FromHwnd(hwnd)));
  const bool closed = WaitUntil([&] { return ended.load(); });
  if (!closed) ::PostThreadMessageW(ownerThread.load(), WM_QUIT, 0, 0);
  owner.join();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(WindowSystem, AWindowThatIsGoneReadsAsZerosAndRefusesChanges) {
  const WindowHandle gone = test::DestroyedWindowHandle();
  Win32WindowSystem system;
  EXPECT_EQ(system.GetWindowRect(gone), Rect{});
  EXPECT_EQ(system.GetWindowPlacement(gone), Placement{});
  EXPECT_FALSE(system.SetWindowPos(gone, kHwndTop, 0, 0, 100, 100, 0));
  EXPECT_FALSE(system.SetWindowPlacement(gone, Placement{1, {}, {}, {0, 0, 100, 100}}));
  EXPECT_FALSE(system.ShowWindow(gone, kSwShowDefault));
  EXPECT_FALSE(system.PostClose(gone));
  EXPECT_FALSE(system.Exists(gone));
  EXPECT_FALSE(system.IsHung(gone));
  TestWindow there;
  EXPECT_TRUE(system.Exists(there.handle()));
}

}  // namespace
}  // namespace zarn::win32
