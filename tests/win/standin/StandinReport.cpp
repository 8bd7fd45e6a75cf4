#include "StandinReport.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <type_traits>

#include "StandinWindow.h"

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

namespace zarn::standin {
namespace {

constexpr wchar_t kMenuClass[] = L"#32768";
// Menus nest a few levels; the bound only guards against a menu that contains itself.
constexpr int kMaxMenuDepth = 8;

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256];
  const int length = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

std::string Handle(const void* handle) { return std::to_string(reinterpret_cast<ULONG_PTR>(handle)); }

// Appended piece by piece: GCC 12 sees a false overlap in long chains of string additions.
void AppendLine(std::string& out, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) out += '\t';
    out.append(field);
    first = false;
  }
  out += '\n';
}

std::string Rect(const RECT& r) {
  std::string out = std::to_string(r.left);
  for (LONG value : {r.top, r.right, r.bottom}) {
    out += '\t';
    out.append(std::to_string(value));
  }
  return out;
}

// A line that ends in free text (a path, a menu text, a class name) uses only the expected number of
// tabs before it; whatever follows, tabs included (a menu accelerator), is that text.
bool SplitFields(std::string_view line, size_t fixed, std::vector<std::string_view>& fields) {
  fields.clear();
  size_t start = 0;
  while (fields.size() < fixed) {
    const size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) return false;
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return true;
}

bool ToNumber(std::string_view text, long long& value, int base = 10) {
  if (text.empty() || text.size() > 30) return false;
  const std::string copy(text);
  char* end = nullptr;
  value = base == 10 ? std::strtoll(copy.c_str(), &end, 10)
                     : static_cast<long long>(std::strtoull(copy.c_str(), &end, base));
  return end && *end == '\0';
}

// Reads numbers from fields[first..] into the given targets; false on the first bad one.
template <typename... T>
bool Numbers(const std::vector<std::string_view>& fields, size_t first, T&... targets) {
  bool ok = true;
  size_t index = first;
  auto one = [&](auto& target) {
    long long value = 0;
    if (!ok || !ToNumber(fields[index++], value)) {
      ok = false;
      return;
    }
    target = static_cast<std::remove_reference_t<decltype(target)>>(value);
  };
  (one(targets), ...);
  return ok;
}

template <typename H>
bool HandleField(std::string_view text, H& handle) {
  long long value = 0;
  if (!ToNumber(text, value)) return false;
  handle = reinterpret_cast<H>(static_cast<ULONG_PTR>(value));
  return true;
}

void AddMenuItems(HMENU menu, int depth, std::vector<ReportedMenuItem>& items) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_BITMAP | MIIM_STRING;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) continue;
    ReportedMenuItem item;
    item.depth = depth;
    item.id = info.wID;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    item.isDefault = (info.fState & MFS_DEFAULT) != 0;
    item.grayed = (info.fState & (MFS_GRAYED | MFS_DISABLED)) != 0;
    item.checked = (info.fState & MFS_CHECKED) != 0;
    item.submenu = info.hSubMenu != nullptr;
    item.bitmap = info.hbmpItem != nullptr;
    if (!item.separator && info.cch > 0) {
      std::wstring text(info.cch + 1, L'\0');
      info.fMask = MIIM_STRING;
      info.dwTypeData = text.data();
      info.cch = static_cast<UINT>(text.size());
      if (GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) {
        text.resize(info.cch);
        item.text = std::move(text);
      }
    }
    HMENU submenu = GetSubMenu(menu, position);
    items.push_back(std::move(item));
    if (submenu && depth + 1 < kMaxMenuDepth) AddMenuItems(submenu, depth + 1, items);
  }
}

struct Collector {
  DWORD processId;
  DWORD menuTimeoutMs;
  ProcessReport* report;
};

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM lParam) {
  auto* collector = reinterpret_cast<Collector*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != collector->processId) return TRUE;
  const std::wstring className = ClassOf(hwnd);
  if (className == kFolderClass) return TRUE;
  if (className == kMenuClass) {
    if (!IsWindowVisible(hwnd)) return TRUE;  // Wine keeps a closed menu's window, hidden
    DWORD_PTR menu = 0;
    if (!SendMessageTimeoutW(hwnd, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, collector->menuTimeoutMs, &menu) || !menu)
      return TRUE;
    ReportedMenu reported;
    reported.window = hwnd;
    reported.menu = reinterpret_cast<HMENU>(menu);
    GetWindowRect(hwnd, &reported.rect);
    AddMenuItems(reported.menu, 0, reported.items);
    collector->report->menus.push_back(std::move(reported));
    return TRUE;
  }
  ReportedTopWindow top;
  top.hwnd = hwnd;
  top.className = className;
  top.visible = IsWindowVisible(hwnd) != FALSE;
  top.layeredStyle = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  top.layeredRead =
      top.layeredStyle && GetLayeredWindowAttributes(hwnd, &top.colourKey, &top.alpha, &top.layeredFlags) != FALSE;
  collector->report->topWindows.push_back(std::move(top));
  return TRUE;
}

}  // namespace

