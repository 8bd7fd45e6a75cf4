// The stand-in's behaviours chosen by marker files, placements across processes, and the report it
// writes of the process hosting its windows.
#include "StandinFixture.h"

namespace standin_tests {
namespace {

// --- Behaviours chosen by a marker file, so that they also meet the explore verb

TEST_F(StandinTest, DelayedFolderOpensLaterWithoutHoldingUpTheCaller) {
  TempFolder folder(L"delay", "/delay:700");
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(Explore(folder.path()));
  EXPECT_TRUE(StandinWindows().empty()) << "the explore request must not wait for the window";
  HWND hwnd = WaitForNewWindow(folder.path(), {}, 5000);
  ASSERT_TRUE(hwnd);
  EXPECT_GE(GetTickCount64() - start, 700u);
}

// The delay above is the window's; here the request itself holds its caller, as one for a share that
// does not answer does. Only a folder named *.zarn-blocking is asked for through that handler.
TEST_F(StandinTest, BlockingFolderHoldsTheExploreRequestItselfThenOpens) {
  for (const wchar_t* name : {L"held.zarn-blocking", L"held"}) {
    SCOPED_TRACE(testing::Message() << name);
    TempFolder folder(name, "/block:800");
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(Explore(folder.path()));
    const ULONGLONG held = GetTickCount64() - start;
    EXPECT_EQ(held >= 800u, std::wstring(name).ends_with(L".zarn-blocking")) << held << " ms";
    EXPECT_TRUE(WaitForNewWindow(folder.path(), {}, 5000));
    CloseAll();
  }
}

TEST_F(StandinTest, NeverFolderIsAcceptedButOpensNothing) {
  TempFolder folder(L"never", "# accepted, then nothing\n/never\n");
  HANDLE process = nullptr;
  ASSERT_TRUE(Explore(folder.path(), &process));
  ASSERT_TRUE(process);
  EXPECT_EQ(0u, WaitForExit(process));
  EXPECT_TRUE(StandinWindows().empty());
}

TEST_F(StandinTest, ForwardFolderBringsTheOpenWindowForwardInsteadOfOpeningAnother) {
  TempFolder folder(L"forward", "/forward"), other(L"other");
  // With nothing open yet, the first request opens a window as usual.
  ASSERT_TRUE(Explore(folder.path()));
  HWND first = WaitForNewWindow(folder.path());
  ASSERT_TRUE(first);
  ASSERT_TRUE(Explore(other.path()));
  HWND second = WaitForNewWindow(other.path());
  ASSERT_TRUE(second);
  ShowWindow(first, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(first) != FALSE; }));

  HANDLE process = nullptr;
  ASSERT_TRUE(Explore(folder.path(), &process));
  EXPECT_EQ(0u, WaitForExit(process));
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(first) && GetForegroundWindow() == first; }));
  EXPECT_EQ(2u, StandinWindows().size());
}

TEST_F(StandinTest, TabFolderJoinsTheNewestWindowAsOneMoreItemAndSlowWindowsCloseLate) {
  TempFolder first(L"first", "/closedelay:800"), tab(L"tab", "/tab");
  // With no window open, a tab folder opens a window of its own.
  ASSERT_TRUE(Explore(tab.path()));
  HWND alone = WaitForNewWindow(tab.path());
  ASSERT_TRUE(alone);
  PostMessageW(alone, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([] { return StandinWindows().empty(); }));

  ASSERT_TRUE(Explore(first.path()));
  HWND window = WaitForNewWindow(first.path());
  ASSERT_TRUE(window);
  ASSERT_TRUE(Explore(tab.path()));
  ASSERT_TRUE(Explore(tab.path()));
  ASSERT_TRUE(WaitFor([&] { return Walk().size() == 3; }));
  const std::vector<Seen> seen = Walk();
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].hwnd, window) << i;
    EXPECT_EQ(seen[i].path, i == 0 ? first.path() : tab.path()) << i;
  }
  EXPECT_EQ(standin::TabPaths(window), (std::vector<std::wstring>{first.path(), tab.path(), tab.path()}));

  // Asked to close, it stays a while: its close delay travels with it to the host.
  const ULONGLONG asked = GetTickCount64();
  PostMessageW(window, WM_CLOSE, 0, 0);
  Sleep(300);
  EXPECT_TRUE(IsWindow(window));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(window); }));
  EXPECT_GE(GetTickCount64() - asked, 800u);
}

