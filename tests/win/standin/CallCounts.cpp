#include "CallCounts.h"

#include <cstring>
#include <map>
#include <mutex>

namespace zarn::standin {
namespace {

using ShowWindowFunction = BOOL(WINAPI*)(HWND, int);
using SetWindowPosFunction = BOOL(WINAPI*)(HWND, HWND, int, int, int, int, UINT);

ShowWindowFunction g_showWindow = nullptr;
SetWindowPosFunction g_setWindowPos = nullptr;
bool g_installed = false;

// The program's thread counts while the host thread reports.
std::mutex g_lock;
std::map<HWND, CallCounts> g_counts;

void Count(HWND window, long CallCounts::*which) {
  const std::lock_guard<std::mutex> hold(g_lock);
  ++(g_counts[window].*which);
}

BOOL WINAPI CountingShowWindow(HWND window, int command) {
  Count(window, &CallCounts::showWindow);
  return g_showWindow(window, command);
}

BOOL WINAPI CountingSetWindowPos(HWND window, HWND after, int x, int y, int width, int height, UINT flags) {
  Count(window, &CallCounts::setWindowPos);
  return g_setWindowPos(window, after, x, y, width, height, flags);
}

void Replace(ULONG_PTR& slot, ULONG_PTR value) {
  DWORD previous = 0;
  if (!VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &previous)) return;
  slot = value;
  VirtualProtect(&slot, sizeof slot, previous, &previous);
}

// Walks the executable's import table by name: the names survive loading, the addresses do not
// say which function they are when one export forwards to another library.
bool PatchExecutableImports() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return false;
  bool show = false;
  bool position = false;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name != 0;
       ++library) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), "user32.dll") != 0) continue;
    if (library->OriginalFirstThunk == 0) continue;  // no names left to go by
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
      if (std::strcmp(name, "ShowWindow") == 0 && !show) {
        g_showWindow = reinterpret_cast<ShowWindowFunction>(slots->u1.Function);
        Replace(slots->u1.Function, reinterpret_cast<ULONG_PTR>(&CountingShowWindow));
        show = true;
      } else if (std::strcmp(name, "SetWindowPos") == 0 && !position) {
        g_setWindowPos = reinterpret_cast<SetWindowPosFunction>(slots->u1.Function);
        Replace(slots->u1.Function, reinterpret_cast<ULONG_PTR>(&CountingSetWindowPos));
        position = true;
      }
    }
  }
  return show && position;
}

}  // namespace

bool InstallCallCounters() {
  static std::once_flag once;
  std::call_once(once, [] { g_installed = PatchExecutableImports(); });
  return g_installed;
}

bool CallCountersInstalled() { return g_installed; }

std::optional<CallCounts> CountsOf(HWND window) {
  if (!g_installed) return std::nullopt;
  const std::lock_guard<std::mutex> hold(g_lock);
  const auto found = g_counts.find(window);
  return found == g_counts.end() ? CallCounts{} : found->second;
}

void CountPositionChanging(HWND window) { Count(window, &CallCounts::positionChanging); }

void ForgetCounts(HWND window) {
  const std::lock_guard<std::mutex> hold(g_lock);
  g_counts.erase(window);
}

namespace {
LONG g_automationCalls = 0;
}  // namespace

void CountAutomationCall() { InterlockedIncrement(&g_automationCalls); }
long AutomationCallsReceived() { return InterlockedCompareExchange(&g_automationCalls, 0, 0); }

}  // namespace zarn::standin
