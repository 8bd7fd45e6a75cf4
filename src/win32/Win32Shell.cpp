#include "win32/Win32Shell.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "core/Error.h"
#include "core/ShellPlaces.h"
#include "win32/CodePage932.h"
#include "win32/Dispatch.h"
#include "win32/SystemError.h"

namespace zarn::win32 {
namespace {

// {13709620-C279-11CE-A49E-444553540000}, for when the ProgID is not registered.
constexpr CLSID kClsidShellApplication = {0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {E7A1AF80-4D96-11CF-960C-0080C7F4EE85}: only a folder view's document answers it.
constexpr IID kIidShellFolderViewDual = {0xE7A1AF80, 0x4D96, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};

constexpr char kShellApplication[] = "Shell.Application";

class Win32ShellWindow final : public ShellWindow {
 public:
  explicit Win32ShellWindow(Dispatch item) : item_(std::move(item)) {}

  bool IsFolderView() override {
    const Dispatch& document = Document();
    if (!document) return false;
    IUnknown* view = nullptr;
    Dispatch::CountCall();
    if (FAILED(document.get()->QueryInterface(kIidShellFolderViewDual, reinterpret_cast<void**>(&view))) ||
        view == nullptr)
      return false;
    view->Release();
    return true;
  }

  WindowHandle Handle() override {
    Variant value = item_.Get(L"hWnd");
    // The shell gives the handle as a 32- or 64-bit integer depending on its version; widen it as
    // a signed value, the way the system sign-extends 32-bit window handles.
    ThrowIfFailed(::VariantChangeType(value.get(), value.get(), 0, VT_I8), item_.name() + ".hWnd");
    return static_cast<WindowHandle>((*value).llVal);
  }

  ShellFolderPath FolderPath() override {
    if (!Document()) throw Error(item_.name() + ".Document: no object");
    // Folder.Self is the folder as an item, as Folder.Items().Item() is, one call sooner.
    const Dispatch self = Document().Object(L"Folder").Object(L"Self");
    Variant path = self.Get(L"Path");
    ThrowIfFailed(::VariantChangeType(path.get(), path.get(), 0, VT_BSTR), self.name() + ".Path");
    const BSTR text = (*path).bstrVal;
    return FolderPathFromWide(std::wstring_view(text, text != nullptr ? ::SysStringLen(text) : 0));
  }

 private:
  // Read once for both questions that need it.
  const Dispatch& Document() {
    if (!documentRead_) {
      document_ = Dispatch::FromResult(item_.Get(L"Document"), item_.name() + ".Document");
      documentRead_ = true;
    }
    return document_;
  }

  Dispatch item_;
  Dispatch document_;
  bool documentRead_ = false;
};

class Win32ShellWindows final : public ShellWindows {
 public:
  explicit Win32ShellWindows(Dispatch application) : application_(std::move(application)) {}

  std::int32_t Count() override {
    Variant count = Windows().Get(L"Count");
    ThrowIfFailed(::VariantChangeType(count.get(), count.get(), 0, VT_I4), application_.name() + ".Windows.Count");
    return (*count).lVal;
  }

  std::unique_ptr<ShellWindow> Item(std::int32_t index) override {
    const Dispatch& windows = Windows();
    VARIANT argument;
    ::VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = index;
    Dispatch item = Dispatch::FromResult(windows.Call(L"Item", argument), windows.name() + ".Item");
    if (!item) return nullptr;
    return std::make_unique<Win32ShellWindow>(std::move(item));
  }

 private:
  // The collection is live: fetched once, it still answers for the windows as they are at each call.
  const Dispatch& Windows() {
    if (!windows_) windows_ = application_.Object(L"Windows");
    return windows_;
  }

  Dispatch application_;
  Dispatch windows_;
};

// GetShortPathNameW or GetLongPathNameW: nullopt when the file system cannot give that form (the
// folder is gone, or the path is not a file system path).
std::optional<std::wstring> OtherPathForm(decltype(&::GetLongPathNameW) convert, const std::wstring& path) {
  const DWORD needed = convert(path.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::wstring other(needed, L'\0');
  const DWORD length = convert(path.c_str(), other.data(), needed);
  // A path renamed between the two calls may need more room than the first one said.
  if (length == 0 || length >= needed) return std::nullopt;
  other.resize(length);
  return other;
}

// GetDriveTypeW of the path's drive; DRIVE_UNKNOWN for a path that does not start with one.
UINT DriveTypeOf(std::wstring_view path) {
  if (path.size() < 2 || path[1] != L':') return DRIVE_UNKNOWN;
  const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
  return ::GetDriveTypeW(root);
}

bool ExploreFolder(const std::wstring& path) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // Without it a missing folder gets a modal "not found" box that blocks the restore.
  // NOASYNC: the request runs on a thread of its own that ends with it.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"explore";
  info.lpFile = path.c_str();
  // A window the restore does not go on to place (one that came late, or matched no record) must not
  // stay hidden, holding its folder open where the user cannot see it.
  info.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExW(&info) != FALSE;
}

// This PC, Control Panel, a library, a folder inside a zip file: the shell parses the name into its
// item and opens that. Places without an "explore" verb of their own (Control Panel) take "open".
bool ExploreItem(const std::wstring& name) {
  PIDLIST_ABSOLUTE item = nullptr;
  if (FAILED(::SHParseDisplayName(name.c_str(), nullptr, &item, 0, nullptr)) || item == nullptr) return false;
  bool accepted = false;
  for (const wchar_t* verb : {L"explore", L"open"}) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_IDLIST | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = verb;
    info.lpIDList = item;
    info.nShow = SW_SHOWNORMAL;
    accepted = ::ShellExecuteExW(&info) != FALSE;
    if (accepted) break;
  }
  ::CoTaskMemFree(item);
  return accepted;
}

// A path the explore verb reports missing may still be the shell's: a folder inside a zip file. Only
// asked for on a fixed drive: parsing the name would wait on a share, and could ask for a disc.
bool ExploreFolderOrItem(const std::wstring& path) {
  if (ExploreFolder(path)) return true;
  const DWORD error = ::GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
  return DriveTypeOf(path) == DRIVE_FIXED && ExploreItem(path);
}

constexpr int kNoAnswerYet = -1;

// What the request's thread needs; it owns this and frees it when done.
struct ExploreJob {
  std::wstring path;
  bool namespaceName = false;
  std::shared_ptr<std::atomic<int>> answer = std::make_shared<std::atomic<int>>(kNoAnswerYet);