TEST_F(StandinTest, SizeLimitedFolderRefusesOtherSizes) {
  TempFolder small(L"min", "/minsize:500,400"), large(L"max", "/maxsize:300,200");
  ASSERT_TRUE(Explore(small.path()));
  HWND a = WaitForNewWindow(small.path());
  ASSERT_TRUE(Explore(large.path()));
  HWND b = WaitForNewWindow(large.path());
  ASSERT_TRUE(a && b);
  RECT rect;
  ASSERT_TRUE(SetWindowPos(a, HWND_TOP, 100, 120, 200, 150, 0));
  GetWindowRect(a, &rect);
  EXPECT_EQ(100, rect.left);
  EXPECT_EQ(120, rect.top);
  EXPECT_EQ(500, rect.right - rect.left);
  EXPECT_EQ(400, rect.bottom - rect.top);
  ASSERT_TRUE(SetWindowPos(b, HWND_TOP, 50, 60, 800, 600, 0));
  GetWindowRect(b, &rect);
  EXPECT_EQ(300, rect.right - rect.left);
  EXPECT_EQ(200, rect.bottom - rect.top);
  // Within the limits the size is taken exactly.
  ASSERT_TRUE(SetWindowPos(a, HWND_TOP, 10, 20, 700, 500, 0));
  GetWindowRect(a, &rect);
  EXPECT_EQ(10, rect.left);
  EXPECT_EQ(710, rect.right);
  EXPECT_EQ(520, rect.bottom);
}

TEST_F(StandinTest, BadMarkerFileIsReportedAndOpensNothing) {
  TempFolder folder(L"bad", "/delay:soon");
  HANDLE process = nullptr;
  ASSERT_TRUE(Explore(folder.path(), &process));
  EXPECT_EQ(1u, WaitForExit(process));
  EXPECT_TRUE(StandinWindows().empty());
}

// --- Placements and processes

TEST_F(StandinTest, PlacementsRoundTripOnWindowsHostedInThisProcess) {
  TempFolder folder(L"placement");
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path());
  ASSERT_TRUE(hwnd);

  WINDOWPLACEMENT asked{};
  asked.length = sizeof(asked);
  asked.showCmd = SW_SHOWMAXIMIZED;
  asked.ptMinPosition = POINT{-1, -1};
  asked.ptMaxPosition = POINT{-1, -1};
  asked.rcNormalPosition = RECT{200, 150, 900, 650};
  ASSERT_TRUE(SetWindowPlacement(hwnd, &asked)) << GetLastError();
  WINDOWPLACEMENT got{};
  got.length = sizeof(got);
  ASSERT_TRUE(GetWindowPlacement(hwnd, &got));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), got.showCmd);
  EXPECT_EQ(200, got.rcNormalPosition.left);
  EXPECT_EQ(150, got.rcNormalPosition.top);
  EXPECT_EQ(900, got.rcNormalPosition.right);
  EXPECT_EQ(650, got.rcNormalPosition.bottom);
  EXPECT_TRUE(IsZoomed(hwnd));

  asked.showCmd = SW_SHOWNORMAL;
  asked.rcNormalPosition = RECT{300, 200, 800, 600};
  ASSERT_TRUE(SetWindowPlacement(hwnd, &asked));
  ASSERT_TRUE(GetWindowPlacement(hwnd, &got));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), got.showCmd);
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(300, rect.left);
  EXPECT_EQ(600, rect.bottom);
}

TEST_F(StandinTest, StartedByHandItIsHostedHereUnlessAskedForItsOwnProcess) {
  TempFolder hosted(L"hosted"), own(L"own");
  HANDLE forwarder = StartFolderProgram(L"\"" + hosted.path() + L"\"");
  ASSERT_TRUE(forwarder);
  EXPECT_EQ(0u, WaitForExit(forwarder)) << "a hosted request ends the program at once";
  HWND a = WaitForNewWindow(hosted.path());
  ASSERT_TRUE(a);
  DWORD process = 0;
  GetWindowThreadProcessId(a, &process);
  EXPECT_EQ(GetCurrentProcessId(), process);

  HANDLE owner = StartFolderProgram(L"/own \"" + own.path() + L"\"");
  ASSERT_TRUE(owner);
  HWND b = WaitForNewWindow(own.path());
  ASSERT_TRUE(b);
  GetWindowThreadProcessId(b, &process);
  EXPECT_NE(GetCurrentProcessId(), process);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(owner, 0));
  const auto seen = Walk();
  ASSERT_EQ(2u, seen.size());
  EXPECT_EQ(own.path(), seen[1].path);
  // Closing its window ends the program.
  PostMessageW(b, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, WaitForExit(owner));
}

