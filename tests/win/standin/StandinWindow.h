#pragma once
// Stand-in folder windows: what the explore verb opens on the test bed, and how the stand-in shell
// finds them again. Shared by the folder program and the shell DLL, so both agree on the class name,
// the window properties and the forwarding message.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::standin {

inline constexpr wchar_t kFolderClass[] = L"ZarnStandinFolder";
inline constexpr wchar_t kHostClass[] = L"ZarnStandinHost";
// Creation order, a QueryPerformanceCounter value: the collection is listed in this order, across
// processes.
inline constexpr wchar_t kPropSequence[] = L"ZarnStandin.Sequence";
// Present (non-zero) on a window whose document is not a folder view.
inline constexpr wchar_t kPropNotFolderView[] = L"ZarnStandin.NotFolderView";
// The show command the window was asked to open with, plus one (a property of 0 reads as absent).
inline constexpr wchar_t kPropShowCommand[] = L"ZarnStandin.ShowCommand";
// The child static control whose text is exactly the folder path (also what the window shows).
inline constexpr int kPathControlId = 100;
// A window with tabs: the path of tab k (k >= 1) is the text of the child control kFirstTabControlId + k;
// tab 0 is the path control's.
inline constexpr int kFirstTabControlId = 200;
// WM_COPYDATA tag of an "open this folder" request sent to a host window.
inline constexpr ULONG_PTR kCopyDataOpen = 0x5A524E31;
// WM_COPYDATA tag of an "add this folder as a tab" request sent to a folder window; data = UTF-16 path.
inline constexpr ULONG_PTR kCopyDataAddTab = 0x5A524E34;
// Posted to an open folder window: restore it if minimized and bring it to the foreground.
inline constexpr UINT kMsgBringForward = WM_APP + 0x51;
// Posted to an open folder window: its thread stops answering for wParam milliseconds (at most a
// minute), as an Explorer window waiting on a share that went away does.
inline constexpr UINT kMsgStall = WM_APP + 0x52;
// Name of the file in a folder whose text holds switches for that folder.
inline constexpr wchar_t kMarkerFile[] = L".zarn-standin";

struct Behaviour {
  bool folderView = true;
  bool never = false;  // the program exits without opening anything
  DWORD delayMs = 0;   // wait this long before opening
  // The explore request itself takes this long before it returns to its caller, as a request for a
  // share that does not answer does. Only the stand-in's handler for folders named *.zarn-blocking
  // acts on it; the folder program ignores it.
  DWORD blockMs = 0;
  bool forwardExisting = false;  // an open window of the same path is brought forward instead
  SIZE minTrack{0, 0};           // 0 = the system's own limit
  SIZE maxTrack{0, 0};
  // What the explore verb was asked for (STARTUPINFO's show command). SW_HIDE opens the window
  // hidden, where a caller that does not show it leaves it; any other opens it as SW_SHOWNORMAL.
  int showCommand = SW_SHOWNORMAL;
  bool ownProcess = false;  // never forward to a host
  DWORD hostProcess = 0;    // forward only to the host of this process
  bool asTab = false;       // a new tab of the newest folder window, when there is one
  DWORD closeDelayMs = 0;   // the window goes this long after it is asked to close
  // What the window reports as its folder instead of the path it was opened on, as the shell reports a
  // parsing name ("::{CLSID}", "search-ms:...") for places that are not plain folders.
  std::wstring reportedName;
};

// Applies whitespace-separated switches (command-line or marker-file syntax) to `behaviour`.
// Returns false and says why on an unknown or malformed switch.
bool ApplySwitches(std::wstring_view text, Behaviour& behaviour, std::wstring& error);
// Applies the marker file of `folder` when there is one; false (with `error`) when it cannot be read
// or holds a bad switch.
bool ApplyMarkerFile(const std::wstring& folder, Behaviour& behaviour, std::wstring& error);
// The switches a host needs to open a window like this one (the window's own traits only).
std::wstring WindowSwitches(const Behaviour& behaviour);

// A drive root quoted as "C:\" reaches CommandLineToArgvW's caller as `C:"` (the backslash escapes
// the quote): give the backslash back.
std::wstring RepairArgument(std::wstring argument);
// Absolute path without a trailing separator, except for a drive root ("C:\").
std::wstring NormalizeFolderPath(const std::wstring& path);
bool IsExistingFolder(const std::wstring& path);

struct FolderWindowInfo {
  HWND hwnd = nullptr;
  ULONGLONG sequence = 0;
  bool folderView = true;
  std::wstring path;  // of the tab described
  int tabs = 1;
};
// Every stand-in folder window on the desktop, of every process, in creation order.
std::vector<FolderWindowInfo> ListFolderWindows();
// The window with the path of one of its tabs; nullopt for a tab it does not have.
std::optional<FolderWindowInfo> DescribeFolderWindow(HWND hwnd, int tab = 0);
// The paths of all its tabs, in order.
std::vector<std::wstring> TabPaths(HWND hwnd);
// One item of the shell's collection per tab: the windows in creation order, each one's tabs in order.
struct FolderItemRef {
  HWND hwnd = nullptr;
  int tab = 0;
};
std::vector<FolderItemRef> ListFolderItems();
// Asks a folder window to open `path` as its next tab; true when it did.
bool SendAddTabRequest(HWND window, const std::wstring& path);
// The same windows in the same order, without their paths: cheap enough to list once per item.
std::vector<HWND> ListFolderWindowHandles();
// The first open window of `path` (compared case-insensitively), or nullptr.
HWND FindFolderWindow(const std::wstring& path);

// Opens a folder window on the calling thread, which must run a message loop. `quitOnClose` ends
// that loop when the window is destroyed (the folder program's own window).
HWND OpenFolderWindow(HINSTANCE module, const std::wstring& path, const Behaviour& behaviour, bool quitOnClose);

// Host windows (one per process that loaded the stand-in shell): all of them, newest first.
struct HostInfo {
  HWND hwnd = nullptr;
  DWORD processId = 0;
};
std::vector<HostInfo> ListHosts();
// Sends an "open" request to a host; true when the host opened the window.
bool SendOpenRequest(HWND host, const std::wstring& path, const Behaviour& behaviour);
// Handles a WM_COPYDATA open request on a host's thread; returns the new window or nullptr.
HWND HandleOpenRequest(HINSTANCE module, const COPYDATASTRUCT& data);

}  // namespace zarn::standin
