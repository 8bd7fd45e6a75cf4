#include "win32/SystemError.h"

#include <cstdio>

#include "win32/CodePage932.h"

namespace zarn::win32 {
namespace {

std::string HexCode(DWORD code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
  return text;
}

Error Compose(std::string_view operation, DWORD code) {
  std::string message(operation);
  const std::string text = SystemMessage(code);
  message += text.empty() ? ": error " + HexCode(code) : ": " + text;
  return Error(message);
}

}  // namespace

std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (length == 0 || buffer == nullptr) return std::string();
  std::wstring_view text(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.remove_suffix(1);
  std::string utf8 = Utf8FromWide(text);
  ::LocalFree(buffer);
  return utf8;
}

Error ErrorFromCode(std::string_view operation, DWORD code) { return Compose(operation, code); }

Error ErrorFromHresult(std::string_view operation, HRESULT hr) {
  // The message table knows Win32 codes better than their HRESULT wrapping (Wine knows only those).
  const auto code = static_cast<DWORD>(hr);
  if (HRESULT_FACILITY(hr) == FACILITY_WIN32 && !SystemMessage(HRESULT_CODE(hr)).empty())
    return Compose(operation, static_cast<DWORD>(HRESULT_CODE(hr)));
  return Compose(operation, code);
}

void ThrowLastError(std::string_view operation) { throw ErrorFromCode(operation, ::GetLastError()); }

bool IsShellItemGone(HRESULT hr) {
  return hr == RPC_E_DISCONNECTED || hr == CO_E_OBJNOTCONNECTED || hr == RPC_E_CALL_REJECTED ||
         hr == RPC_E_SERVERCALL_RETRYLATER || hr == RPC_E_CALL_CANCELED;
}

void ThrowHresult(std::string_view operation, HRESULT hr) {
  Error error = ErrorFromHresult(operation, hr);
  if (IsShellItemGone(hr)) throw ShellItemGone(error.what());
  throw error;
}

}  // namespace zarn::win32
