// The stand-in shell as a client meets it: the explore verb opens stand-in folder windows, and
// "Shell.Application" lists them through late binding and through vtables.
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>
#include <shellapi.h>
#include <shldisp.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <atomic>
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

namespace {

class ComEnvironment : public testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(15);
  }
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring FolderProgram() { return ProgramFolder() + L"\\zarn_standin_folder.exe"; }

// A real folder under the temporary folder, with an optional marker file; removed afterwards.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& name, const std::string& marker = {}) {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = standin::NormalizeFolderPath(std::wstring(temp) + L"zarn-standin-" +
                                         std::to_wstring(GetCurrentProcessId()) + L"-" +
                                         std::to_wstring(++counter) + L"-" + name);
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
bool Explore(const std::wstring& path, HANDLE* process = nullptr) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI | (process ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.lpVerb = L"explore";
  info.lpFile = path.c_str();
  info.nShow = 0;
  const BOOL ok = ShellExecuteExW(&info);
  if (process) *process = info.hProcess;
  return ok != FALSE;
}

// Starts the folder program directly; returns its process handle.
HANDLE StartFolderProgram(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + FolderProgram() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

DWORD WaitForExit(HANDLE process, DWORD timeoutMs = 5000) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return code;
}

BOOL CALLBACK CollectStandin(HWND hwnd, LPARAM lParam) {
  wchar_t name[64];
  if (GetClassNameW(hwnd, name, 64) && wcscmp(name, standin::kFolderClass) == 0)
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> StandinWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectStandin, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// --- Late binding, as an automation client without type information walks the object

HRESULT Call(IDispatch* object, const wchar_t* name, VARIANT* result, std::vector<VARIANT> arguments = {}) {
  DISPID id = DISPID_UNKNOWN;
  auto* names = const_cast<LPOLESTR>(name);
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS params{arguments.empty() ? nullptr : arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  VariantInit(result);
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, result,
                        nullptr, nullptr);
}

VARIANT Int(VARTYPE type, LONGLONG value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  v.llVal = 0;
  switch (type) {
    case VT_I2: v.iVal = static_cast<SHORT>(value); break;
    case VT_I4: v.lVal = static_cast<LONG>(value); break;
    case VT_UI4: v.ulVal = static_cast<ULONG>(value); break;
    default: v.llVal = value; break;
  }
  return v;
}

ComPtr<IDispatch> Dispatch(const VARIANT& v) {
  ComPtr<IDispatch> object;
  if (v.vt == VT_DISPATCH) object = v.pdispVal;
  return object;
}

ComPtr<IDispatch> ShellApplication() {
  CLSID clsid;
  EXPECT_EQ(S_OK, CLSIDFromProgID(L"Shell.Application", &clsid));
  ComPtr<IDispatch> shell;
  EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&shell)));
  return shell;
}

ComPtr<IDispatch> WindowsCollection() {
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
std::vector<Seen> Walk() {
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

const Seen* FindSeen(const std::vector<Seen>& seen, HWND hwnd) {
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
  static HWND WaitForNewWindow(const std::wstring& path, const std::vector<HWND>& known = {},
                               DWORD timeoutMs = 3000) {
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

// --- The test prefix itself

TEST(StandinPrefix, DesktopAndFontsAreSetUp) {
  EXPECT_EQ(1920, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(1080, GetSystemMetrics(SM_CYSCREEN));
  wchar_t value[64];
  DWORD size = sizeof(value);
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements",
                                        L"ＭＳ Ｐゴシック", RRF_RT_REG_SZ, nullptr, value, &size));
  EXPECT_STREQ(L"IPAPGothic", value);
  size = sizeof(value);
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", L"ＭＳ ゴシック",
                                        RRF_RT_REG_SZ, nullptr, value, &size));
  EXPECT_STREQ(L"IPAGothic", value);
}

// --- Opening through the explore verb

TEST_F(StandinTest, ExploreOpensAVisibleFolderWindowHostedInTheCaller) {
  TempFolder folder(L"explore");
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path(), {}, 2000);
  ASSERT_TRUE(hwnd) << "no window within 2 s";
  EXPECT_LT(GetTickCount64() - start, 2000u);
  // Asked with show command 0, like the shell's own windows it opens visible all the same.
  EXPECT_TRUE(IsWindowVisible(hwnd));
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  EXPECT_EQ(GetCurrentProcessId(), process) << "the window should live on this process's host thread";
  wchar_t caption[MAX_PATH];
  GetWindowTextW(hwnd, caption, MAX_PATH);
  EXPECT_EQ(folder.path().substr(folder.path().find_last_of(L'\\') + 1), caption);
}