ProcessReport BuildReport(DWORD menuTimeoutMs) {
  ProcessReport report;
  report.processId = GetCurrentProcessId();
  for (const auto& window : ListFolderWindows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window.hwnd, &owner);
    if (owner != report.processId) continue;
    ReportedFolderWindow folder;
    folder.hwnd = window.hwnd;
    folder.path = window.path;
    GetWindowRect(window.hwnd, &folder.windowRect);
    folder.placement.length = sizeof(folder.placement);
    GetWindowPlacement(window.hwnd, &folder.placement);
    folder.calls = CountsOf(window.hwnd);
    report.folders.push_back(std::move(folder));
  }
  report.automationCalls = AutomationCallsReceived();
  Collector collector{report.processId, menuTimeoutMs, &report};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&collector));
  return report;
}

std::string FormatReport(const ProcessReport& report) {
  std::string out;
  AppendLine(out, {kReportHeader});
  AppendLine(out, {"process", std::to_string(report.processId)});
  AppendLine(out, {"automation", std::to_string(report.automationCalls)});
  for (const auto& f : report.folders) {
    const WINDOWPLACEMENT& p = f.placement;
    AppendLine(out,
               {"folder", Handle(f.hwnd), Rect(f.windowRect), std::to_string(p.showCmd),
                std::to_string(p.ptMinPosition.x), std::to_string(p.ptMinPosition.y), std::to_string(p.ptMaxPosition.x),
                std::to_string(p.ptMaxPosition.y), Rect(p.rcNormalPosition), ToUtf8(f.path)});
    if (f.calls) {
      AppendLine(out, {"calls", Handle(f.hwnd), std::to_string(f.calls->showWindow),
                       std::to_string(f.calls->setWindowPos), std::to_string(f.calls->positionChanging)});
    }
  }
  for (const auto& m : report.menus) {
    AppendLine(out, {"menu", Handle(m.window), Handle(m.menu), Rect(m.rect), std::to_string(m.items.size())});
    for (const auto& i : m.items) {
      std::string flags;
      if (i.separator) flags += 'S';
      if (i.isDefault) flags += 'D';
      if (i.grayed) flags += 'G';
      if (i.checked) flags += 'C';
      if (i.submenu) flags += 'P';
      if (i.bitmap) flags += 'B';
      AppendLine(out,
                 {"item", std::to_string(i.depth), std::to_string(i.id), flags.empty() ? "-" : flags, ToUtf8(i.text)});
    }
  }
  for (const auto& t : report.topWindows) {
    char key[16];
    std::snprintf(key, sizeof(key), "%06lX", static_cast<unsigned long>(t.colourKey));
    AppendLine(
        out, {"top", Handle(t.hwnd), t.visible ? "1" : "0", t.layeredStyle ? "1" : "0", t.layeredRead ? "1" : "0", key,
              std::to_string(t.alpha), std::to_string(t.layeredFlags), ToUtf8(t.className)});
  }
  AppendLine(out, {"end"});
  return out;
}

