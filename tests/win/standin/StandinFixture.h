#pragma once
// What the stand-in's tests share: COM for the process, temporary folders, the folder program and
// the explore verb, late-bound calls and the walk of "Shell.Application"'s collection.
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>
#include <shellapi.h>
#include <shldisp.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "StandinReport.h"
#include "StandinWindow.h"

using Microsoft::WRL::ComPtr;
namespace standin = zarn::standin;

namespace standin_tests {

class ComEnvironment : public testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(15);
  }
}

inline std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\'));
}

inline std::wstring FolderProgram() { return ProgramFolder() + L"\\zarn_standin_folder.exe"; }

// A real folder under the temporary folder, with an optional marker file; removed afterwards.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& name, const std::string& marker = {}) {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ =
        standin::NormalizeFolderPath(std::wstring(temp) + L"zarn-standin-" + std::to_wstring(GetCurrentProcessId()) +
                                     L"-" + std::to_wstring(++counter) + L"-" + name);
    EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr)) << GetLastError();
    if (!marker.empty()) {
      HANDLE file = CreateFileW(MarkerPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      EXPECT_TRUE(WriteFile(file, marker.data(), static_cast<DWORD>(marker.size()), &written, nullptr));
      CloseHandle(file);
    }
  }
  ~TempFolder() {
    DeleteFileW(MarkerPath().c_str());
    RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring MarkerPath() const { return path_ + L"\\" + standin::kMarkerFile; }
  std::wstring path_;
};

// The explore verb as the program asks for it: no UI of the shell's own, show command 0.
inline bool Explore(const std::wstring& path, HANDLE* process = nullptr) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI | (process ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.lpVerb = L"explore";
  info.lpFile = path.c_str();
  info.nShow = SW_SHOWNORMAL;
  // Under a loaded machine Wine's process start now and then fails at once; that says nothing about
  // the stand-in, so a start that fails for another reason than a missing folder is tried twice
  // more, and each failure is printed.
  for (int attempt = 0;; ++attempt) {
    if (ShellExecuteExW(&info)) {
      if (process) *process = info.hProcess;
      return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
    std::fprintf(stderr, "explore %ls failed (error %lu, attempt %d)\n", path.c_str(), error, attempt + 1);
    if (attempt == 2) return false;
    Sleep(200);
  }
}

// Starts the folder program directly; returns its process handle.
inline HANDLE StartFolderProgram(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + FolderProgram() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

inline DWORD WaitForExit(HANDLE process, DWORD timeoutMs = 5000) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return code;
}

inline BOOL CALLBACK CollectStandin(HWND hwnd, LPARAM lParam) {
  wchar_t name[64];
  if (GetClassNameW(hwnd, name, 64) && wcscmp(name, standin::kFolderClass) == 0)
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
  return TRUE;
}

inline std::vector<HWND> StandinWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectStandin, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// --- Late binding, as an automation client without type information walks the object

inline HRESULT Call(IDispatch* object, const wchar_t* name, VARIANT* result, std::vector<VARIANT> arguments = {}) {
  DISPID id = DISPID_UNKNOWN;
  auto* names = const_cast<LPOLESTR>(name);
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS params{arguments.empty() ? nullptr : arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  VariantInit(result);
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, result,
                        nullptr, nullptr);
}

inline VARIANT Int(VARTYPE type, LONGLONG value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  v.llVal = 0;
  switch (type) {
    case VT_I2:
      v.iVal = static_cast<SHORT>(value);
      break;
    case VT_I4:
      v.lVal = static_cast<LONG>(value);
      break;
    case VT_UI4:
      v.ulVal = static_cast<ULONG>(value);
      break;
    default:
      v.llVal = value;
      break;
  }
  return v;
}

inline ComPtr<IDispatch> Dispatch(const VARIANT& v) {
  ComPtr<IDispatch> object;
  if (v.vt == VT_DISPATCH) object = v.pdispVal;
  return object;
}

inline ComPtr<IDispatch> ShellApplication() {
  CLSID clsid;
  EXPECT_EQ(S_OK, CLSIDFromProgID(L"Shell.Application", &clsid));
  ComPtr<IDispatch> shell;
  EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&shell)));
  return shell;
}

