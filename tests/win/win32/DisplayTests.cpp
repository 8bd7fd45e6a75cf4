#include "win32/Win32Display.h"

#include <gtest/gtest.h>

#include "TestWindow.h"
#include "win32/Win32WindowSystem.h"

namespace zarn::win32 {
namespace {

// The test prefix runs one virtual desktop of 1920x1080; several monitors cannot be made under
// Wine, so the index logic for them is covered by the core's tests with injected monitor lists.
TEST(Display, OneWholeMonitorOnTheTestDesktop) {
  Win32Display display;
  const std::vector<Area> monitors = display.Monitors();
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_EQ(monitors[0], (Area{0, 0, 1920, 1080}));
  EXPECT_EQ(display.VirtualDesktop(), (Area{0, 0, 1920, 1080}));
}

TEST(Display, MonitorOfAWindowIsTheNearestEvenOffScreen) {
  Win32Display display;
  Win32WindowSystem system;
  test::TestWindow window;
  EXPECT_EQ(display.MonitorIndexOf(window.handle()), 0);
  ASSERT_TRUE(system.SetWindowPos(window.handle(), kHwndTop, 5000, -4000, 300, 200, 0));
  EXPECT_EQ(display.MonitorIndexOf(window.handle()), 0);
  EXPECT_EQ(display.MonitorIndexOf(test::DestroyedWindowHandle()), 0);
  EXPECT_EQ(display.MonitorIndexOf(0), 0);
}

TEST(Display, CaptionHeightIsTheSystemMetric) {
  Win32Display display;
  EXPECT_GT(display.CaptionHeight(), 0);
  EXPECT_EQ(display.CaptionHeight(), ::GetSystemMetrics(SM_CYCAPTION));
}

}  // namespace
}  // namespace zarn::win32
