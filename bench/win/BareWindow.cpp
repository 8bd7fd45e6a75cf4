// The baseline of the launch benchmark: the least a Win32 program with one visible window does,
// built the same way as Zarn.exe (static, MinGW-w64, same flags, same manifest). Built a second
// time with ZARN_BARE_WITH_COM_AND_CONTROLS, it also starts COM and the common controls, as Zarn
// must before its window: what the system libraries alone cost.
#include <windows.h>
#ifdef ZARN_BARE_WITH_COM_AND_CONTROLS
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#endif

namespace {

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef ZARN_BARE_WITH_COM_AND_CONTROLS
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // Referenced, never called: the program imports the same libraries as Zarn.exe.
  if (GetTickCount64() == 0) {
    Shell_NotifyIconW(NIM_DELETE, nullptr);
    VariantInit(nullptr);
  }
#endif
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"ZarnBareWindow";
  RegisterClassExW(&windowClass);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"ZarnBareWindow", L"Bare", WS_OVERLAPPEDWINDOW, 755,
                                605, 269, 134, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