  static DWORD WINAPI Run(void* parameter) {
    std::unique_ptr<ExploreJob> job(static_cast<ExploreJob*>(parameter));
    // The shell's handlers want a single-threaded apartment, and no DDE of their own.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const bool accepted = job->namespaceName ? ExploreItem(job->path) : ExploreFolderOrItem(job->path);
    if (SUCCEEDED(com)) ::CoUninitialize();
    job->answer->store(accepted ? 1 : 0);
    return 0;
  }
};

class ThreadRequest final : public ExploreRequest {
 public:
  explicit ThreadRequest(std::shared_ptr<std::atomic<int>> answer) : answer_(std::move(answer)) {}
  std::optional<bool> Answer() override {
    const int answer = answer_->load();
    if (answer == kNoAnswerYet) return std::nullopt;
    return answer == 1;
  }

 private:
  std::shared_ptr<std::atomic<int>> answer_;
};

// Refused before the shell was asked.
class AnsweredRequest final : public ExploreRequest {
 public:
  explicit AnsweredRequest(bool accepted) : accepted_(accepted) {}
  std::optional<bool> Answer() override { return accepted_; }

 private:
  bool accepted_;
};

}  // namespace

bool IsNetworkPath(std::wstring_view path) {
  if (path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/')) {
    // \\server\share; behind \\?\ or \\.\ either UNC\server\share or a drive's path.
    if (path.size() < 4 || (path[2] != L'?' && path[2] != L'.')) return true;
    const std::wstring_view rest = path.substr(4);
    const bool unc = rest.size() >= 4 && (rest[0] == L'U' || rest[0] == L'u') && (rest[1] == L'N' || rest[1] == L'n') &&
                     (rest[2] == L'C' || rest[2] == L'c') && rest[3] == L'\\';
    return unc || (rest.size() >= 2 && rest[1] == L':' && IsNetworkPath(rest));
  }
  return DriveTypeOf(path) == DRIVE_REMOTE;
}

ShellFolderPath FolderPathFromWide(std::wstring_view path) {
  ShellFolderPath result;
  result.wide = U16FromWide(path);
  if (std::optional<std::string> ansi = Cp932FromWide(path)) {
    result.ansi = std::move(*ansi);
    return result;
  }
  // A network folder is never asked for its short form: on a share that does not answer, the question
  // would hold the program up for as long as the network takes to give up.
  if (IsNetworkPath(path)) {
    result.representable = false;
    return result;
  }
  if (const std::optional<std::wstring> shortPath = OtherPathForm(::GetShortPathNameW, std::wstring(path))) {
    if (std::optional<std::string> ansi = Cp932FromWide(*shortPath)) {
      result.ansi = std::move(*ansi);
      return result;
    }
  }
  result.representable = false;
  return result;
}

std::unique_ptr<ShellWindows> Win32Shell::OpenWindows() {
  CLSID clsid;
  if (FAILED(::CLSIDFromProgID(L"Shell.Application", &clsid))) clsid = kClsidShellApplication;
  IDispatch* application = nullptr;
  ThrowIfFailed(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&application)),
                kShellApplication);
  return std::make_unique<Win32ShellWindows>(Dispatch(application, kShellApplication));
}

