#include "StandinWindow.h"

#include "CallCounts.h"

#include <algorithm>
#include <cwctype>
#include <memory>

namespace zarn::standin {
namespace {

constexpr int kNoteControlId = 101;
constexpr int kCascadeOrigin = 40;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
// The window's extra bytes repeat the sequence property: read in the window's own process, they
// cost no round trip to the Wine server, and the collection is listed once per item a client reads.
constexpr int kSequenceSlot = 0;
// The number of tabs (0 reads as 1), read from other processes as cheaply.
constexpr int kTabCountSlot = sizeof(LONG_PTR);
constexpr UINT_PTR kCloseTimer = 1;

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

bool ParseUnsigned(std::wstring_view text, DWORD& value) {
  if (text.empty() || text.size() > 9) return false;
  DWORD result = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    result = result * 10 + static_cast<DWORD>(c - L'0');
  }
  value = result;
  return true;
}

bool ParseSize(std::wstring_view text, SIZE& size) {
  const auto comma = text.find_first_of(L",x");
  DWORD cx = 0;
  DWORD cy = 0;
  if (comma == std::wstring_view::npos || !ParseUnsigned(text.substr(0, comma), cx) ||
      !ParseUnsigned(text.substr(comma + 1), cy) || cx > 30000 || cy > 30000)
    return false;
  size = SIZE{static_cast<LONG>(cx), static_cast<LONG>(cy)};
  return true;
}

bool ApplyOne(std::wstring_view token, Behaviour& b, std::wstring& error) {
  if (token.size() < 2 || (token[0] != L'/' && token[0] != L'-')) {
    error = L"not a switch: " + std::wstring(token);
    return false;
  }
  std::wstring_view body = token.substr(1);
  std::wstring_view value;
  const auto colon = body.find(L':');
  const bool hasValue = colon != std::wstring_view::npos;
  if (hasValue) {
    value = body.substr(colon + 1);
    body = body.substr(0, colon);
  }
  bool ok = true;
  if (EqualsNoCase(body, L"notview") && !hasValue) {
    b.folderView = false;
  } else if (EqualsNoCase(body, L"never") && !hasValue) {
    b.never = true;
  } else if (EqualsNoCase(body, L"forward") && !hasValue) {
    b.forwardExisting = true;
  } else if (EqualsNoCase(body, L"own") && !hasValue) {
    b.ownProcess = true;
  } else if (EqualsNoCase(body, L"tab") && !hasValue) {
    b.asTab = true;
  } else if (EqualsNoCase(body, L"reports") && hasValue) {
    ok = !value.empty();
    b.reportedName = value;
  } else if (EqualsNoCase(body, L"closedelay") && hasValue) {
    ok = ParseUnsigned(value, b.closeDelayMs) && b.closeDelayMs <= 600000;
  } else if (EqualsNoCase(body, L"block") && hasValue) {
    ok = ParseUnsigned(value, b.blockMs) && b.blockMs <= 600000;
  } else if (EqualsNoCase(body, L"delay") && hasValue) {
    ok = ParseUnsigned(value, b.delayMs) && b.delayMs <= 600000;
  } else if (EqualsNoCase(body, L"show") && hasValue) {
    DWORD show = 0;
    ok = ParseUnsigned(value, show) && show <= SW_MAX;
    b.showCommand = static_cast<int>(show);
  } else if (EqualsNoCase(body, L"host") && hasValue) {
    ok = ParseUnsigned(value, b.hostProcess);
  } else if (EqualsNoCase(body, L"minsize") && hasValue) {
    ok = ParseSize(value, b.minTrack);
  } else if (EqualsNoCase(body, L"maxsize") && hasValue) {
    ok = ParseSize(value, b.maxTrack);
  } else {
    error = L"unknown switch: " + std::wstring(token);
    return false;
  }
  if (!ok) error = L"bad value in switch: " + std::wstring(token);
  return ok;
}

ULONGLONG Now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<ULONGLONG>(counter.QuadPart);
}

