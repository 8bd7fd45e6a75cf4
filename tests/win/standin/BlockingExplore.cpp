// The stand-in's context-menu handler for folders whose explore request blocks. The shell creates it
// in the thread that called ShellExecuteEx, hands it the folder through a data object, asks for its
// menu and invokes the item named like the verb.
#include "BlockingExplore.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "StandinWindow.h"
#include "StaticClassFactory.h"

namespace zarn::standin {
namespace {

HINSTANCE g_module = nullptr;

// The folder the shell's data object holds (one item).
std::wstring DroppedFolder(IDataObject* data) {
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&format, &medium))) return {};
  const auto drop = static_cast<HDROP>(medium.hGlobal);
  std::wstring path(DragQueryFileW(drop, 0, nullptr, 0), L'\0');
  if (!path.empty()) DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size() + 1));
  ReleaseStgMedium(&medium);
  return path;
}

std::wstring FolderProgram() {
  wchar_t module[MAX_PATH];
  std::wstring path(module, GetModuleFileNameW(g_module, module, MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"zarn_standin_folder.exe";
}

class Handler final : public IShellExtInit, public IContextMenu, public IObjectWithSite {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit))
      *out = static_cast<IShellExtInit*>(this);
    else if (IsEqualIID(iid, IID_IContextMenu))
      *out = static_cast<IContextMenu*>(this);
    else if (IsEqualIID(iid, IID_IObjectWithSite))
      *out = static_cast<IObjectWithSite*>(this);
    else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) override {
    folder_ = DroppedFolder(data);
    return folder_.empty() ? E_INVALIDARG : S_OK;
  }

  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT, UINT) override {
    if (!InsertMenuW(menu, index, MF_BYPOSITION | MF_STRING, first, L"explore")) return E_FAIL;
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
  }
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override {
    if (!info || !IS_INTRESOURCE(info->lpVerb) || LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0)
      return E_INVALIDARG;
    Behaviour behaviour;
    std::wstring error;
    if (!ApplyMarkerFile(folder_, behaviour, error)) return E_FAIL;
    Sleep(behaviour.blockMs);
    std::wstring commandLine = L"\"" + FolderProgram() + L"\" \"" + folder_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(info->nShow);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return HRESULT_FROM_WIN32(GetLastError());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE SetSite(IUnknown*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetSite(REFIID, void** out) override {
    if (out) *out = nullptr;
    return E_FAIL;
  }

 private:
  LONG refs_ = 1;
  std::wstring folder_;
};

IUnknown* NewHandler() { return static_cast<IShellExtInit*>(new Handler); }

StaticClassFactory g_factory(NewHandler);

}  // namespace

HRESULT GetBlockingExploreFactory(HINSTANCE module, REFIID iid, void** out) {
  g_module = module;
  return g_factory.QueryInterface(iid, out);
}

}  // namespace zarn::standin
