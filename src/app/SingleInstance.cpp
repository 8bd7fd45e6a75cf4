#include "app/SingleInstance.h"

#include <cwchar>
#include <string>

#include "app/ZarnMessages.h"

namespace zarn::app {
namespace {

std::wstring FullPath(const std::wstring& path) {
  std::wstring buffer(32768, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) return path;
  buffer.resize(length);
  return buffer;
}

std::wstring LongForm(const std::wstring& path) {
  std::wstring buffer(32768, L'\0');
  const DWORD length = ::GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return path;  // the file need not exist yet
  buffer.resize(length);
  return buffer;
}

struct Search {
  std::uint64_t key;
  HWND found;
};

BOOL CALLBACK FindCopy(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t name[64];
  if (::GetClassNameW(window, name, 64) == 0 || std::wcscmp(name, kMainWindowClass) != 0) return TRUE;
  if (reinterpret_cast<std::uintptr_t>(::GetPropW(window, kInstanceProperty)) != search->key) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::uint64_t InstanceKey(const std::wstring& settingsFile) {
  std::wstring name = LongForm(FullPath(settingsFile));
  if (!name.empty()) ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (wchar_t c : name) {
    hash ^= static_cast<std::uint16_t>(c);
    hash *= 1099511628211ull;
  }
  return hash == 0 ? 1 : hash;
}

SingleInstance::SingleInstance(std::uint64_t key) : key_(key) {
  wchar_t name[64];
  std::swprintf(name, 64, L"Local\\Zarn-%016llX", static_cast<unsigned long long>(key));
  mutex_ = ::CreateMutexW(nullptr, FALSE, name);
  first_ = mutex_ == nullptr || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
  if (mutex_ != nullptr) ::CloseHandle(mutex_);
}

void SingleInstance::NotifyRunningCopy() const {
  for (int attempt = 0; attempt < 50; ++attempt) {
    Search search{key_, nullptr};
    ::EnumWindows(FindCopy, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      DWORD process = 0;
      ::GetWindowThreadProcessId(search.found, &process);
      // This start came from the user; its right to take the foreground passes to the copy.
      ::AllowSetForegroundWindow(process);
      ::PostMessageW(search.found, WM_SECONDSTART, 0, 0);
      return;
    }
    ::Sleep(100);
  }
}

}  // namespace zarn::app