HFONT ListingFont() {
  // Named by its Japanese-system name: the test prefix maps it to an IPA font, so Japanese folder
  // names show as text and not as boxes in screenshots.
  static HFONT font = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS UI Gothic");
  return font;
}

struct WindowData {
  std::wstring path;
  Behaviour behaviour;
  bool quitOnClose = false;
};

// WM_GETMINMAXINFO arrives before WM_NCCREATE, so the data travels to the first messages this way.
thread_local WindowData* pendingData = nullptr;

WindowData* DataOf(HWND hwnd) {
  auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return data ? data : pendingData;
}

int TabCount(HWND hwnd) { return std::max<int>(1, static_cast<int>(GetWindowLongPtrW(hwnd, kTabCountSlot))); }

int TabControlId(int tab) { return tab == 0 ? kPathControlId : kFirstTabControlId + tab; }

// The note, then one line per tab; the last line takes the rest of the window.
void LayOutChildren(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  const int width = std::max<int>(0, client.right - 16);
  std::vector<HWND> lines;
  if (HWND note = GetDlgItem(hwnd, kNoteControlId)) lines.push_back(note);
  for (int tab = 0; tab < TabCount(hwnd); ++tab) lines.push_back(GetDlgItem(hwnd, TabControlId(tab)));
  int top = 8;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int height = i + 1 < lines.size() ? 20 : std::max<int>(0, client.bottom - top - 8);
    MoveWindow(lines[i], 8, top, width, height, TRUE);
    top += 24;
  }
}

HWND AddLabel(HWND parent, int id, const wchar_t* text) {
  HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(ListingFont()), FALSE);
  return label;
}