TEST_F(StandinTest, NewWindowsCascadeAtTheDefaultSize) {
  TempFolder first(L"cascade1"), second(L"cascade2");
  ASSERT_TRUE(Explore(first.path()));
  HWND a = WaitForNewWindow(first.path());
  ASSERT_TRUE(Explore(second.path()));
  HWND b = WaitForNewWindow(second.path());
  ASSERT_TRUE(a && b);
  RECT ra, rb;
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  EXPECT_EQ(640, ra.right - ra.left);
  EXPECT_EQ(480, ra.bottom - ra.top);
  EXPECT_EQ(640, rb.right - rb.left);
  EXPECT_GT(rb.left, ra.left) << "a second window must not hide the first";
  EXPECT_GT(rb.top, ra.top);
}

TEST_F(StandinTest, DriveRootKeepsItsBackslash) {
  ASSERT_TRUE(Explore(L"C:\\"));
  EXPECT_TRUE(WaitForNewWindow(L"C:\\"));
  const auto seen = Walk();
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(L"C:\\", seen[0].path);
}

TEST_F(StandinTest, TrailingSeparatorIsDroppedAndPathMadeAbsolute) {
  TempFolder folder(L"trailing");
  ASSERT_TRUE(Explore(folder.path() + L"\\"));
  EXPECT_TRUE(WaitForNewWindow(folder.path()));
}

TEST_F(StandinTest, JapaneseFolderNameRoundTrips) {
  TempFolder folder(L"テスト フォルダ　日本語ソ表");
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path());
  ASSERT_TRUE(hwnd);
  const auto seen = Walk();
  const Seen* entry = FindSeen(seen, hwnd);
  ASSERT_TRUE(entry);
  EXPECT_EQ(folder.path(), entry->path);
  wchar_t caption[MAX_PATH];
  GetWindowTextW(hwnd, caption, MAX_PATH);
  EXPECT_STREQ(L"テスト フォルダ　日本語ソ表", caption + wcslen(caption) - wcslen(L"テスト フォルダ　日本語ソ表"));
}

TEST_F(StandinTest, MissingFolderIsRefusedWithoutStartingAnything) {
  TempFolder parent(L"missing");
  const std::wstring missing = parent.path() + L"\\not here";
  HANDLE process = nullptr;
  SetLastError(0);
  EXPECT_FALSE(Explore(missing, &process));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  EXPECT_EQ(nullptr, process);
  // Started by hand, the folder program refuses as well, and says so through its exit code.
  HANDLE direct = StartFolderProgram(L"\"" + missing + L"\"");
  ASSERT_TRUE(direct);
  EXPECT_EQ(2u, WaitForExit(direct));
  EXPECT_TRUE(StandinWindows().empty());
}

// --- The collection through late binding

TEST_F(StandinTest, LateBindingListsWindowsInCreationOrder) {
  TempFolder first(L"first"), second(L"second");
  ASSERT_TRUE(Explore(first.path()));
  HWND a = WaitForNewWindow(first.path());
  ASSERT_TRUE(Explore(second.path()));
  HWND b = WaitForNewWindow(second.path());
  // A second window of the same folder is a second item with the same path.
  ASSERT_TRUE(Explore(first.path()));
  HWND c = WaitForNewWindow(first.path(), {a});
  ASSERT_TRUE(a && b && c);
  const auto seen = Walk();
  ASSERT_EQ(3u, seen.size());
  EXPECT_EQ(a, seen[0].hwnd);
  EXPECT_EQ(b, seen[1].hwnd);
  EXPECT_EQ(c, seen[2].hwnd);
  EXPECT_EQ(first.path(), seen[0].path);
  EXPECT_EQ(second.path(), seen[1].path);
  EXPECT_EQ(first.path(), seen[2].path);
  for (const auto& entry : seen) EXPECT_TRUE(entry.folderView);
}

