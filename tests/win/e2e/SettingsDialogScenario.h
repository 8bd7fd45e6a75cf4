#pragma once
// The settings dialog's scenarios: a program started with given settings and three workbenches, the
// dialog opened through its commands, its controls worked as a user would, and the region editor.
#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <algorithm>

#include "ToolbarScenario.h"
#include "ZarnMessages.h"
#include "resource.h"

namespace zarn::e2e {

inline constexpr wchar_t kEditorClass[] = L"TZarnFrmCustomMode";
inline constexpr wchar_t kInformation[] = L"情報";
inline constexpr wchar_t kAlreadyRegistered[] = L"このﾜｰｸﾍﾞﾝﾁ名は既に登録されています";

// The editor's buttons in the order of their places: top row left to right, then the bottom row.
enum EditorButton { kTopLeft, kTopRight, kBottomLeft, kBottomRight, kConfirm };

inline constexpr RECT kMonitor{0, 0, 1920, 1080};

struct Layer {
  bool layered = false;
  DWORD flags = 0;
  BYTE alpha = 0;
  COLORREF key = 0;
};

// Read across processes, as the window system keeps it.
inline Layer LayerOf(HWND window) {
  Layer layer;
  layer.layered = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  if (layer.layered) GetLayeredWindowAttributes(window, &layer.key, &layer.alpha, &layer.flags);
  return layer;
}

inline bool IsAlpha(const Layer& layer, BYTE alpha) {
  return layer.layered && layer.flags == LWA_ALPHA && layer.alpha == alpha;
}
inline bool IsColourKey(const Layer& layer) {
  return layer.layered && layer.flags == LWA_COLORKEY && layer.key == GetSysColor(COLOR_BTNFACE);
}

// Three workbenches, the first with a folder record, as the program writes them.
inline std::string ThreeWorkBenches(std::wstring_view first = L"A") {
  return WorkBenchSection(first, true, {{L"C:\\Work\\One", RectAt(10, 20, 300, 200)}}) + WorkBenchSection(L"B", false) +
         WorkBenchSection(L"C", false);
}

class SettingsDialogTest : public E2eTest {
 protected:
  ZarnClient& Start(const std::vector<Setting>& settings, const std::string& workBenches = ThreeWorkBenches()) {
    std::filesystem::create_directories(ZarnFolder());
    WriteFileBytes(ZarnFolder() / L"Zarn.wbf", workBenches);
    return Ready(StartZarn(ConfigIni(settings)));
  }

