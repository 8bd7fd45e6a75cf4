// The stand-in "Shell.Application": an in-process COM server that lists the stand-in folder windows
// the way the shell's automation object lists folder windows. Every object answers late binding
// (IDispatch, names compared case-insensitively) and the dual interfaces' vtables for the members a
// folder-window walk uses; every other vtable slot answers E_NOTIMPL.
//
// Loading the server into a client also starts a host thread there: the folder program hands its
// windows to that thread, so they live in the client's process, where window placements can be read
// and set (Wine refuses both across processes).
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>
#include <shldisp.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "BlockingExplore.h"
#include "StandinHost.h"
#include "StandinReport.h"
#include "StandinWindow.h"
#include "StaticClassFactory.h"
#include "VtableSlots.h"

namespace {

using namespace zarn::standin;

// {13709620-C279-11CE-A49E-444553540000}
constexpr CLSID kShellApplication = {0x13709620, 0xc279, 0x11ce, {0xa4, 0x9e, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

HINSTANCE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

// ---------------------------------------------------------------------------------------------------
// Automation objects

enum class Kind { Application, Windows, Browser, FolderView, OtherDocument, Folder, FolderItems, FolderItem, Count };

struct Object {
  void* const* vtable;  // first: an interface pointer to the object is the object's address
  LONG refs;
  Kind kind;
  HWND hwnd;
  std::wstring path;
  int tab;  // which tab of the window a window item or its document stands for
};

IDispatch* AsDispatch(Object* object) { return reinterpret_cast<IDispatch*>(object); }

void* const* VtableOf(Kind kind);

IDispatch* NewObject(Kind kind, HWND hwnd = nullptr, std::wstring path = {}, int tab = 0) {
  auto* object = new Object{VtableOf(kind), 1, kind, hwnd, std::move(path), tab};
  InterlockedIncrement(&g_objects);
  return AsDispatch(object);
}

std::wstring DisplayName(const std::wstring& path) {
  const auto slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos || slash + 1 == path.size()) return path;
  return path.substr(slash + 1);
}

HRESULT ReturnString(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The state of a window an item stands for. A closed window's objects answer as the shell's do for a
// window that has gone: the object has disconnected.
HRESULT LiveWindow(const Object* self, FolderWindowInfo& info) {
  auto found = DescribeFolderWindow(self->hwnd, self->tab);
  if (!found) return RPC_E_DISCONNECTED;
  info = std::move(*found);
  return S_OK;
}

// Reads an index argument. `missing` is set for an omitted optional argument. Integer types of any
// width are taken; one that does not fit 32 bits lies past every end and reads as -1.
HRESULT ReadIndex(const VARIANT& argument, LONG& index, bool& missing) {
  VARIANT value;
  VariantInit(&value);
  HRESULT hr = VariantCopyInd(&value, const_cast<VARIANT*>(&argument));
  if (FAILED(hr)) return hr;
  missing = value.vt == VT_EMPTY || (value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND);
  index = -1;
  if (missing) return S_OK;
  switch (value.vt) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
      hr = VariantChangeType(&value, &value, 0, VT_I4);
      if (hr == DISP_E_OVERFLOW) return S_OK;
      if (SUCCEEDED(hr)) index = value.lVal;
      return hr;
    default:
      VariantClear(&value);
      return DISP_E_TYPEMISMATCH;
  }
}

// --- Shell.Application

HRESULT STDMETHODCALLTYPE AppWindows(Object*, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = NewObject(Kind::Windows);
  return S_OK;
}

// --- Windows collection: live, like the shell's; every call looks at the desktop afresh.

HRESULT STDMETHODCALLTYPE WindowsCount(Object*, LONG* out) {
  if (!out) return E_POINTER;
  *out = static_cast<LONG>(ListFolderItems().size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE WindowsItem(Object*, VARIANT index, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  LONG position = -1;
  bool missing = false;
  const HRESULT hr = ReadIndex(index, position, missing);
  if (FAILED(hr)) return hr;
  if (missing) return E_INVALIDARG;
  const auto items = ListFolderItems();
  // Past the end (or a window closed since Count was read): no object, S_FALSE, as the shell answers.
  if (position < 0 || static_cast<size_t>(position) >= items.size()) return S_FALSE;
  const FolderItemRef& item = items[static_cast<size_t>(position)];
  *out = NewObject(Kind::Browser, item.hwnd, {}, item.tab);
  return S_OK;
}

// --- One window of the collection

HRESULT STDMETHODCALLTYPE BrowserHwnd(Object* self, SHANDLE_PTR* out) {
  if (!out) return E_POINTER;
  FolderWindowInfo info;
  if (const HRESULT hr = LiveWindow(self, info); FAILED(hr)) return hr;
  *out = reinterpret_cast<SHANDLE_PTR>(info.hwnd);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserDocument(Object* self, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  FolderWindowInfo info;
  if (const HRESULT hr = LiveWindow(self, info); FAILED(hr)) return hr;
  *out = NewObject(info.folderView ? Kind::FolderView : Kind::OtherDocument, info.hwnd, info.path, self->tab);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserLocationName(Object* self, BSTR* out) {
  FolderWindowInfo info;
  if (const HRESULT hr = LiveWindow(self, info); FAILED(hr)) return hr;
  return ReturnString(DisplayName(info.path), out);
}

HRESULT STDMETHODCALLTYPE BrowserLocationUrl(Object* self, BSTR* out) {
  FolderWindowInfo info;
  if (const HRESULT hr = LiveWindow(self, info); FAILED(hr)) return hr;
  std::wstring url = L"file:///" + info.path;
  for (auto& c : url)
    if (c == L'\\') c = L'/';
  return ReturnString(url, out);
}

// --- Folder view document, folder, items

HRESULT STDMETHODCALLTYPE ViewFolder(Object* self, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  FolderWindowInfo info;
  if (const HRESULT hr = LiveWindow(self, info); FAILED(hr)) return hr;
  *out = NewObject(Kind::Folder, nullptr, info.path);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FolderTitle(Object* self, BSTR* out) { return ReturnString(DisplayName(self->path), out); }

HRESULT STDMETHODCALLTYPE FolderItemsOf(Object* self, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = NewObject(Kind::FolderItems, nullptr, self->path);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FolderSelf(Object* self, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = NewObject(Kind::FolderItem, nullptr, self->path);
  return S_OK;
}

// Item() without an argument is the folder itself. The folder's contents are not modelled: any
// index gives no object.
HRESULT STDMETHODCALLTYPE ItemsItem(Object* self, VARIANT index, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  LONG position = -1;
  bool missing = false;
  VARIANT value;
  VariantInit(&value);
  if (SUCCEEDED(VariantCopyInd(&value, &index)) && value.vt == VT_BSTR) {
    VariantClear(&value);
    return S_FALSE;
  }
  const HRESULT hr = ReadIndex(index, position, missing);
  if (FAILED(hr)) return hr;
  if (!missing) return S_FALSE;
  *out = NewObject(Kind::FolderItem, nullptr, self->path);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ItemName(Object* self, BSTR* out) { return ReturnString(DisplayName(self->path), out); }
HRESULT STDMETHODCALLTYPE ItemPath(Object* self, BSTR* out) { return ReturnString(self->path, out); }
HRESULT STDMETHODCALLTYPE ItemIsFolder(Object*, VARIANT_BOOL* out) {
  if (!out) return E_POINTER;
  *out = VARIANT_TRUE;
  return S_OK;
}

// --- Late binding

enum class Signature { Object, Long, Handle, String, Bool, ObjectByIndex };

struct Member {
  Kind kind;
  const wchar_t* name;
  DISPID id;
  Signature signature;
  void* function;
};

template <typename F>
void* Fn(F f) {
  return reinterpret_cast<void*>(f);
}

const Member kMembers[] = {
    {Kind::Application, L"Windows", 1, Signature::Object, Fn(AppWindows)},
    {Kind::Windows, L"Item", DISPID_VALUE, Signature::ObjectByIndex, Fn(WindowsItem)},
    {Kind::Windows, L"Count", 1, Signature::Long, Fn(WindowsCount)},
    {Kind::Browser, L"hWnd", 1, Signature::Handle, Fn(BrowserHwnd)},
    {Kind::Browser, L"Document", 2, Signature::Object, Fn(BrowserDocument)},
    {Kind::Browser, L"LocationName", 3, Signature::String, Fn(BrowserLocationName)},
    {Kind::Browser, L"LocationURL", 4, Signature::String, Fn(BrowserLocationUrl)},
    {Kind::FolderView, L"Folder", 1, Signature::Object, Fn(ViewFolder)},
    {Kind::Folder, L"Title", 1, Signature::String, Fn(FolderTitle)},
    {Kind::Folder, L"Items", 2, Signature::Object, Fn(FolderItemsOf)},
    {Kind::Folder, L"Self", 3, Signature::Object, Fn(FolderSelf)},
    {Kind::FolderItems, L"Item", DISPID_VALUE, Signature::ObjectByIndex, Fn(ItemsItem)},
    {Kind::FolderItem, L"Name", 1, Signature::String, Fn(ItemName)},
    {Kind::FolderItem, L"Path", 2, Signature::String, Fn(ItemPath)},
    {Kind::FolderItem, L"IsFolder", 3, Signature::Bool, Fn(ItemIsFolder)},
};

const Member* FindMember(Kind kind, DISPID id) {
  for (const auto& member : kMembers)
    if (member.kind == kind && member.id == id) return &member;
  return nullptr;
}

HRESULT STDMETHODCALLTYPE GetTypeInfoCount(Object*, UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE GetTypeInfo(Object*, UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE GetIDsOfNames(Object* self, REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  CountAutomationCall();
  if (!names || !ids) return E_POINTER;
  if (count == 0) return S_OK;
  HRESULT hr = S_OK;
  ids[0] = DISPID_UNKNOWN;
  for (const auto& member : kMembers) {
    if (member.kind == self->kind && names[0] && lstrcmpiW(member.name, names[0]) == 0) {
      ids[0] = member.id;
      break;
    }
  }
  if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  for (UINT i = 1; i < count; ++i) {  // no member takes named arguments
    ids[i] = DISPID_UNKNOWN;
    hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT STDMETHODCALLTYPE Invoke(Object* self, DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO*, UINT* argumentError) {
  CountAutomationCall();
  const Member* member = FindMember(self->kind, id);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) return DISP_E_MEMBERNOTFOUND;
  const UINT count = params ? params->cArgs : 0;
  if (params && params->cNamedArgs) return DISP_E_NONAMEDARGS;
  const UINT allowed = member->signature == Signature::ObjectByIndex ? 1 : 0;
  if (count > allowed) return DISP_E_BADPARAMCOUNT;

  VARIANT discard;
  VARIANT* out = result ? result : &discard;
  VariantInit(out);
  HRESULT hr = S_OK;
  switch (member->signature) {
    case Signature::Object: {
      IDispatch* object = nullptr;
      hr = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(Object*, IDispatch**)>(member->function)(self, &object);
      if (SUCCEEDED(hr)) {
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
      }
      break;
    }
    case Signature::ObjectByIndex: {
      VARIANT missing;
      VariantInit(&missing);
      missing.vt = VT_ERROR;
      missing.scode = DISP_E_PARAMNOTFOUND;
      IDispatch* object = nullptr;
      hr = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(Object*, VARIANT, IDispatch**)>(member->function)(
          self, count ? params->rgvarg[0] : missing, &object);
      if (hr == DISP_E_TYPEMISMATCH && argumentError) *argumentError = 0;
      if (SUCCEEDED(hr)) {
        // An empty item is a Nothing object, as a script sees it.
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        hr = S_OK;
      }
      break;
    }
    case Signature::Long: {
      LONG value = 0;
      hr = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(Object*, LONG*)>(member->function)(self, &value);
      if (SUCCEEDED(hr)) {
        out->vt = VT_I4;
        out->lVal = value;
      }
      break;
    }
    case Signature::Handle: {
      // 64-bit, so a handle never loses its upper half on the way.
      SHANDLE_PTR value = 0;
      hr = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(Object*, SHANDLE_PTR*)>(member->function)(self, &value);
      if (SUCCEEDED(hr)) {
        out->vt = VT_I8;
        out->llVal = value;
      }
      break;
    }
    case Signature::String: {
      BSTR value = nullptr;
      hr = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(Object*, BSTR*)>(member->function)(self, &value);
      if (SUCCEEDED(hr)) {
        out->vt = VT_BSTR;
        out->bstrVal = value;
      }
      break;
    }
    case Signature::Bool: {
      VARIANT_BOOL value = VARIANT_FALSE;
      hr = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(Object*, VARIANT_BOOL*)>(member->function)(self, &value);
      if (SUCCEEDED(hr)) {
        out->vt = VT_BOOL;
        out->boolVal = value;
      }
      break;
    }
  }
  if (out == &discard) VariantClear(&discard);
  return hr;
}

// --- IUnknown

bool Answers(Kind kind, REFIID iid) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) return true;
  switch (kind) {
    case Kind::Application:
      return IsEqualIID(iid, IID_IShellDispatch);
    case Kind::Windows:
      return IsEqualIID(iid, IID_IShellWindows);
    case Kind::Browser:
      return IsEqualIID(iid, IID_IWebBrowser2) || IsEqualIID(iid, IID_IWebBrowserApp) ||
             IsEqualIID(iid, IID_IWebBrowser);
    case Kind::FolderView:
      return IsEqualIID(iid, IID_IShellFolderViewDual);
    case Kind::Folder:
      return IsEqualIID(iid, IID_Folder);
    case Kind::FolderItems:
      return IsEqualIID(iid, IID_FolderItems);
    case Kind::FolderItem:
      return IsEqualIID(iid, IID_FolderItem);
    case Kind::OtherDocument:
    case Kind::Count:
      return false;
  }
  return false;
}

ULONG STDMETHODCALLTYPE AddRef(Object* self) { return static_cast<ULONG>(InterlockedIncrement(&self->refs)); }

ULONG STDMETHODCALLTYPE Release(Object* self) {
  const LONG refs = InterlockedDecrement(&self->refs);
  if (refs == 0) {
    delete self;
    InterlockedDecrement(&g_objects);
  }
  return static_cast<ULONG>(refs);
}

HRESULT STDMETHODCALLTYPE QueryInterface(Object* self, REFIID iid, void** out) {
  // A proxy answers IUnknown itself.
  if (!IsEqualIID(iid, IID_IUnknown)) CountAutomationCall();
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!Answers(self->kind, iid)) return E_NOINTERFACE;
  AddRef(self);
  *out = self;
  return S_OK;
}

// On x64 one calling convention serves every signature and the caller cleans up, so a single stub can
// stand in every slot nobody fills.
HRESULT STDMETHODCALLTYPE NotImplemented() { return E_NOTIMPL; }

constexpr int kMaxSlots = 128;

struct Vtables {
  void* slots[static_cast<int>(Kind::Count)][kMaxSlots];
};

const Vtables& BuildVtables() {
  static Vtables tables;
  static std::once_flag once;
  std::call_once(once, [] {
    for (auto& table : tables.slots) {
      for (auto& slot : table) slot = Fn(NotImplemented);
      table[0] = Fn(QueryInterface);
      table[1] = Fn(AddRef);
      table[2] = Fn(Release);
      table[3] = Fn(GetTypeInfoCount);
      table[4] = Fn(GetTypeInfo);
      table[5] = Fn(GetIDsOfNames);
      table[6] = Fn(Invoke);
    }
    auto at = [&](Kind kind) -> void** { return tables.slots[static_cast<int>(kind)]; };
    at(Kind::Application)[zarn_slot_ShellDispatch_Windows] = Fn(AppWindows);
    at(Kind::Windows)[zarn_slot_ShellWindows_get_Count] = Fn(WindowsCount);
    at(Kind::Windows)[zarn_slot_ShellWindows_Item] = Fn(WindowsItem);
    at(Kind::Browser)[zarn_slot_WebBrowser2_get_Document] = Fn(BrowserDocument);
    at(Kind::Browser)[zarn_slot_WebBrowser2_get_LocationName] = Fn(BrowserLocationName);
    at(Kind::Browser)[zarn_slot_WebBrowser2_get_LocationURL] = Fn(BrowserLocationUrl);
    at(Kind::Browser)[zarn_slot_WebBrowser2_get_HWND] = Fn(BrowserHwnd);
    at(Kind::FolderView)[zarn_slot_ShellFolderViewDual_get_Folder] = Fn(ViewFolder);
    at(Kind::Folder)[zarn_slot_Folder_get_Title] = Fn(FolderTitle);
    at(Kind::Folder)[zarn_slot_Folder_Items] = Fn(FolderItemsOf);
    at(Kind::FolderItems)[zarn_slot_FolderItems_Item] = Fn(ItemsItem);
    at(Kind::FolderItem)[zarn_slot_FolderItem_get_Name] = Fn(ItemName);
    at(Kind::FolderItem)[zarn_slot_FolderItem_get_Path] = Fn(ItemPath);
    at(Kind::FolderItem)[zarn_slot_FolderItem_get_IsFolder] = Fn(ItemIsFolder);
  });
  return tables;
}

void* const* VtableOf(Kind kind) { return BuildVtables().slots[static_cast<int>(kind)]; }

// ---------------------------------------------------------------------------------------------------
// Class factory

IUnknown* NewApplication() { return NewObject(Kind::Application); }

StaticClassFactory g_factory(NewApplication, &g_locks);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualCLSID(clsid, kBlockingExploreHandler)) return GetBlockingExploreFactory(g_module, iid, out);
  if (!IsEqualCLSID(clsid, kShellApplication)) return CLASS_E_CLASSNOTAVAILABLE;
  if (zarn_slot_count > kMaxSlots) return E_UNEXPECTED;
  StartHost(g_module);
  return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  // Once the host thread runs, the module is pinned and stays whatever we answer.
  return (Hosting() || g_objects > 0 || g_locks > 0) ? S_FALSE : S_OK;
}