LRESULT CALLBACK FolderWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_CREATE: {
      const WindowData* data = DataOf(hwnd);
      if (!data->behaviour.folderView) AddLabel(hwnd, kNoteControlId, L"(not a folder view)");
      AddLabel(hwnd, kPathControlId, data->path.c_str());
      return 0;
    }
    case WM_SIZE:
      LayOutChildren(hwnd);
      return 0;
    case WM_GETMINMAXINFO: {
      const WindowData* data = DataOf(hwnd);
      if (!data) break;
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (data->behaviour.minTrack.cx > 0) info->ptMinTrackSize.x = data->behaviour.minTrack.cx;
      if (data->behaviour.minTrack.cy > 0) info->ptMinTrackSize.y = data->behaviour.minTrack.cy;
      if (data->behaviour.maxTrack.cx > 0) info->ptMaxTrackSize.x = data->behaviour.maxTrack.cx;
      if (data->behaviour.maxTrack.cy > 0) info->ptMaxTrackSize.y = data->behaviour.maxTrack.cy;
      return 0;
    }
    case WM_COPYDATA: {
      const auto* request = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (request->dwData != kCopyDataAddTab || !request->lpData || request->cbData < sizeof(wchar_t)) break;
      std::wstring path(static_cast<const wchar_t*>(request->lpData), request->cbData / sizeof(wchar_t));
      while (!path.empty() && path.back() == L'\0') path.pop_back();
      const int tab = TabCount(hwnd);
      AddLabel(hwnd, TabControlId(tab), path.c_str());
      SetWindowLongPtrW(hwnd, kTabCountSlot, tab + 1);
      LayOutChildren(hwnd);
      return TRUE;
    }
    case WM_CLOSE: {
      const WindowData* data = DataOf(hwnd);
      if (!data || data->behaviour.closeDelayMs == 0) break;
      SetTimer(hwnd, kCloseTimer, data->behaviour.closeDelayMs, nullptr);
      return 0;
    }
    case WM_TIMER:
      if (wParam != kCloseTimer) break;
      KillTimer(hwnd, kCloseTimer);
      DestroyWindow(hwnd);
      return 0;
    case kMsgStall:
      Sleep(static_cast<DWORD>(std::min<WPARAM>(wParam, 60000)));
      return 0;
    case kMsgBringForward:
      if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
      SetForegroundWindow(hwnd);
      BringWindowToTop(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGING:
      CountPositionChanging(hwnd);
      break;
    case WM_NCDESTROY: {
      ForgetCounts(hwnd);
      std::unique_ptr<WindowData> data(reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      RemovePropW(hwnd, kPropSequence);
      SetWindowLongPtrW(hwnd, kSequenceSlot, 0);
      RemovePropW(hwnd, kPropNotFolderView);
      if (data && data->quitOnClose) PostQuitMessage(0);
      break;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool EnsureFolderClass(HINSTANCE module) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(module, kFolderClass, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = FolderWindowProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kFolderClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::wstring Caption(const std::wstring& path) {
  const auto slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos || slash + 1 == path.size()) return path;
  return path.substr(slash + 1);
}

BOOL CALLBACK CollectFolderWindow(HWND hwnd, LPARAM lParam) {
  if (auto info = DescribeFolderWindow(hwnd))
    reinterpret_cast<std::vector<FolderWindowInfo>*>(lParam)->push_back(std::move(*info));
  return TRUE;
}

}  // namespace

bool ApplySwitches(std::wstring_view text, Behaviour& behaviour, std::wstring& error) {
  size_t pos = 0;
  while (pos < text.size()) {
    if (std::iswspace(text[pos])) {
      ++pos;
      continue;
    }
    if (text[pos] == L'#') {  // a comment runs to the end of its line
      const auto end = text.find(L'\n', pos);
      pos = end == std::wstring_view::npos ? text.size() : end;
      continue;
    }
    size_t end = pos;
    while (end < text.size() && !std::iswspace(text[end])) ++end;
    if (!ApplyOne(text.substr(pos, end - pos), behaviour, error)) return false;
    pos = end;
  }
  return true;
}

bool ApplyMarkerFile(const std::wstring& folder, Behaviour& behaviour, std::wstring& error) {
  std::wstring name = folder;
  if (!name.empty() && name.back() != L'\\') name += L'\\';
  name += kMarkerFile;
  HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
    error = L"cannot read " + name;
    return false;
  }
  std::string bytes(4096, '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  if (!ok) {
    error = L"cannot read " + name;
    return false;
  }
  bytes.resize(read);
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  std::wstring text(bytes.size(), L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                         static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(length, 0)));
  if (!ApplySwitches(text, behaviour, error)) {
    error = name + L": " + error;
    return false;
  }
  return true;
}

std::wstring WindowSwitches(const Behaviour& b) {
  std::wstring text;
  if (!b.folderView) text += L" /notview";
  if (b.showCommand != SW_SHOWNORMAL) text += L" /show:" + std::to_wstring(b.showCommand);
  if (b.closeDelayMs != 0) text += L" /closedelay:" + std::to_wstring(b.closeDelayMs);
  if (!b.reportedName.empty()) text += L" /reports:" + b.reportedName;
  if (b.minTrack.cx > 0 || b.minTrack.cy > 0)
    text += L" /minsize:" + std::to_wstring(b.minTrack.cx) + L"," + std::to_wstring(b.minTrack.cy);
  if (b.maxTrack.cx > 0 || b.maxTrack.cy > 0)
    text += L" /maxsize:" + std::to_wstring(b.maxTrack.cx) + L"," + std::to_wstring(b.maxTrack.cy);
  return text;
}

std::wstring RepairArgument(std::wstring argument) {
  if (!argument.empty() && argument.back() == L'"') argument.back() = L'\\';
  return argument;
}