TEST_F(StandinTest, LateBoundNamesIgnoreCaseAndUnknownNamesAreRefused) {
  TempFolder folder(L"names");
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path());
  ASSERT_TRUE(hwnd);
  auto collection = WindowsCollection();
  VARIANT count, item, handle;
  EXPECT_EQ(S_OK, Call(collection.Get(), L"COUNT", &count));
  EXPECT_EQ(1, count.lVal);
  EXPECT_EQ(S_OK, Call(collection.Get(), L"item", &item, {Int(VT_I4, 0)}));
  auto window = Dispatch(item);
  ASSERT_TRUE(window);
  EXPECT_EQ(S_OK, Call(window.Get(), L"HWND", &handle));
  EXPECT_EQ(VT_I8, handle.vt) << "a handle travels as 64 bits";
  EXPECT_EQ(reinterpret_cast<INT_PTR>(hwnd), handle.llVal);
  VARIANT nothing;
  EXPECT_EQ(DISP_E_UNKNOWNNAME, Call(window.Get(), L"NoSuchMember", &nothing));
  // Writing a read-only member is refused rather than ignored.
  DISPID id = DISPID_UNKNOWN;
  auto* name = const_cast<LPOLESTR>(L"Count");
  ASSERT_EQ(S_OK, collection->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
  VARIANT value = Int(VT_I4, 5);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&value, &named, 1, 1};
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, collection->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr,
                                                      nullptr));
  VariantClear(&item);
}

TEST_F(StandinTest, ItemTakesAnyIntegerAndIsEmptyPastEitherEnd) {
  TempFolder folder(L"index");
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path());
  ASSERT_TRUE(hwnd);
  auto collection = WindowsCollection();
  for (VARTYPE type : {VT_I2, VT_I4, VT_UI4, VT_I8}) {
    VARIANT item;
    ASSERT_EQ(S_OK, Call(collection.Get(), L"Item", &item, {Int(type, 0)})) << type;
    EXPECT_TRUE(Dispatch(item)) << type;
    VariantClear(&item);
  }
  for (LONGLONG index : {1LL, -1LL, 0x100000000LL}) {
    VARIANT item;
    ASSERT_EQ(S_OK, Call(collection.Get(), L"Item", &item, {Int(VT_I8, index)})) << index;
    EXPECT_EQ(VT_DISPATCH, item.vt) << index;
    EXPECT_EQ(nullptr, item.pdispVal) << "an item past the end is Nothing: " << index;
    VariantClear(&item);
  }
  VARIANT text;
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(L"zero");
  VARIANT item;
  EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(collection.Get(), L"Item", &item, {text}));
  VariantClear(&text);
  // Item() of the window collection needs an index.
  EXPECT_TRUE(FAILED(Call(collection.Get(), L"Item", &item)));
}

