// The host thread the stand-in shell starts in its client's process: the folder program hands its
// windows to it, so they live where window placements can be read and set (Wine refuses both across
// processes), and drivers ask it for reports of that process.
#include "StandinHost.h"

#include <mutex>

#include "CallCounts.h"
#include "StandinReport.h"
#include "StandinWindow.h"

namespace zarn::standin {
namespace {

HINSTANCE g_module = nullptr;
bool g_hosting = false;

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data) return FALSE;
    if (data->dwData == kCopyDataReport) return HandleReportRequest(*data) ? TRUE : FALSE;
    if (data->dwData == kCopyDataSysColour) return HandleSysColourRequest(*data) ? TRUE : FALSE;
    return HandleOpenRequest(g_module, *data) ? TRUE : FALSE;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

DWORD WINAPI HostThread(void* parameter) {
  HANDLE ready = parameter;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = HostWindowProc;
  wc.hInstance = g_module;
  wc.lpszClassName = kHostClass;
  RegisterClassExW(&wc);
  HWND host = CreateWindowExW(0, kHostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_module, nullptr);
  if (host) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    SetPropW(host, kPropSequence, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(now.QuadPart)));
  }
  SetEvent(ready);
  CloseHandle(ready);
  if (!host) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

void StartHost(HINSTANCE module) {
  static std::once_flag once;
  std::call_once(once, [module] {
    g_module = module;
    // Before any window can be hosted, so each one's counts start with it.
    InstallCallCounters();
    // The thread runs until the process ends, so the code it runs must never be unloaded.
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&HostThread), &pinned);
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE waitable = nullptr;
    if (!ready ||
        !DuplicateHandle(GetCurrentProcess(), ready, GetCurrentProcess(), &waitable, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
      if (ready) CloseHandle(ready);
      return;
    }
    HANDLE thread = CreateThread(nullptr, 0, HostThread, ready, 0, nullptr);
    if (!thread) {
      CloseHandle(ready);
    } else {
      g_hosting = true;
      // Bounded: a client must not hang on the test bed; the thread keeps its own handle to the event.
      WaitForSingleObject(waitable, 10000);
      CloseHandle(thread);
    }
    CloseHandle(waitable);
  });
}

bool Hosting() { return g_hosting; }

}  // namespace zarn::standin
