#include "StandinFolders.h"

#include <algorithm>
#include <vector>

#include "TestWindow.h"

namespace zarn::win32::test {
namespace {

constexpr wchar_t kFolderClass[] = L"ZarnStandinFolder";
constexpr int kPathControlId = 100;
constexpr wchar_t kInprocKey[] = L"CLSID\\{13709620-C279-11CE-A49E-444553540000}\\InprocServer32";

std::wstring ProgramBeside(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

std::wstring PathShownBy(HWND window) {
  const HWND control = ::GetDlgItem(window, kPathControlId);
  if (control == nullptr) return std::wstring();
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

struct Search {
  const std::wstring* path;
  std::vector<HWND> found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  if (::lstrcmpW(className, kFolderClass) != 0) return TRUE;
  const std::wstring shown = PathShownBy(window);
  if (::CompareStringOrdinal(shown.c_str(), -1, search->path->c_str(), -1, TRUE) != CSTR_EQUAL) return TRUE;
  search->found.push_back(window);
  return TRUE;
}

}  // namespace

bool g_requireStandin = false;

bool StandinRegistered() {
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CLASSES_ROOT, kInprocKey, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return false;
  return std::wstring(value).find(L"zarn_standin_shell") != std::wstring::npos;
}

std::vector<HWND> FindStandinWindows(const std::wstring& path) {
  Search search{&path, {}};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindStandinWindow(const std::wstring& path) {
  const std::vector<HWND> windows = FindStandinWindows(path);
  return windows.empty() ? nullptr : windows.front();
}

StandinFolderWindow::StandinFolderWindow(const std::wstring& path, const std::wstring& switches) {
  const std::vector<HWND> before = FindStandinWindows(path);
  const std::wstring program = ProgramBeside(L"zarn_standin_folder.exe");
  std::wstring commandLine = L"\"" + program + L"\" " + switches + L" \"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
    return;
  ::CloseHandle(process.hThread);
  WaitUntil([&] {
    for (HWND window : FindStandinWindows(path))
      if (std::find(before.begin(), before.end(), window) == before.end()) hwnd_ = window;
    return hwnd_ != nullptr;
  });
  ::CloseHandle(process.hProcess);
}

StandinFolderWindow::~StandinFolderWindow() { Close(); }

bool StandinFolderWindow::Close() {
  if (hwnd_ == nullptr || !::IsWindow(hwnd_)) return true;
  ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  const HWND window = hwnd_;
  return WaitUntil([window] { return !::IsWindow(window); });
}

}  // namespace zarn::win32::test