TEST_F(StandinTest, ClosedWindowLeavesTheCollectionAndItsItemDisconnects) {
  TempFolder keep(L"keep"), close(L"close");
  ASSERT_TRUE(Explore(keep.path()));
  HWND kept = WaitForNewWindow(keep.path());
  ASSERT_TRUE(Explore(close.path()));
  HWND closing = WaitForNewWindow(close.path());
  ASSERT_TRUE(kept && closing);
  auto collection = WindowsCollection();
  VARIANT item;
  ASSERT_EQ(S_OK, Call(collection.Get(), L"Item", &item, {Int(VT_I4, 1)}));
  auto held = Dispatch(item);
  VariantClear(&item);
  ASSERT_TRUE(held);

  PostMessageW(closing, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(closing); }));
  // The same collection object is live: its count and items follow the desktop.
  VARIANT count;
  ASSERT_EQ(S_OK, Call(collection.Get(), L"Count", &count));
  EXPECT_EQ(1, count.lVal);
  ASSERT_EQ(S_OK, Call(collection.Get(), L"Item", &item, {Int(VT_I4, 1)}));
  EXPECT_EQ(nullptr, Dispatch(item));
  VARIANT handle;
  EXPECT_EQ(RPC_E_DISCONNECTED, Call(held.Get(), L"hWnd", &handle));
  EXPECT_EQ(RPC_E_DISCONNECTED, Call(held.Get(), L"Document", &handle));
  const auto seen = Walk();
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(kept, seen[0].hwnd);
}

TEST_F(StandinTest, NotAFolderViewIsListedButItsDocumentIsNoFolderView) {
  TempFolder plain(L"plain"), other(L"other", "/notview\r\n");
  ASSERT_TRUE(Explore(plain.path()));
  ASSERT_TRUE(WaitForNewWindow(plain.path()));
  ASSERT_TRUE(Explore(other.path()));
  HWND hwnd = WaitForNewWindow(other.path());
  ASSERT_TRUE(hwnd);
  const auto seen = Walk();
  ASSERT_EQ(2u, seen.size());
  EXPECT_TRUE(seen[0].folderView);
  EXPECT_EQ(hwnd, seen[1].hwnd);
  EXPECT_FALSE(seen[1].folderView);
  // Its document is still an automation object, only not a folder view.
  auto collection = WindowsCollection();
  VARIANT item, document, folder;
  ASSERT_EQ(S_OK, Call(collection.Get(), L"Item", &item, {Int(VT_I4, 1)}));
  ASSERT_EQ(S_OK, Call(Dispatch(item).Get(), L"Document", &document));
  EXPECT_EQ(VT_DISPATCH, document.vt);
  EXPECT_TRUE(Dispatch(document));
  EXPECT_EQ(DISP_E_UNKNOWNNAME, Call(Dispatch(document).Get(), L"Folder", &folder));
  VariantClear(&item);
  VariantClear(&document);
}

// --- The same objects through vtables

TEST_F(StandinTest, VtableCallsReachTheSameAnswers) {
  TempFolder folder(L"vtable");
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path());
  ASSERT_TRUE(hwnd);

  CLSID clsid;
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"Shell.Application", &clsid));
  ComPtr<IShellDispatch> shell;
  ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&shell)));
  ComPtr<IDispatch> windowsDispatch;
  ASSERT_EQ(S_OK, shell->Windows(&windowsDispatch));
  ComPtr<IShellWindows> windows;
  ASSERT_EQ(S_OK, windowsDispatch.As(&windows));
  LONG count = 0;
  ASSERT_EQ(S_OK, windows->get_Count(&count));
  EXPECT_EQ(1, count);

  ComPtr<IDispatch> itemDispatch;
  ASSERT_EQ(S_OK, windows->Item(Int(VT_I4, 0), &itemDispatch));
  ComPtr<IDispatch> pastEnd;
  EXPECT_EQ(S_FALSE, windows->Item(Int(VT_I4, 1), &pastEnd));
  EXPECT_EQ(nullptr, pastEnd);

  ComPtr<IWebBrowser2> browser;
  ASSERT_EQ(S_OK, itemDispatch.As(&browser));
  SHANDLE_PTR handle = 0;
  ASSERT_EQ(S_OK, browser->get_HWND(&handle));
  EXPECT_EQ(hwnd, reinterpret_cast<HWND>(handle));
  ComPtr<IDispatch> documentDispatch;
  ASSERT_EQ(S_OK, browser->get_Document(&documentDispatch));
  ComPtr<IShellFolderViewDual> view;
  ASSERT_EQ(S_OK, documentDispatch.As(&view));
  ComPtr<Folder> shellFolder;
  ASSERT_EQ(S_OK, view->get_Folder(&shellFolder));
  ComPtr<FolderItems> items;
  ASSERT_EQ(S_OK, shellFolder->Items(&items));
  VARIANT none;
  VariantInit(&none);
  ComPtr<FolderItem> self;
  ASSERT_EQ(S_OK, items->Item(none, &self));
  BSTR path = nullptr;
  ASSERT_EQ(S_OK, self->get_Path(&path));
  EXPECT_EQ(folder.path(), std::wstring(path));
  SysFreeString(path);
  // Members nobody relies on answer E_NOTIMPL instead of crashing.
  VARIANT_BOOL busy = VARIANT_FALSE;
  EXPECT_EQ(E_NOTIMPL, browser->get_Busy(&busy));
}