TEST_F(StandinTest, UnknownSwitchIsABadUsage) {
  TempFolder folder(L"switch");
  EXPECT_EQ(1u, WaitForExit(StartFolderProgram(L"/sideways \"" + folder.path() + L"\"")));
  EXPECT_EQ(1u, WaitForExit(StartFolderProgram(L"/own")));
  EXPECT_TRUE(StandinWindows().empty());
}

// --- The host's report of its process

// A popup menu opened on a thread of its own, as a program's tool bar opens one.
class PopupMenuThread {
 public:
  PopupMenuThread() : thread_([this] { Run(); }) {}
  ~PopupMenuThread() {
    // Never leave the menu loop running: the thread could not be joined.
    WaitFor([this] { return Close(), done_.load(); });
    thread_.join();
  }
  // The menu's window, once its loop runs.
  static HWND FindWindow() {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"#32768", nullptr)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(found, &process);
      if (process == GetCurrentProcessId() && IsWindowVisible(found)) return found;
    }
    return nullptr;
  }
  // What a driver in another process can do too.
  static void Close() {
    if (HWND window = FindWindow()) PostMessageW(window, WM_CANCELMODE, 0, 0);
  }
  bool Done() const { return done_; }

 private:
  void Run() {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 21, L"Inner");
    AppendMenuW(menu, MF_STRING, 102, L"重ねて表示\tCtrl+K");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 12, L"Grayed");
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 13, L"Checked");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Sub");
    MENUITEMINFOW bitmap{};
    bitmap.cbSize = sizeof(bitmap);
    bitmap.fMask = MIIM_BITMAP;
    bitmap.hbmpItem = HBMMENU_POPUP_CLOSE;
    SetMenuItemInfoW(menu, 13, FALSE, &bitmap);
    SetMenuDefaultItem(menu, 102, FALSE);
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_RETURNCMD, 300, 200, 0, owner, nullptr);
    DestroyMenu(menu);
    DestroyWindow(owner);
    done_ = true;
  }
  std::atomic<bool> done_{false};
  std::thread thread_;
};

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(StandinTest, ReportGivesHostedPlacementsAndTheOpenPopupMenu) {
  TempFolder folder(L"report");
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path());
  ASSERT_TRUE(hwnd);
  WINDOWPLACEMENT asked{};
  asked.length = sizeof(asked);
  asked.showCmd = SW_SHOWMINIMIZED;
  asked.ptMinPosition = POINT{-1, -1};
  asked.ptMaxPosition = POINT{-1, -1};
  asked.rcNormalPosition = RECT{210, 160, 810, 560};
  ASSERT_TRUE(SetWindowPlacement(hwnd, &asked)) << GetLastError();

  PopupMenuThread popup;
  HWND menuWindow = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menuWindow = PopupMenuThread::FindWindow()) != nullptr; }));
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     (L"zarn-standin-report-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
  HWND host = standin::HostOfProcess(GetCurrentProcessId());
  ASSERT_TRUE(host);
  ASSERT_TRUE(standin::SendReportRequest(host, file.wstring()));
  const std::string text = ReadAll(file);
  std::filesystem::remove(file);
  const auto report = standin::ParseReport(text);
  ASSERT_TRUE(report) << text;
  EXPECT_EQ(GetCurrentProcessId(), report->processId);

  ASSERT_EQ(1u, report->folders.size()) << text;
  const auto& window = report->folders[0];
  EXPECT_EQ(hwnd, window.hwnd);
  EXPECT_EQ(folder.path(), window.path);
  EXPECT_EQ(static_cast<UINT>(SW_SHOWMINIMIZED), window.placement.showCmd);
  EXPECT_EQ(210, window.placement.rcNormalPosition.left);
  EXPECT_EQ(560, window.placement.rcNormalPosition.bottom);
  EXPECT_NE(210, window.windowRect.left) << "a minimized window is not at its normal place";

  ASSERT_EQ(1u, report->menus.size()) << text;
  const auto& menu = report->menus[0];
  EXPECT_EQ(menuWindow, menu.window);
  ASSERT_EQ(6u, menu.items.size()) << text;
  EXPECT_EQ(L"重ねて表示\tCtrl+K", menu.items[0].text);
  EXPECT_TRUE(menu.items[0].isDefault);
  EXPECT_TRUE(menu.items[1].separator);
  EXPECT_TRUE(menu.items[2].grayed);
  EXPECT_FALSE(menu.items[2].isDefault);
  EXPECT_TRUE(menu.items[3].checked);
  EXPECT_TRUE(menu.items[3].bitmap);
  EXPECT_TRUE(menu.items[4].submenu);
  EXPECT_EQ(L"Sub", menu.items[4].text);
  EXPECT_EQ(1, menu.items[5].depth);
  EXPECT_EQ(21u, menu.items[5].id);
  EXPECT_EQ(L"Inner", menu.items[5].text);

  PopupMenuThread::Close();
  EXPECT_TRUE(WaitFor([&] { return popup.Done(); })) << "a posted WM_CANCELMODE ends the menu";
}

