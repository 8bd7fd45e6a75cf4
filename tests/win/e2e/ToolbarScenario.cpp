#include "ToolbarScenario.h"

#include <commctrl.h>

#include <algorithm>

#include "resource.h"

namespace zarn::e2e {

ZarnClient& Ready(ZarnClient& zarn) {
  // A sent message alone is not enough: the program answers those while it waits on the tray in
  // the middle of its start-up.
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, zarn.ProcessId());
  EXPECT_NE(process, nullptr);
  if (process != nullptr) {
    EXPECT_EQ(WaitForInputIdle(process, 10000), 0u);
    CloseHandle(process);
  }
  EXPECT_TRUE(zarn.WaitIdle(10s));
  return zarn;
}

std::string ConfigIni(const std::vector<Setting>& values) {
  std::string text = "[Config]\r\n";
  for (const auto& [key, value] : values) text += key + "=" + value + "\r\n";
  return text;
}

std::optional<std::string> ConfigValue(const std::filesystem::path& file, std::string_view key) {
  bool inConfig = false;
  const std::optional<std::string> bytes = TryReadFileBytes(file);
  if (!bytes) return std::nullopt;
  for (std::string line : SplitLines(*bytes)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inConfig = line == "[Config]";
    } else if (inConfig && line.size() > key.size() && line.compare(0, key.size(), key) == 0 &&
               line[key.size()] == '=') {
      return line.substr(key.size() + 1);
    }
  }
  return std::nullopt;
}

std::string Cp932Text(std::wstring_view text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string WorkBenchSection(std::wstring_view name, bool last,
                             const std::vector<std::pair<std::filesystem::path, RECT>>& folders) {
  // Appended piece by piece, which spares GCC 12 a false -Wrestrict alarm.
  std::string text = "[";
  text += Cp932Text(name);
  text += last ? "]\r\nLast=1\r\n" : "]\r\nLast=0\r\n";
  int number = 0;
  for (const auto& [folder, r] : folders) {
    // path, left, top, width, height, show command, minimized x y, maximized x y, normal top left right bottom
    text += std::to_string(++number);
    text += '=';
    text += Cp932Text(folder.wstring());
    for (long value :
         {r.left, r.top, r.right - r.left, r.bottom - r.top, 1L, -1L, -1L, -1L, -1L, r.top, r.left, r.right, r.bottom})
      text += '\t' + std::to_string(value);
    text += "\r\n";
  }
  return text + "\r\n";
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

HWND ToolBarOf(HWND main) { return GetDlgItem(main, IDC_TOOLBAR); }

// TB_GETITEMRECT writes into the asking process's memory: the RECT must live in the program's.
RECT ToolButtonRect(const ZarnClient& zarn, int index) {
  RECT rect{};
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, zarn.ProcessId());
  if (process == nullptr) return rect;
  void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  DWORD_PTR answer = 0;
  if (remote != nullptr &&
      SendMessageTimeoutW(ToolBarOf(zarn.Window()), TB_GETITEMRECT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 5000, &answer) &&
      answer != 0) {
    ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
  }
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return rect;
}

std::optional<standin::ReportedMenu> MenuHolding(const ZarnClient& zarn, UINT id) {
  if (zarn.WaitForMenu() == nullptr) return std::nullopt;
  std::optional<standin::ReportedMenu> found;
  // A menu whose loop has not answered yet is left out of a report: ask again.
  WaitUntil(
      [&] {
        for (const standin::ReportedMenu& menu : zarn.Report().menus) {
          if (standin::FindMenuItem(menu, id) != nullptr) found = menu;
        }
        return found.has_value();
      },
      3s, 100ms);
  return found;
}

// A menu that opens under the pointer selects the item there, and the keys then count from it: the
// pointer waits in the desktop's far corner, where no menu of these scenarios opens.
namespace {
void ParkPointer() {
  SetCursorPos(GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1,
               GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1);
}
}  // namespace

std::optional<standin::ReportedMenu> OpenDropDown(const ZarnClient& zarn, int index) {
  ParkPointer();
  const RECT button = ToolButtonRect(zarn, index);
  // The arrow sits at the button's right end.
  const LPARAM at = MAKELPARAM(button.right - 4, (button.top + button.bottom) / 2);
  HWND toolBar = ToolBarOf(zarn.Window());
  PostMessageW(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(toolBar, WM_LBUTTONUP, 0, at);
  const UINT fixed = index == kCascadeButton ? IDM_CASCADE_KEEP_SIZE
                     : index == kSaveButton  ? IDM_NEW_WB
                                             : IDM_ORGANISE_WB;
  return MenuHolding(zarn, fixed);
}

std::optional<standin::ReportedMenu> OpenContextMenu(const ZarnClient& zarn) {
  ParkPointer();
  const RECT r = WindowRect(zarn.Window());
  zarn.PostToWindow(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(zarn.Window()), MAKELPARAM(r.left + 10, r.top + 10));
  return MenuHolding(zarn, IDM_EXIT);
}

void ChooseByKeys(const ZarnClient& zarn, const std::vector<int>& path) {
  HWND menu = zarn.WaitForMenu();
  if (menu == nullptr) return;
  for (std::size_t level = 0; level < path.size(); ++level) {
    // A popup opens with nothing selected; a submenu opened by the right arrow has its first selected.
    const int downs = level == 0 ? path[level] + 1 : path[level];
    for (int i = 0; i < downs; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    if (level + 1 < path.size()) PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);
  }
  // The menu loop acts on the character a return key makes.
  PostMessageW(menu, WM_CHAR, L'\r', 0);
}

std::vector<standin::ReportedMenuItem> Level(const standin::ReportedMenu& menu, std::wstring_view parent) {
  std::vector<standin::ReportedMenuItem> items;
  const int depth = parent.empty() ? 0 : 1;
  bool inside = parent.empty();
  for (const standin::ReportedMenuItem& item : menu.items) {
    if (item.depth == 0 && !parent.empty()) inside = item.text == parent;
    if (inside && item.depth == depth) items.push_back(item);
  }
  return items;
}

std::vector<UINT> Ids(const std::vector<standin::ReportedMenuItem>& items) {
  std::vector<UINT> ids;
  for (const auto& item : items) ids.push_back(item.separator ? 0 : item.id);
  return ids;
}

std::vector<UINT> Defaults(const std::vector<standin::ReportedMenuItem>& items) {
  std::vector<UINT> ids;
  for (const auto& item : items) {
    if (item.isDefault) ids.push_back(item.id);
  }
  return ids;
}

HWND WaitForDialogWith(const ZarnClient& zarn, int controlId, Milliseconds bound) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND dialog : zarn.Dialogs()) {
          if (GetDlgItem(dialog, controlId) != nullptr) found = dialog;
        }
        return found != nullptr;
      },
      bound);
  return found;
}

std::wstring Joined(const std::vector<std::wstring>& texts) {
  std::wstring all;
  for (const std::wstring& text : texts) all += (all.empty() ? L"" : L"\n") + text;
  return all;
}

void KillProcess(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  if (process == nullptr) return;
  TerminateProcess(process, 9);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

}  // namespace zarn::e2e