// --- Behaviours chosen by a marker file, so that they also meet the explore verb

TEST_F(StandinTest, DelayedFolderOpensLaterWithoutHoldingUpTheCaller) {
  TempFolder folder(L"delay", "/delay:700");
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(Explore(folder.path()));
  EXPECT_TRUE(StandinWindows().empty()) << "the explore request must not wait for the window";
  HWND hwnd = WaitForNewWindow(folder.path(), {}, 5000);
  ASSERT_TRUE(hwnd);
  EXPECT_GE(GetTickCount64() - start, 700u);
}

TEST_F(StandinTest, NeverFolderIsAcceptedButOpensNothing) {
  TempFolder folder(L"never", "# accepted, then nothing\n/never\n");
  HANDLE process = nullptr;
  ASSERT_TRUE(Explore(folder.path(), &process));
  ASSERT_TRUE(process);
  EXPECT_EQ(0u, WaitForExit(process));
  EXPECT_TRUE(StandinWindows().empty());
}

TEST_F(StandinTest, ForwardFolderBringsTheOpenWindowForwardInsteadOfOpeningAnother) {
  TempFolder folder(L"forward", "/forward"), other(L"other");
  // With nothing open yet, the first request opens a window as usual.
  ASSERT_TRUE(Explore(folder.path()));
  HWND first = WaitForNewWindow(folder.path());
  ASSERT_TRUE(first);
  ASSERT_TRUE(Explore(other.path()));
  HWND second = WaitForNewWindow(other.path());
  ASSERT_TRUE(second);
  ShowWindow(first, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(first) != FALSE; }));

  HANDLE process = nullptr;
  ASSERT_TRUE(Explore(folder.path(), &process));
  EXPECT_EQ(0u, WaitForExit(process));
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(first) && GetForegroundWindow() == first; }));
  EXPECT_EQ(2u, StandinWindows().size());
}

TEST_F(StandinTest, SizeLimitedFolderRefusesOtherSizes) {
  TempFolder small(L"min", "/minsize:500,400"), large(L"max", "/maxsize:300,200");
  ASSERT_TRUE(Explore(small.path()));
  HWND a = WaitForNewWindow(small.path());
  ASSERT_TRUE(Explore(large.path()));
  HWND b = WaitForNewWindow(large.path());
  ASSERT_TRUE(a && b);
  RECT rect;
  ASSERT_TRUE(SetWindowPos(a, HWND_TOP, 100, 120, 200, 150, 0));
  GetWindowRect(a, &rect);
  EXPECT_EQ(100, rect.left);
  EXPECT_EQ(120, rect.top);
  EXPECT_EQ(500, rect.right - rect.left);
  EXPECT_EQ(400, rect.bottom - rect.top);
  ASSERT_TRUE(SetWindowPos(b, HWND_TOP, 50, 60, 800, 600, 0));
  GetWindowRect(b, &rect);
  EXPECT_EQ(300, rect.right - rect.left);
  EXPECT_EQ(200, rect.bottom - rect.top);
  // Within the limits the size is taken exactly.
  ASSERT_TRUE(SetWindowPos(a, HWND_TOP, 10, 20, 700, 500, 0));
  GetWindowRect(a, &rect);
  EXPECT_EQ(10, rect.left);
  EXPECT_EQ(710, rect.right);
  EXPECT_EQ(520, rect.bottom);
}

