// zarn_standin_folder.exe [switches] <folder>: what the explore verb starts on the test bed. It hands
// the folder to a stand-in shell host when one runs (so the window lives in the client's process),
// and otherwise opens the folder window itself and runs until that window closes.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "StandinWindow.h"

namespace {

using namespace zarn::standin;

enum ExitCode : int { kOk = 0, kBadUsage = 1, kNoFolder = 2, kHostRefused = 3, kNoWindow = 4 };

int Fail(int code, const std::wstring& message) {
  const std::wstring line = L"zarn_standin_folder: " + message + L"\n";
  OutputDebugStringW(line.c_str());
  fputws(line.c_str(), stderr);
  return code;
}

DWORD ParentProcessId() {
  const DWORD self = GetCurrentProcessId();
  DWORD parent = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == self) {
      parent = entry.th32ParentProcessID;
      break;
    }
  }
  CloseHandle(snapshot);
  return parent;
}

// The host to hand the folder to: the one asked for, else the one in the process that started us
// (the explore verb's caller), else the newest one.
HWND ChooseHost(const Behaviour& behaviour) {
  const auto hosts = ListHosts();
  if (hosts.empty()) return nullptr;
  const DWORD wanted = behaviour.hostProcess ? behaviour.hostProcess : ParentProcessId();
  for (const auto& host : hosts)
    if (host.processId == wanted) return host.hwnd;
  return behaviour.hostProcess ? nullptr : hosts.front().hwnd;
}

int Run(HINSTANCE instance) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return Fail(kBadUsage, L"cannot read the command line");
  std::wstring switches;
  std::vector<std::wstring> paths;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (!argument.empty() && argument[0] == L'/')
      switches += L" " + argument;
    else
      paths.push_back(argument);
  }
  LocalFree(argv);
  if (paths.size() != 1) return Fail(kBadUsage, L"usage: zarn_standin_folder [switches] <folder>");

  const std::wstring path = NormalizeFolderPath(RepairArgument(paths.front()));
  if (!IsExistingFolder(path)) return Fail(kNoFolder, L"no such folder: " + path);

  // The folder's marker file first, so that switches given on the command line win.
  Behaviour behaviour;
  // The show command the caller (the explore verb) asked for; switches may still override it.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  if (startup.dwFlags & STARTF_USESHOWWINDOW) behaviour.showCommand = startup.wShowWindow;
  std::wstring error;
  if (!ApplyMarkerFile(path, behaviour, error) || !ApplySwitches(switches, behaviour, error))
    return Fail(kBadUsage, error);

  if (behaviour.never) return kOk;
  if (behaviour.delayMs) Sleep(behaviour.delayMs);
  if (behaviour.forwardExisting) {
    if (HWND existing = FindFolderWindow(path)) {
      AllowSetForegroundWindow(ASFW_ANY);
      PostMessageW(existing, kMsgBringForward, 0, 0);
      return kOk;
    }
  }
  // As some shells open a folder asked for from outside: in a new tab of the newest window.
  if (behaviour.asTab) {
    const std::vector<HWND> windows = ListFolderWindowHandles();
    if (!windows.empty() && SendAddTabRequest(windows.back(), path)) return kOk;
  }
  if (!behaviour.ownProcess) {
    if (HWND host = ChooseHost(behaviour)) {
      if (SendOpenRequest(host, path, behaviour)) return kOk;
      if (behaviour.hostProcess) return Fail(kHostRefused, L"the host did not open " + path);
    } else if (behaviour.hostProcess) {
      return Fail(kHostRefused, L"no host in process " + std::to_wstring(behaviour.hostProcess));
    }
  }
  if (!OpenFolderWindow(instance, path, behaviour, true)) return Fail(kNoWindow, L"cannot open a window");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return kOk;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // A caller that waits for us to become idle (ShellExecuteEx does) goes on at once, even while a
  // delay switch keeps us from opening anything yet.
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  return Run(instance);
}