inline ComPtr<IDispatch> WindowsCollection() {
  auto shell = ShellApplication();
  if (!shell) return nullptr;
  VARIANT windows;
  EXPECT_EQ(S_OK, Call(shell.Get(), L"Windows", &windows));
  ComPtr<IDispatch> collection = Dispatch(windows);
  VariantClear(&windows);
  return collection;
}

struct Seen {
  HWND hwnd = nullptr;
  bool folderView = false;
  std::wstring path;
};

// The walk of a snapshot: the collection fetched anew for every index, empty items skipped.
inline std::vector<Seen> Walk() {
  std::vector<Seen> seen;
  auto collection = WindowsCollection();
  if (!collection) return seen;
  VARIANT count;
  EXPECT_EQ(S_OK, Call(collection.Get(), L"Count", &count));
  EXPECT_EQ(VT_I4, count.vt);
  for (LONG i = 0; i < count.lVal; ++i) {
    auto windows = WindowsCollection();
    VARIANT item;
    EXPECT_EQ(S_OK, Call(windows.Get(), L"Item", &item, {Int(VT_I4, i)}));
    auto window = Dispatch(item);
    VariantClear(&item);
    if (!window) continue;
    Seen entry;
    VARIANT handle;
    EXPECT_EQ(S_OK, Call(window.Get(), L"hWnd", &handle));
    EXPECT_EQ(S_OK, VariantChangeType(&handle, &handle, 0, VT_I8));
    entry.hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(handle.llVal));
    VARIANT document;
    EXPECT_EQ(S_OK, Call(window.Get(), L"Document", &document));
    auto doc = Dispatch(document);
    VariantClear(&document);
    EXPECT_TRUE(doc);
    ComPtr<IUnknown> view;
    entry.folderView = doc && SUCCEEDED(doc->QueryInterface(IID_IShellFolderViewDual, &view));
    if (entry.folderView) {
      VARIANT folder, items, self, path;
      EXPECT_EQ(S_OK, Call(doc.Get(), L"Folder", &folder));
      EXPECT_EQ(S_OK, Call(Dispatch(folder).Get(), L"Items", &items));
      EXPECT_EQ(S_OK, Call(Dispatch(items).Get(), L"Item", &self));
      EXPECT_EQ(S_OK, Call(Dispatch(self).Get(), L"Path", &path));
      EXPECT_EQ(VT_BSTR, path.vt);
      if (path.vt == VT_BSTR) entry.path = path.bstrVal;
      for (VARIANT* v : {&folder, &items, &self, &path}) VariantClear(v);
    }
    seen.push_back(entry);
  }
  return seen;
}

inline const Seen* FindSeen(const std::vector<Seen>& seen, HWND hwnd) {
  for (const auto& entry : seen)
    if (entry.hwnd == hwnd) return &entry;
  return nullptr;
}

class StandinTest : public testing::Test {
 protected:
  void SetUp() override {
    // Loads the stand-in shell into this process, which starts its host thread here.
    ASSERT_TRUE(ShellApplication());
    CloseAll();
  }
  void TearDown() override { CloseAll(); }

  static void CloseAll() {
    for (HWND hwnd : StandinWindows()) PostMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return StandinWindows().empty(); }));
  }

  // Waits for a stand-in window of `path` that is not in `known`.
  static HWND WaitForNewWindow(const std::wstring& path, const std::vector<HWND>& known = {}, DWORD timeoutMs = 3000) {
    HWND found = nullptr;
    WaitFor(
        [&] {
          for (const auto& window : standin::ListFolderWindows()) {
            bool old = false;
            for (HWND k : known) old = old || k == window.hwnd;
            if (!old && window.path == path) {
              found = window.hwnd;
              return true;
            }
          }
          return false;
        },
        timeoutMs);
    return found;
  }
};

}  // namespace standin_tests
