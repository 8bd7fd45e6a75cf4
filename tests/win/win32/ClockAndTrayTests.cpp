#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWindow.h"
#include "win32/Win32Clock.h"
#include "win32/Win32Tray.h"

namespace zarn::win32 {
namespace {

using namespace std::chrono_literals;

TEST(Clock, CountsMillisecondsAndSleepsAtLeastRoughlyAsAsked) {
  Win32Clock clock;
  const auto start = clock.Now();
  clock.Sleep(60ms);
  const auto slept = clock.Now() - start;
  // The tick has a granularity of 10 to 16 ms; a unit mistake would be off by a factor of 1000.
  EXPECT_GE(slept, 40ms);
  EXPECT_LT(slept, 5s);

  const auto before = clock.Now();
  clock.Sleep(-5ms);
  clock.Sleep(0ms);
  EXPECT_LT(clock.Now() - before, 1s) << "nothing to sleep must not sleep";
}

int g_timerCalls = 0;

TEST(Clock, AWaitDispatchesTheThreadsMessagesAndLeavesAQuitForTheLoop) {
  Win32Clock clock;
  test::TestWindow window({0, 0, 200, 100}, 0, false);
  std::vector<UINT> filtered;
  clock.SetMessageFilter([&](const MSG& message) {
    filtered.push_back(message.message);
    return message.message == WM_APP + 1;  // handled here, never dispatched
  });
  ::PostMessageW(window.hwnd(), WM_APP + 1, 0, 0);
  // A timer's procedure runs only when its message is dispatched.
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) { ++g_timerCalls; });
  clock.Sleep(100ms);
  ::KillTimer(nullptr, timer);
  ASSERT_GE(filtered.size(), 2u);
  EXPECT_EQ(filtered[0], UINT{WM_APP + 1});
  EXPECT_EQ(filtered[1], UINT{WM_TIMER});
  EXPECT_GE(g_timerCalls, 1);

  ::PostQuitMessage(3);
  clock.Sleep(20ms);
  EXPECT_TRUE(clock.QuitSeen());
  MSG quit{};
  ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 3u);
}

TEST(TrayTip, ShortTipsAreKeptWhole) {
  EXPECT_EQ(TrayTip(u"Zarn"), L"Zarn");
  EXPECT_EQ(TrayTip(u""), L"");
  const std::u16string full(127, u'あ');
  EXPECT_EQ(TrayTip(full).size(), 127u);
}

TEST(TrayTip, LongTipsAreCutWithoutSplittingASurrogatePair) {
  EXPECT_EQ(TrayTip(std::u16string(300, u'x')).size(), 127u);
  // 126 units, then a pair whose high half would be the 127th unit.
  std::u16string tip(126, u'x');
  tip += u"\U0001F600tail";
  const std::wstring cut = TrayTip(tip);
  EXPECT_EQ(cut, std::wstring(126, L'x'));
  // A pair that fits ends right at the limit.
  std::u16string fits(125, u'x');
  fits += u"\U0001F600tail";
  EXPECT_EQ(TrayTip(fits).size(), 127u);
}

TEST(Tray, IconIsAddedOnceAndRemovedOnce) {
  test::TestWindow owner({0, 0, 200, 100}, 0, false);
  TrayIcon icon;
  icon.owner = owner.handle();
  icon.id = 7;
  icon.callbackMessage = 0x83E8;
  icon.icon = reinterpret_cast<std::uintptr_t>(::LoadIconW(nullptr, IDI_APPLICATION));
  icon.tip = u"Zarn テスト";
  ASSERT_TRUE(AddTrayIcon(icon));
  EXPECT_TRUE(RemoveTrayIcon(icon));
  EXPECT_FALSE(RemoveTrayIcon(icon)) << "the icon is gone already";
}

}  // namespace
}  // namespace zarn::win32