  // Opens the dialog through a command, as its menu item would.
  HWND Open(UINT command) {
    EXPECT_TRUE(Zarn().Post(command));
    dialog_ = WaitForDialogWith(Zarn(), IDC_CONFIG_TABS);
    EXPECT_NE(dialog_, nullptr) << "the settings dialog did not open";
    return dialog_;
  }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  static LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &answer), 0) << message;
    return static_cast<LRESULT>(answer);
  }

  // The program's thread handles its posted messages in order: once a marker posted after them has
  // arrived, so have they. The marker is the track bar's arrow-key step, which no scenario uses.
  bool Flush() {
    HWND track = Item(IDC_TKB_MAINLAYER);
    const LPARAM marker = ++marker_ % 50 + 2;
    PostMessageW(track, TBM_SETLINESIZE, 0, marker);
    return WaitUntil([&] { return SendTo(track, TBM_GETLINESIZE) == marker; }, 5s);
  }

  // A user's pick in a drop-down list: the selection, then the notification it makes.
  void Choose(int combo, int index) {
    SendTo(Item(combo), CB_SETCURSEL, static_cast<WPARAM>(index));
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(combo)));
  }
  int Selection(int combo) { return static_cast<int>(SendTo(Item(combo), CB_GETCURSEL)); }

  void MoveTrackBar(int position) {
    HWND track = Item(IDC_TKB_MAINLAYER);
    SendTo(track, TBM_SETPOS, TRUE, position);
    PostMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(track));
    EXPECT_TRUE(Flush());
  }

  // Presses OK or Cancel and waits until the command that showed the dialog has come back.
  void CloseWith(int button) {
    ASSERT_TRUE(ZarnClient::PressButton(dialog_, button));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog_); }, 5s)) << "the dialog stayed";
    ASSERT_TRUE(Zarn().WaitIdle());
  }

  std::vector<std::wstring> Rows() {
    HWND list = Item(IDC_LST_WB);
    std::vector<std::wstring> rows;
    const LRESULT count = SendTo(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT length = SendTo(list, LB_GETTEXTLEN, static_cast<WPARAM>(i));
      std::wstring row(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
      SendTo(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row.data()));
      row.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
      rows.push_back(row);
    }
    return rows;
  }

  void SelectRow(int row) {
    HWND list = Item(IDC_LST_WB);
    SendTo(list, LB_SETCURSEL, static_cast<WPARAM>(row));
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDC_LST_WB, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_TRUE(Flush());
  }

  void Press(int button) {
    EXPECT_TRUE(ZarnClient::PressButton(dialog_, button)) << button;
    EXPECT_TRUE(Flush());
  }

  // Renames the selected row through the input dialog; what the program then said, if anything.
  std::wstring Rename(std::wstring_view name) {
    EXPECT_TRUE(ZarnClient::PressButton(dialog_, IDC_BTN_CHANGENAME));
    HWND input = WaitForDialogWith(Zarn(), IDC_INPUT_EDIT);
    if (input == nullptr) return L"(no input dialog)";
    EXPECT_TRUE(ZarnClient::SetControlText(input, IDC_INPUT_EDIT, name));
    EXPECT_TRUE(ZarnClient::PressButton(input, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(input); }, 5s));
    EXPECT_TRUE(Flush());
    HWND box = Zarn().WaitForDialog(kInformation, 300ms);
    if (box == nullptr) return {};
    std::vector<std::wstring> texts;
    WaitUntil([&] { return !(texts = ZarnClient::StaticTexts(box)).empty(); }, 2s);
    EXPECT_TRUE(ZarnClient::PressButton(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5s));
    return Joined(texts);
  }

  // The workbenches the load button's menu offers.
  std::vector<std::wstring> LoadMenuNames() {
    const auto menu = OpenDropDown(Zarn(), kLoadButton);
    EXPECT_TRUE(menu) << "the load menu did not open";
    EXPECT_TRUE(Zarn().CloseMenus());
    std::vector<std::wstring> names;
    if (!menu) return names;
    const auto items = Level(*menu);
    for (std::size_t i = 2; i < items.size(); ++i) names.push_back(items[i].text);
    return names;
  }

  std::string WorkBenchBytes() { return TryReadFileBytes(Zarn().WorkBenchFile()).value_or("(unreadable)"); }

  // The region editor of the program, once it shows.
  HWND WaitForEditor() {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          for (HWND window : FindWindowsOfClass(kEditorClass)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == Zarn().ProcessId() && IsWindowVisible(window)) found = window;
          }
          return found != nullptr;
        },
        5s);
    return found;
  }

  // Clicks one of the editor's buttons, found by where it sits in the editor's panel.
  static void Click(HWND editor, EditorButton which) {
    std::vector<HWND> buttons;
    EnumChildWindows(
        editor,
        [](HWND child, LPARAM list) -> BOOL {
          wchar_t name[32] = {};
          GetClassNameW(child, name, 32);
          if (lstrcmpiW(name, L"Button") == 0) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&buttons));
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
      const RECT ra = WindowRect(a), rb = WindowRect(b);
      return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    ASSERT_EQ(buttons.size(), 5u) << "the editor's panel";
    PostMessageW(buttons[which], BM_CLICK, 0, 0);
  }

  HWND dialog_ = nullptr;

 private:
  LPARAM marker_ = 0;
};

}  // namespace zarn::e2e
