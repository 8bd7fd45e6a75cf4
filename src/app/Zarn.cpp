// Zarn's entry: the start-up sequence, the message loop and the shutdown order.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <memory>
#include <string>

#include "app/ErrorDisplay.h"
#include "app/SingleInstance.h"
#include "app/UZarnDM.h"
#include "app/UZarnFrmConfig.h"
#include "app/UZarnFrmMain.h"
#include "win32/ComApartment.h"

namespace zarn::app {

// The three objects the program's windows share, created in this order and destroyed in reverse.
std::unique_ptr<TZarnDM> ZarnDM;
std::unique_ptr<TZarnFrmMain> ZarnFrmMain;
std::unique_ptr<TZarnFrmConfig> ZarnFrmConfig;

namespace {

std::wstring ModulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

int RunMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return got < 0 ? 1 : static_cast<int>(message.wParam);
}

int Run() {
  win32::ComApartment apartment;
  const std::wstring exe = ModulePath();
  SingleInstance instance(InstanceKey(ProfilePath(exe, L".ini")));
  if (!instance.IsFirst()) {
    instance.NotifyRunningCopy();
    return 0;
  }

  int exitCode = 1;
  try {
    ZarnDM = std::make_unique<TZarnDM>(exe);
    ZarnFrmMain = std::make_unique<TZarnFrmMain>(*ZarnDM);
    ZarnFrmMain->Create(InstanceKey(ProfilePath(exe, L".ini")));
    ZarnFrmConfig = std::make_unique<TZarnFrmConfig>(*ZarnDM);
    ZarnFrmMain->SetConfigDialog(ZarnFrmConfig.get());
    exitCode = RunMessageLoop();
  } catch (const std::exception&) {
    ZarnFrmConfig.reset();
    ZarnFrmMain.reset();
    ZarnDM.reset();
    throw;
  }
  // The main window writes the settings file as it goes, so the profiles must outlive it.
  ZarnFrmConfig.reset();
  ZarnFrmMain.reset();
  ZarnDM.reset();
  return exitCode;
}

}  // namespace
}  // namespace zarn::app

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Libraries load from the system folder only, never from beside the executable or the current one.
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  int exitCode = 1;
  zarn::app::RunCommand(nullptr, [&exitCode] { exitCode = zarn::app::Run(); });
  return exitCode;
}
