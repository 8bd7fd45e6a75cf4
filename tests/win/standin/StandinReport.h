#pragma once
// A report of one process, written by the stand-in host inside it: what only that process can read
// exactly under Wine (window placements, open popup menus) goes to a file a driver reads back.
// The writer runs on the host thread; the parser serves every test that reads such a file.
#include <windows.h>

#include "CallCounts.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::standin {

// WM_COPYDATA tag of a report request sent to a host window; data = UTF-16 path of the file to
// write. The answer is non-zero once the file is in place.
inline constexpr ULONG_PTR kCopyDataReport = 0x5A524E32;
// WM_COPYDATA tag of a request to set one system colour inside the host's process, as a user's
// change of colours would reach it; data = SysColourRequest. Wine keeps system colours per process,
// so a change made in the test's own process never reaches the program.
inline constexpr ULONG_PTR kCopyDataSysColour = 0x5A524E33;
struct SysColourRequest {
  int element;  // COLOR_BTNFACE, ...
  COLORREF colour;
};
// First line of every report; a new layout gets a new number.
inline constexpr char kReportHeader[] = "zarn-standin-report 1";

struct ReportedFolderWindow {
  HWND hwnd = nullptr;
  RECT windowRect{};
  WINDOWPLACEMENT placement{};  // showCmd, ptMinPosition, ptMaxPosition, rcNormalPosition
  std::wstring path;
  // Present when the reporting process counts its program's calls (a `calls` record).
  std::optional<CallCounts> calls;
};

struct ReportedMenuItem {
  int depth = 0;  // 0 for the menu's own items, 1 for the items of their submenus, ...
  UINT id = 0;
  bool separator = false;
  bool isDefault = false;  // MFS_DEFAULT, drawn bold
  bool grayed = false;     // MFS_GRAYED / MFS_DISABLED
  bool checked = false;
  bool submenu = false;
  bool bitmap = false;  // hbmpItem set
  std::wstring text;
};

struct ReportedMenu {
  HWND window = nullptr;  // the #32768 popup window
  HMENU menu = nullptr;   // valid only inside the reported process
  RECT rect{};
  std::vector<ReportedMenuItem> items;  // depth-first: a submenu's items follow its item
};

struct ReportedTopWindow {
  HWND hwnd = nullptr;
  std::wstring className;
  bool visible = false;
  bool layeredStyle = false;  // WS_EX_LAYERED
  bool layeredRead = false;   // GetLayeredWindowAttributes answered
  COLORREF colourKey = 0;
  BYTE alpha = 0;
  DWORD layeredFlags = 0;  // LWA_COLORKEY | LWA_ALPHA
};

struct ProcessReport {
  DWORD processId = 0;
  std::vector<ReportedFolderWindow> folders;  // creation order
  std::vector<ReportedMenu> menus;            // z-order, top first
  std::vector<ReportedTopWindow> topWindows;  // z-order; stand-in folder and menu windows left out
  long automationCalls = 0;                   // AutomationCallsReceived() when the report was made
};

// Reads the calling process. Popup menus are asked for their handle with MN_GETHMENU, which their
// thread answers from its menu loop; a thread that does not answer within the bound is left out.
ProcessReport BuildReport(DWORD menuTimeoutMs = 2000);
std::string FormatReport(const ProcessReport& report);
std::optional<ProcessReport> ParseReport(std::string_view utf8);

// Writes the report of the calling process to `path` through a temporary file, so a reader never
// sees half a report.
bool WriteReportFile(const std::wstring& path);
// Handles a WM_COPYDATA report request on a host's thread.
bool HandleReportRequest(const COPYDATASTRUCT& data);
// Asks a host to write its process's report to `path`; true when it did within the bound.
bool SendReportRequest(HWND host, const std::wstring& path, UINT timeoutMs = 10000);
// Handles a WM_COPYDATA colour request on a host's thread: SetSysColors, which tells every window.
bool HandleSysColourRequest(const COPYDATASTRUCT& data);
bool SendSysColourRequest(HWND host, int element, COLORREF colour, UINT timeoutMs = 10000);
// The host window living in process `processId`, or nullptr.
HWND HostOfProcess(DWORD processId);

// Convenience for one item: found by id at any depth.
const ReportedMenuItem* FindMenuItem(const ReportedMenu& menu, UINT id);

}  // namespace zarn::standin
