// The stand-in shell as a client meets it: the explore verb opens stand-in folder windows, and
// "Shell.Application" lists them through late binding and through vtables.
#include "StandinFixture.h"

namespace standin_tests {
namespace {

// --- The test prefix itself

TEST(StandinPrefix, DesktopAndFontsAreSetUp) {
  EXPECT_EQ(1920, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(1080, GetSystemMetrics(SM_CYSCREEN));
  wchar_t value[64];
  DWORD size = sizeof(value);
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", L"ＭＳ Ｐゴシック",
                                        RRF_RT_REG_SZ, nullptr, value, &size));
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
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
            collection->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr));
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

}  // namespace
}  // namespace standin_tests

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new standin_tests::ComEnvironment);
  return RUN_ALL_TESTS();
}