TEST_F(StandinTest, BadMarkerFileIsReportedAndOpensNothing) {
  TempFolder folder(L"bad", "/delay:soon");
  HANDLE process = nullptr;
  ASSERT_TRUE(Explore(folder.path(), &process));
  EXPECT_EQ(1u, WaitForExit(process));
  EXPECT_TRUE(StandinWindows().empty());
}

// --- Placements and processes

TEST_F(StandinTest, PlacementsRoundTripOnWindowsHostedInThisProcess) {
  TempFolder folder(L"placement");
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path());
  ASSERT_TRUE(hwnd);

  WINDOWPLACEMENT asked{};
  asked.length = sizeof(asked);
  asked.showCmd = SW_SHOWMAXIMIZED;
  asked.ptMinPosition = POINT{-1, -1};
  asked.ptMaxPosition = POINT{-1, -1};
  asked.rcNormalPosition = RECT{200, 150, 900, 650};
  ASSERT_TRUE(SetWindowPlacement(hwnd, &asked)) << GetLastError();
  WINDOWPLACEMENT got{};
  got.length = sizeof(got);
  ASSERT_TRUE(GetWindowPlacement(hwnd, &got));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), got.showCmd);
  EXPECT_EQ(200, got.rcNormalPosition.left);
  EXPECT_EQ(150, got.rcNormalPosition.top);
  EXPECT_EQ(900, got.rcNormalPosition.right);
  EXPECT_EQ(650, got.rcNormalPosition.bottom);
  EXPECT_TRUE(IsZoomed(hwnd));

  asked.showCmd = SW_SHOWNORMAL;
  asked.rcNormalPosition = RECT{300, 200, 800, 600};
  ASSERT_TRUE(SetWindowPlacement(hwnd, &asked));
  ASSERT_TRUE(GetWindowPlacement(hwnd, &got));
  EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), got.showCmd);
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(300, rect.left);
  EXPECT_EQ(600, rect.bottom);
}

TEST_F(StandinTest, StartedByHandItIsHostedHereUnlessAskedForItsOwnProcess) {
  TempFolder hosted(L"hosted"), own(L"own");
  HANDLE forwarder = StartFolderProgram(L"\"" + hosted.path() + L"\"");
  ASSERT_TRUE(forwarder);
  EXPECT_EQ(0u, WaitForExit(forwarder)) << "a hosted request ends the program at once";
  HWND a = WaitForNewWindow(hosted.path());
  ASSERT_TRUE(a);
  DWORD process = 0;
  GetWindowThreadProcessId(a, &process);
  EXPECT_EQ(GetCurrentProcessId(), process);

  HANDLE owner = StartFolderProgram(L"/own \"" + own.path() + L"\"");
  ASSERT_TRUE(owner);
  HWND b = WaitForNewWindow(own.path());
  ASSERT_TRUE(b);
  GetWindowThreadProcessId(b, &process);
  EXPECT_NE(GetCurrentProcessId(), process);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(owner, 0));
  const auto seen = Walk();
  ASSERT_EQ(2u, seen.size());
  EXPECT_EQ(own.path(), seen[1].path);
  // Closing its window ends the program.
  PostMessageW(b, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, WaitForExit(owner));
}

TEST_F(StandinTest, UnknownSwitchIsABadUsage) {
  TempFolder folder(L"switch");
  EXPECT_EQ(1u, WaitForExit(StartFolderProgram(L"/sideways \"" + folder.path() + L"\"")));
  EXPECT_EQ(1u, WaitForExit(StartFolderProgram(L"/own")));
  EXPECT_TRUE(StandinWindows().empty());
}


// --- The host's report of its process