std::wstring NormalizeFolderPath(const std::wstring& path) {
  if (path.empty()) return path;
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (length == 0) return path;
  full.resize(length);
  const bool driveRoot = full.size() == 3 && full[1] == L':';
  while (!driveRoot && full.size() > 1 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  if (driveRoot) full[0] = static_cast<wchar_t>(std::towupper(full[0]));
  return full;
}

bool IsExistingFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<FolderWindowInfo> DescribeFolderWindow(HWND hwnd, int tab) {
  wchar_t className[64];
  if (!GetClassNameW(hwnd, className, 64) || wcscmp(className, kFolderClass) != 0) return std::nullopt;
  const auto sequence = static_cast<ULONG_PTR>(GetWindowLongPtrW(hwnd, kSequenceSlot));
  if (sequence == 0) return std::nullopt;  // still being created, or already closing
  const int tabs = TabCount(hwnd);
  if (tab < 0 || tab >= tabs) return std::nullopt;
  HWND label = GetDlgItem(hwnd, TabControlId(tab));
  if (!label) return std::nullopt;
  // Read from the window manager's copy: no message reaches the owning thread, so this neither
  // waits on a busy window nor re-enters the caller.
  // Most paths fit the short buffer; a longer one is read again whole.
  std::wstring path(MAX_PATH, L'\0');
  int length = InternalGetWindowText(label, path.data(), static_cast<int>(path.size()));
  if (length >= static_cast<int>(path.size()) - 1) {
    path.assign(32768, L'\0');
    length = InternalGetWindowText(label, path.data(), static_cast<int>(path.size()));
  }
  path.resize(static_cast<size_t>(std::max(length, 0)));
  FolderWindowInfo info;
  info.hwnd = hwnd;
  info.sequence = sequence;
  info.folderView = GetPropW(hwnd, kPropNotFolderView) == nullptr;
  info.path = std::move(path);
  info.tabs = tabs;
  return info;
}

std::vector<std::wstring> TabPaths(HWND hwnd) {
  std::vector<std::wstring> paths;
  for (int tab = 0;; ++tab) {
    std::optional<FolderWindowInfo> info = DescribeFolderWindow(hwnd, tab);
    if (!info) return paths;
    paths.push_back(std::move(info->path));
  }
}

std::vector<FolderItemRef> ListFolderItems() {
  std::vector<FolderItemRef> items;
  for (HWND hwnd : ListFolderWindowHandles()) {
    for (int tab = 0, tabs = TabCount(hwnd); tab < tabs; ++tab) items.push_back(FolderItemRef{hwnd, tab});
  }
  return items;
}

bool SendAddTabRequest(HWND window, const std::wstring& path) {
  COPYDATASTRUCT data{kCopyDataAddTab, static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)),
                      const_cast<wchar_t*>(path.c_str())};
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                             &result) != 0 &&
         result != 0;
}

std::vector<FolderWindowInfo> ListFolderWindows() {
  std::vector<FolderWindowInfo> windows;
  EnumWindows(CollectFolderWindow, reinterpret_cast<LPARAM>(&windows));
  std::stable_sort(windows.begin(), windows.end(),
                   [](const FolderWindowInfo& a, const FolderWindowInfo& b) { return a.sequence < b.sequence; });
  return windows;
}

std::vector<HWND> ListFolderWindowHandles() {
  struct Listed {
    HWND hwnd;
    ULONG_PTR sequence;
  };
  std::vector<Listed> listed;
  EnumWindows(
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        wchar_t className[64];
        if (GetClassNameW(hwnd, className, 64) && wcscmp(className, kFolderClass) == 0) {
          const auto sequence = static_cast<ULONG_PTR>(GetWindowLongPtrW(hwnd, kSequenceSlot));
          if (sequence != 0) reinterpret_cast<std::vector<Listed>*>(lParam)->push_back({hwnd, sequence});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&listed));
  std::stable_sort(listed.begin(), listed.end(),
                   [](const Listed& a, const Listed& b) { return a.sequence < b.sequence; });
  std::vector<HWND> windows;
  for (const Listed& window : listed) windows.push_back(window.hwnd);
  return windows;
}