std::optional<standin::ReportedFolderWindow> ReportedFolder(HWND hwnd) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     (L"zarn-standin-counts-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
  if (!standin::SendReportRequest(standin::HostOfProcess(GetCurrentProcessId()), file.wstring())) return std::nullopt;
  const auto report = standin::ParseReport(ReadAll(file));
  std::filesystem::remove(file);
  if (!report) return std::nullopt;
  for (const auto& folder : report->folders) {
    if (folder.hwnd == hwnd) return folder;
  }
  return std::nullopt;
}

// Wine sends nothing for a ShowWindow that changes nothing, which is what an arrangement does to a
// visible normal window: the calls themselves are counted, each once, and per window.
TEST_F(StandinTest, ReportCountsThisProgramsShowWindowAndSetWindowPosCallsPerWindow) {
  TempFolder first(L"counts-a");
  TempFolder second(L"counts-b");
  ASSERT_TRUE(Explore(first.path()));
  HWND a = WaitForNewWindow(first.path());
  ASSERT_TRUE(Explore(second.path()));
  HWND b = WaitForNewWindow(second.path());
  ASSERT_TRUE(a && b);
  struct Call {
    HWND window;
    std::function<void(HWND)> call;
  };
  const Call calls[] = {
      {a, [](HWND w) { ShowWindow(w, SW_SHOWDEFAULT); }},
      {a, [](HWND w) { SetWindowPos(w, HWND_TOP, 10, 10, 300, 200, 0); }},
      {b, [](HWND w) { ShowWindow(w, SW_SHOWNORMAL); }},
      {b, [](HWND w) { ShowWindow(w, SW_RESTORE); }},
      {b, [](HWND w) { SetWindowPos(w, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE); }},
      {b, [](HWND w) { SetWindowPos(w, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE); }},
  };
  for (const Call& c : calls) c.call(c.window);
  struct Expected {
    HWND window;
    long showWindow;
    long setWindowPos;
  };
  for (const Expected& e : {Expected{a, 1, 1}, Expected{b, 2, 2}}) {
    const auto folder = ReportedFolder(e.window);
    ASSERT_TRUE(folder && folder->calls);
    EXPECT_EQ(e.showWindow, folder->calls->showWindow);
    EXPECT_EQ(e.setWindowPos, folder->calls->setWindowPos);
    EXPECT_GE(folder->calls->positionChanging, e.setWindowPos);
  }
}

TEST(StandinReportFormat, CallsFollowTheirFolderAndMayBeAbsent) {
  const std::string head =
      "zarn-standin-report 1\nprocess\t7\nfolder\t42\t0\t0\t9\t9\t1\t0\t0\t0\t0\t0\t0\t9\t9\tC:\\x\n";
  struct Case {
    std::string body;
    bool parses;
    bool hasCalls;
  };
  for (const Case& c :
       {Case{"end\n", true, false}, Case{"calls\t42\t1\t2\t3\nend\n", true, true},
        Case{"calls\t43\t1\t2\t3\nend\n", false, false}, Case{"calls\t42\t1\t2\nend\n", false, false}}) {
    const auto report = standin::ParseReport(head + c.body);
    ASSERT_EQ(c.parses, report.has_value()) << c.body;
    if (!report) continue;
    ASSERT_EQ(c.hasCalls, report->folders[0].calls.has_value()) << c.body;
    if (c.hasCalls) {
      EXPECT_EQ(2, report->folders[0].calls->setWindowPos);
    }
  }
}

}  // namespace
}  // namespace standin_tests