std::unique_ptr<ExploreRequest> Win32Shell::Explore(std::string_view ansiPath) {
  if (ansiPath.empty()) return std::make_unique<AnsweredRequest>(false);
  const std::optional<std::wstring> path = WideFromCp932Exact(ansiPath);
  if (!path || path->find(L'\0') != std::wstring::npos) return std::make_unique<AnsweredRequest>(false);
  auto job = std::make_unique<ExploreJob>();
  job->path = *path;
  job->namespaceName = IsShellNamespaceName(ansiPath);
  auto request = std::make_unique<ThreadRequest>(job->answer);
  // A folder on a share that does not answer can hold the request for tens of seconds: it runs on a
  // thread of its own, left to finish by itself should the restore stop waiting for it.
  const HANDLE thread = ::CreateThread(nullptr, 0, &ExploreJob::Run, job.get(), 0, nullptr);
  if (thread != nullptr) {
    job.release();  // the thread's now
    ::CloseHandle(thread);
  } else {
    ExploreJob::Run(job.release());
  }
  return request;
}

std::string Win32Shell::LongPathForm(std::string_view ansiPath) {
  std::string unchanged(ansiPath);
  const std::optional<std::wstring> path = WideFromCp932Exact(ansiPath);
  if (!path || path->empty() || path->find(L'\0') != std::wstring::npos) return unchanged;
  // Compared as text: the long form of a path on a share that does not answer would hold the program up;
  // a parsing name has none.
  if (IsNetworkPath(*path) || IsShellNamespaceName(ansiPath)) return unchanged;
  const std::optional<std::wstring> longPath = OtherPathForm(::GetLongPathNameW, *path);
  if (!longPath) return unchanged;
  // A folder stored by its short form because its long one has characters code page 932 lacks
  // stays short: the shell's report of its window is turned into that same short form.
  return Cp932FromWide(*longPath).value_or(std::move(unchanged));
}

}  // namespace zarn::win32