// A popup menu opened on a thread of its own, as a program's tool bar opens one.
class PopupMenuThread {
 public:
  PopupMenuThread() : thread_([this] { Run(); }) {}
  ~PopupMenuThread() {
    // Never leave the menu loop running: the thread could not be joined.
    WaitFor([this] { return Close(), done_.load(); });
    thread_.join();
  }
  // The menu's window, once its loop runs.
  static HWND FindWindow() {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"#32768", nullptr)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(found, &process);
      if (process == GetCurrentProcessId() && IsWindowVisible(found)) return found;
    }
    return nullptr;
  }
  // What a driver in another process can do too.
  static void Close() {
    if (HWND window = FindWindow()) PostMessageW(window, WM_CANCELMODE, 0, 0);
  }
  bool Done() const { return done_; }

 private:
  void Run() {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 21, L"Inner");
    AppendMenuW(menu, MF_STRING, 102, L"重ねて表示\tCtrl+K");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 12, L"Grayed");
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 13, L"Checked");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Sub");
    MENUITEMINFOW bitmap{};
    bitmap.cbSize = sizeof(bitmap);
    bitmap.fMask = MIIM_BITMAP;
    bitmap.hbmpItem = HBMMENU_POPUP_CLOSE;
    SetMenuItemInfoW(menu, 13, FALSE, &bitmap);
    SetMenuDefaultItem(menu, 102, FALSE);
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_RETURNCMD, 300, 200, 0, owner, nullptr);
    DestroyMenu(menu);
    DestroyWindow(owner);
    done_ = true;
  }
  std::atomic<bool> done_{false};
  std::thread thread_;
};

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(StandinTest, ReportGivesHostedPlacementsAndTheOpenPopupMenu) {
  TempFolder folder(L"report");
  ASSERT_TRUE(Explore(folder.path()));
  HWND hwnd = WaitForNewWindow(folder.path());
  ASSERT_TRUE(hwnd);
  WINDOWPLACEMENT asked{};
  asked.length = sizeof(asked);
  asked.showCmd = SW_SHOWMINIMIZED;
  asked.ptMinPosition = POINT{-1, -1};
  asked.ptMaxPosition = POINT{-1, -1};
  asked.rcNormalPosition = RECT{210, 160, 810, 560};
  ASSERT_TRUE(SetWindowPlacement(hwnd, &asked)) << GetLastError();

  PopupMenuThread popup;
  HWND menuWindow = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menuWindow = PopupMenuThread::FindWindow()) != nullptr; }));
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     (L"zarn-standin-report-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
  HWND host = standin::HostOfProcess(GetCurrentProcessId());
  ASSERT_TRUE(host);
  ASSERT_TRUE(standin::SendReportRequest(host, file.wstring()));
  const std::string text = ReadAll(file);
  std::filesystem::remove(file);
  const auto report = standin::ParseReport(text);
  ASSERT_TRUE(report) << text;
  EXPECT_EQ(GetCurrentProcessId(), report->processId);

  ASSERT_EQ(1u, report->folders.size()) << text;
  const auto& window = report->folders[0];
  EXPECT_EQ(hwnd, window.hwnd);
  EXPECT_EQ(folder.path(), window.path);
  EXPECT_EQ(static_cast<UINT>(SW_SHOWMINIMIZED), window.placement.showCmd);
  EXPECT_EQ(210, window.placement.rcNormalPosition.left);
  EXPECT_EQ(560, window.placement.rcNormalPosition.bottom);
  EXPECT_NE(210, window.windowRect.left) << "a minimized window is not at its normal place";

  ASSERT_EQ(1u, report->menus.size()) << text;
  const auto& menu = report->menus[0];
  EXPECT_EQ(menuWindow, menu.window);
  ASSERT_EQ(6u, menu.items.size()) << text;
  EXPECT_EQ(L"重ねて表示\tCtrl+K", menu.items[0].text);
  EXPECT_TRUE(menu.items[0].isDefault);
  EXPECT_TRUE(menu.items[1].separator);
  EXPECT_TRUE(menu.items[2].grayed);
  EXPECT_FALSE(menu.items[2].isDefault);
  EXPECT_TRUE(menu.items[3].checked);
  EXPECT_TRUE(menu.items[3].bitmap);
  EXPECT_TRUE(menu.items[4].submenu);
  EXPECT_EQ(L"Sub", menu.items[4].text);
  EXPECT_EQ(1, menu.items[5].depth);
  EXPECT_EQ(21u, menu.items[5].id);
  EXPECT_EQ(L"Inner", menu.items[5].text);

  PopupMenuThread::Close();
  EXPECT_TRUE(WaitFor([&] { return popup.Done(); })) << "a posted WM_CANCELMODE ends the menu";
}