std::optional<ProcessReport> ParseReport(std::string_view text) {
  ProcessReport report;
  std::vector<std::string_view> f;
  bool header = false;
  bool ended = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!header) {
      if (line != kReportHeader) return std::nullopt;
      header = true;
      continue;
    }
    if (ended) return std::nullopt;
    const std::string_view kind = line.substr(0, line.find('\t'));
    if (kind == "end") {
      ended = true;
    } else if (kind == "process") {
      if (!SplitFields(line, 1, f) || !Numbers(f, 1, report.processId)) return std::nullopt;
    } else if (kind == "automation") {
      if (!SplitFields(line, 1, f) || !Numbers(f, 1, report.automationCalls)) return std::nullopt;
    } else if (kind == "folder") {
      ReportedFolderWindow w;
      WINDOWPLACEMENT& p = w.placement;
      p.length = sizeof(p);
      if (!SplitFields(line, 15, f) || !HandleField(f[1], w.hwnd) ||
          !Numbers(f, 2, w.windowRect.left, w.windowRect.top, w.windowRect.right, w.windowRect.bottom, p.showCmd,
                   p.ptMinPosition.x, p.ptMinPosition.y, p.ptMaxPosition.x, p.ptMaxPosition.y, p.rcNormalPosition.left,
                   p.rcNormalPosition.top, p.rcNormalPosition.right, p.rcNormalPosition.bottom))
        return std::nullopt;
      w.path = FromUtf8(f[15]);
      report.folders.push_back(std::move(w));
    } else if (kind == "calls") {
      // Follows the folder record of its window; reports from before the counters have none.
      HWND hwnd = nullptr;
      CallCounts counts;
      if (report.folders.empty() || !SplitFields(line, 4, f) || !HandleField(f[1], hwnd) ||
          hwnd != report.folders.back().hwnd ||
          !Numbers(f, 2, counts.showWindow, counts.setWindowPos, counts.positionChanging))
        return std::nullopt;
      report.folders.back().calls = counts;
    } else if (kind == "menu") {
      ReportedMenu m;
      size_t count = 0;
      if (!SplitFields(line, 7, f) || !HandleField(f[1], m.window) || !HandleField(f[2], m.menu) ||
          !Numbers(f, 3, m.rect.left, m.rect.top, m.rect.right, m.rect.bottom, count))
        return std::nullopt;
      report.menus.push_back(std::move(m));
    } else if (kind == "item") {
      ReportedMenuItem i;
      if (report.menus.empty() || !SplitFields(line, 4, f) || !Numbers(f, 1, i.depth, i.id)) return std::nullopt;
      for (char c : f[3]) {
        switch (c) {
          case 'S':
            i.separator = true;
            break;
          case 'D':
            i.isDefault = true;
            break;
          case 'G':
            i.grayed = true;
            break;
          case 'C':
            i.checked = true;
            break;
          case 'P':
            i.submenu = true;
            break;
          case 'B':
            i.bitmap = true;
            break;
          case '-':
            break;
          default:
            return std::nullopt;
        }
      }
      i.text = FromUtf8(f[4]);
      report.menus.back().items.push_back(std::move(i));
    } else if (kind == "top") {
      ReportedTopWindow t;
      int visible = 0;
      int style = 0;
      int read = 0;
      long long key = 0;
      if (!SplitFields(line, 8, f) || !HandleField(f[1], t.hwnd) || !Numbers(f, 2, visible, style, read) ||
          !ToNumber(f[5], key, 16) || !Numbers(f, 6, t.alpha, t.layeredFlags))
        return std::nullopt;
      t.visible = visible != 0;
      t.layeredStyle = style != 0;
      t.layeredRead = read != 0;
      t.colourKey = static_cast<COLORREF>(key);
      t.className = FromUtf8(f[8]);
      report.topWindows.push_back(std::move(t));
    } else {
      return std::nullopt;
    }
  }
  if (!ended) return std::nullopt;
  return report;
}

bool WriteReportFile(const std::wstring& path) {
  const std::string text = FormatReport(BuildReport());
  const std::wstring temporary =
      path + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
  HANDLE file =
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (!ok || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool HandleReportRequest(const COPYDATASTRUCT& data) {
  if (data.dwData != kCopyDataReport || !data.lpData || data.cbData < sizeof(wchar_t)) return false;
  std::wstring path(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
  while (!path.empty() && path.back() == L'\0') path.pop_back();
  return !path.empty() && WriteReportFile(path);
}

bool SendReportRequest(HWND host, const std::wstring& path, UINT timeoutMs) {
  COPYDATASTRUCT data{kCopyDataReport, static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)),
                      const_cast<wchar_t*>(path.c_str())};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(host, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeoutMs, &result))
    return false;
  return result != 0;
}

bool HandleSysColourRequest(const COPYDATASTRUCT& data) {
  if (data.dwData != kCopyDataSysColour || !data.lpData || data.cbData != sizeof(SysColourRequest)) return false;
  const auto& request = *static_cast<const SysColourRequest*>(data.lpData);
  return SetSysColors(1, &request.element, &request.colour) != FALSE;
}

bool SendSysColourRequest(HWND host, int element, COLORREF colour, UINT timeoutMs) {
  SysColourRequest request{element, colour};
  COPYDATASTRUCT data{kCopyDataSysColour, sizeof request, &request};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(host, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeoutMs, &result))
    return false;
  return result != 0;
}

HWND HostOfProcess(DWORD processId) {
  for (const auto& host : ListHosts())
    if (host.processId == processId) return host.hwnd;
  return nullptr;
}

const ReportedMenuItem* FindMenuItem(const ReportedMenu& menu, UINT id) {
  for (const auto& item : menu.items)
    if (!item.separator && item.id == id) return &item;
  return nullptr;
}

}  // namespace zarn::standin