HWND FindFolderWindow(const std::wstring& path) {
  for (const auto& window : ListFolderWindows())
    if (EqualsNoCase(window.path, path)) return window.hwnd;
  return nullptr;
}

HWND OpenFolderWindow(HINSTANCE module, const std::wstring& path, const Behaviour& behaviour, bool quitOnClose) {
  if (!EnsureFolderClass(module)) return nullptr;
  const std::wstring& shown = behaviour.reportedName.empty() ? path : behaviour.reportedName;
  auto data = std::make_unique<WindowData>(WindowData{shown, behaviour, quitOnClose});
  pendingData = data.get();
  // Wine places every CW_USEDEFAULT window at the same spot; cascade as the shell would, from the
  // number of folder windows already open, so screenshots show each window and positions repeat.
  const int step = static_cast<int>(ListFolderWindows().size() % 10) * 30;
  HWND hwnd =
      CreateWindowExW(WS_EX_APPWINDOW, kFolderClass, Caption(shown).c_str(), WS_OVERLAPPEDWINDOW, kCascadeOrigin + step,
                      kCascadeOrigin + step, kDefaultWidth, kDefaultHeight, nullptr, nullptr, module, data.get());
  pendingData = nullptr;
  if (!hwnd) return nullptr;
  data.release();  // owned by the window from here; freed in WM_NCDESTROY
  if (!behaviour.folderView) SetPropW(hwnd, kPropNotFolderView, reinterpret_cast<HANDLE>(1));
  const ULONGLONG sequence = Now();
  SetWindowLongPtrW(hwnd, kSequenceSlot, static_cast<LONG_PTR>(sequence));
  SetWindowLongPtrW(hwnd, kTabCountSlot, 1);
  SetPropW(hwnd, kPropSequence, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(sequence)));
  SetPropW(hwnd, kPropShowCommand, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(behaviour.showCommand + 1)));
  // Never SW_SHOWDEFAULT, which would take whatever the caller's own start-up asked for.
  if (behaviour.showCommand != SW_HIDE) ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  return hwnd;
}

std::vector<HostInfo> ListHosts() {
  struct Found {
    HostInfo info;
    ULONG_PTR sequence;
  };
  std::vector<Found> found;
  HWND hwnd = nullptr;
  while ((hwnd = FindWindowExW(HWND_MESSAGE, hwnd, kHostClass, nullptr)) != nullptr) {
    Found f{{hwnd, 0}, reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, kPropSequence))};
    GetWindowThreadProcessId(hwnd, &f.info.processId);
    found.push_back(f);
  }
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.sequence > b.sequence; });
  std::vector<HostInfo> hosts;
  for (const auto& f : found) hosts.push_back(f.info);
  return hosts;
}

bool SendOpenRequest(HWND host, const std::wstring& path, const Behaviour& behaviour) {
  const std::wstring request = WindowSwitches(behaviour) + L"\n" + path;
  COPYDATASTRUCT data{kCopyDataOpen, static_cast<DWORD>((request.size() + 1) * sizeof(wchar_t)),
                      const_cast<wchar_t*>(request.c_str())};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(host, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000, &result))
    return false;
  return result != 0;
}

HWND HandleOpenRequest(HINSTANCE module, const COPYDATASTRUCT& data) {
  if (data.dwData != kCopyDataOpen || !data.lpData || data.cbData < sizeof(wchar_t)) return nullptr;
  std::wstring request(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
  while (!request.empty() && request.back() == L'\0') request.pop_back();
  const auto newline = request.find(L'\n');
  if (newline == std::wstring::npos) return nullptr;
  Behaviour behaviour;
  std::wstring error;
  if (!ApplySwitches(std::wstring_view(request).substr(0, newline), behaviour, error)) return nullptr;
  const std::wstring path = request.substr(newline + 1);
  if (path.empty()) return nullptr;
  return OpenFolderWindow(module, path, behaviour, false);
}

}  // namespace zarn::standin