std::optional<standin::ReportedFolderWindow> ReportedFolder(HWND hwnd) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     (L"zarn-standin-counts-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
  if (!standin::SendReportRequest(standin::HostOfProcess(GetCurrentProcessId()), file.wstring())) return std::nullopt;
  const auto report = standin::ParseReport(ReadAll(file));
  std::filesystem::remove(file);
  if (!report) return std::nullopt;
  for (const auto& folder : report->folders) {
    if (folder.hwnd == hwnd) return folder;
  }
  return std::nullopt;
}

// Wine sends nothing for a ShowWindow that changes nothing, which is what an arrangement does to a
// visible normal window: the calls themselves are counted, each once, and per window.
TEST_F(StandinTest, ReportCountsThisProgramsShowWindowAndSetWindowPosCallsPerWindow) {
  TempFolder first(L"counts-a");
  TempFolder second(L"counts-b");
  ASSERT_TRUE(Explore(first.path()));
  HWND a = WaitForNewWindow(first.path());
  ASSERT_TRUE(Explore(second.path()));
  HWND b = WaitForNewWindow(second.path());
  ASSERT_TRUE(a && b);
  struct Call {
    HWND window;
    std::function<void(HWND)> call;
  };
  const Call calls[] = {
      {a, [](HWND w) { ShowWindow(w, SW_SHOWDEFAULT); }},
      {a, [](HWND w) { SetWindowPos(w, HWND_TOP, 10, 10, 300, 200, 0); }},
      {b, [](HWND w) { ShowWindow(w, SW_SHOWNORMAL); }},
      {b, [](HWND w) { ShowWindow(w, SW_RESTORE); }},
      {b, [](HWND w) { SetWindowPos(w, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE); }},
      {b, [](HWND w) { SetWindowPos(w, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE); }},
  };
  for (const Call& c : calls) c.call(c.window);
  struct Expected {
    HWND window;
    long showWindow;
    long setWindowPos;
  };
  for (const Expected& e : {Expected{a, 1, 1}, Expected{b, 2, 2}}) {
    const auto folder = ReportedFolder(e.window);
    ASSERT_TRUE(folder && folder->calls);
    EXPECT_EQ(e.showWindow, folder->calls->showWindow);
    EXPECT_EQ(e.setWindowPos, folder->calls->setWindowPos);
    EXPECT_GE(folder->calls->positionChanging, e.setWindowPos);
  }
}

TEST(StandinReportFormat, CallsFollowTheirFolderAndMayBeAbsent) {
  const std::string head = "zarn-standin-report 1\nprocess\t7\nfolder\t42\t0\t0\t9\t9\t1\t0\t0\t0\t0\t0\t0\t9\t9\tC:\\x\n";
  struct Case {
    std::string body;
    bool parses;
    bool hasCalls;
  };
  for (const Case& c : {Case{"end\n", true, false}, Case{"calls\t42\t1\t2\t3\nend\n", true, true},
                        Case{"calls\t43\t1\t2\t3\nend\n", false, false},
                        Case{"calls\t42\t1\t2\nend\n", false, false}}) {
    const auto report = standin::ParseReport(head + c.body);
    ASSERT_EQ(c.parses, report.has_value()) << c.body;
    if (!report) continue;
    ASSERT_EQ(c.hasCalls, report->folders[0].calls.has_value()) << c.body;
    if (c.hasCalls) {
      EXPECT_EQ(2, report->folders[0].calls->setWindowPos);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new ComEnvironment);
  return RUN_ALL_TESTS();
}
