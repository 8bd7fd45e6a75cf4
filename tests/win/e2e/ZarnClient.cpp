#include "ZarnClient.h"

#include <stdexcept>

#include "ZarnMessages.h"
#include "resource.h"

namespace zarn::e2e {

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kMenuClass[] = L"#32768";
constexpr UINT kTextTimeoutMs = 5000;

struct ProcessSearch {
  DWORD processId;
  const wchar_t* className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ProcessSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[256];
  if (owner == search->processId && GetClassNameW(window, name, 256) > 0 &&
      std::wstring_view(name) == search->className && (!search->visibleOnly || IsWindowVisible(window))) {
    search->found.push_back(window);
  }
  return TRUE;
}

// The caption as the window manager keeps it: no message reaches the program, so a busy program
// cannot hold the driver up.
std::wstring Caption(HWND window) {
  std::wstring text(512, L'\0');
  const int length = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

std::wstring TextOf(HWND control) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kTextTimeoutMs, &copied))
    return {};
  text.resize(copied);
  return text;
}

}  // namespace

ZarnClient::ZarnClient(const std::filesystem::path& folder, std::optional<std::string> settings,
                       const std::vector<std::wstring>& arguments, const std::filesystem::path& workingDirectory,
                       std::optional<WORD> startupShow)
    : folder_(folder) {
  std::filesystem::create_directories(folder);
  exe_ = folder / L"Zarn.exe";
  // CopyFileW: this libstdc++'s copy_file refuses to overwrite on Windows, whatever the options say.
  const std::filesystem::path original = ProgramFolder() / L"Zarn.exe";
  if (!CopyFileW(original.c_str(), exe_.c_str(), FALSE))
    throw std::runtime_error("cannot copy " + Utf8(original.wstring()) + ": error " + std::to_string(GetLastError()));
  if (settings) WriteFileBytes(SettingsFile(), *settings);
  process_ = Process(exe_, arguments, workingDirectory.empty() ? folder : workingDirectory, startupShow);
  if (!WaitUntil(
          [this] {
            const auto windows = WindowsOfClass(app::kMainWindowClass, false);
            window_ = windows.empty() ? nullptr : windows.front();
            return window_ != nullptr || !process_.Running();
          },
          10s) ||
      window_ == nullptr) {
    const auto code = process_.WaitForExit(0ms);
    throw std::runtime_error(code ? "Zarn.exe ended without a main window, exit code " + std::to_string(*code)
                                  : std::string("Zarn.exe's main window did not appear"));
  }
  // The window exists before the settings are applied to it, and a sent message alone proves
  // nothing: the program answers those while it waits on the tray during its start-up.
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process_.Id());
  if (process != nullptr) {
    WaitForInputIdle(process, 10000);
    CloseHandle(process);
  }
  WaitIdle(10s);
}

ZarnClient::~ZarnClient() { Close(3s); }

std::filesystem::path ZarnClient::WithExtension(const wchar_t* extension) const {
  return std::filesystem::path(exe_).replace_extension(extension);
}

std::vector<HWND> ZarnClient::WindowsOfClass(const wchar_t* className, bool visibleOnly) const {
  ProcessSearch search{process_.Id(), className, visibleOnly, {}};
  if (search.processId != 0) EnumWindows(&CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Process ZarnClient::StartAgain(const std::vector<std::wstring>& arguments) const {
  return Process(exe_, arguments, folder_);
}

bool ZarnClient::Post(UINT command) const { return PostToWindow(WM_COMMAND, MAKEWPARAM(command, 0), 0); }

bool ZarnClient::PostToWindow(UINT message, WPARAM wParam, LPARAM lParam) const {
  return PostMessageW(window_, message, wParam, lParam) != FALSE;
}

bool ZarnClient::Send(UINT command, Milliseconds bound) const {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window_, WM_COMMAND, MAKEWPARAM(command, 0), 0, SMTO_NORMAL,
                             static_cast<UINT>(bound.count()), &answer) != 0;
}

bool ZarnClient::WaitIdle(Milliseconds bound) const {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(bound.count()), &answer) != 0;
}

HWND ZarnClient::WaitForHost(Milliseconds bound) const {
  HWND host = nullptr;
  WaitUntil([&] { return (host = standin::HostOfProcess(process_.Id())) != nullptr; }, bound);
  return host;
}

standin::ProcessReport ZarnClient::Report(Milliseconds bound) const {
  HWND host = WaitForHost(bound);
  if (host == nullptr) throw std::runtime_error("no stand-in host in Zarn's process: no snapshot taken yet?");
  const std::filesystem::path file = folder_ / L"standin-report.txt";
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  if (!standin::SendReportRequest(host, file.wstring(), static_cast<UINT>(bound.count())))
    throw std::runtime_error("the stand-in host wrote no report");
  const std::string text = ReadFileBytes(file);
  auto report = standin::ParseReport(text);
  if (!report) throw std::runtime_error("malformed report:\n" + text);
  return std::move(*report);
}

std::vector<HWND> ZarnClient::Dialogs() const { return WindowsOfClass(kDialogClass, true); }

HWND ZarnClient::WaitForDialog(std::wstring_view caption, Milliseconds bound) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND dialog : Dialogs()) {
          if (Caption(dialog) == caption) {
            found = dialog;
            return true;
          }
        }
        return false;
      },
      bound);
  return found;
}

std::wstring ZarnClient::ControlText(HWND dialog, int controlId) {
  HWND control = GetDlgItem(dialog, controlId);
  return control ? TextOf(control) : std::wstring();
}

std::vector<std::wstring> ZarnClient::StaticTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64];
    if (GetClassNameW(child, name, 64) == 0 || lstrcmpiW(name, L"Static") != 0) continue;
    std::wstring text = TextOf(child);
    if (!text.empty()) texts.push_back(std::move(text));
  }
  return texts;
}

bool ZarnClient::SetControlText(HWND dialog, int controlId, std::wstring_view text) {
  HWND control = GetDlgItem(dialog, controlId);
  if (control == nullptr) return false;
  const std::wstring copy(text);
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()), SMTO_ABORTIFHUNG,
                             kTextTimeoutMs, &answer) != 0 &&
         answer != FALSE;
}

bool ZarnClient::PressButton(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  if (button == nullptr || !IsWindowEnabled(button)) return false;
  // Posted, as a click would arrive: what the button starts may run long after the dialog ends.
  return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != FALSE;
}

HWND ZarnClient::WaitForMenu(Milliseconds bound) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto menus = WindowsOfClass(kMenuClass, true);
        found = menus.empty() ? nullptr : menus.front();
        return found != nullptr;
      },
      bound);
  return found;
}

bool ZarnClient::CloseMenus(Milliseconds bound) const {
  return WaitUntil(
      [this] {
        const auto menus = WindowsOfClass(kMenuClass, true);
        for (HWND menu : menus) PostMessageW(menu, WM_CANCELMODE, 0, 0);
        return menus.empty();
      },
      bound, 100ms);
}

std::optional<DWORD> ZarnClient::Close(Milliseconds bound) {
  std::optional<DWORD> code;
  if (process_.Running()) {
    if (window_ != nullptr && IsWindow(window_)) Post(IDM_EXIT);
    code = process_.WaitForExit(bound);
  } else {
    code = process_.WaitForExit(0ms);
  }
  window_ = nullptr;
  process_.Kill();
  return code;
}

}  // namespace zarn::e2e
