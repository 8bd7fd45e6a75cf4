#pragma once
// Turning a failed system call into zarn::Error: the operation that failed, then the system's own
// explanation in the user's language, so the generic error box says something useful.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/Error.h"

namespace zarn::win32 {

// The system's text for an error code or HRESULT without its trailing line break, or "" when the
// system has none.
std::string SystemMessage(DWORD code);

// "<operation>: <system text>", or "<operation>: error 0x…" when the system has no text for it.
Error ErrorFromCode(std::string_view operation, DWORD code);
Error ErrorFromHresult(std::string_view operation, HRESULT hr);

// The codes an automation call on a shell window fails with when the window closed meanwhile, or its
// shell is too busy to answer: RPC_E_DISCONNECTED, CO_E_OBJNOTCONNECTED, RPC_E_CALL_REJECTED,
// RPC_E_SERVERCALL_RETRYLATER and RPC_E_CALL_CANCELED (given up on by the thread's message filter).
bool IsShellItemGone(HRESULT hr);

[[noreturn]] void ThrowLastError(std::string_view operation);
// ShellItemGone for the codes above, so that a snapshot goes on without that one item.
[[noreturn]] void ThrowHresult(std::string_view operation, HRESULT hr);
inline void ThrowIfFailed(HRESULT hr, std::string_view operation) {
  if (FAILED(hr)) ThrowHresult(operation, hr);
}

}  // namespace zarn::win32
