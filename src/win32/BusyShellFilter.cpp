#include "win32/BusyShellFilter.h"

namespace zarn::win32 {

HRESULT STDMETHODCALLTYPE BusyShellFilter::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
    *object = static_cast<IMessageFilter*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

DWORD STDMETHODCALLTYPE BusyShellFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE BusyShellFilter::RetryRejectedCall(HTASK, DWORD tickCount, DWORD rejectType) {
  // A call rejected outright will not fare better a moment later; (DWORD)-1 cancels it, and the caller
  // gets RPC_E_CALL_REJECTED.
  if (rejectType == SERVERCALL_RETRYLATER && tickCount < kRetryForMs) return kRetryEveryMs;
  return static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE BusyShellFilter::MessagePending(HTASK, DWORD tickCount, DWORD) {
  // Cancelled, the call fails with RPC_E_CALL_CANCELED; the shell may still finish it, which for the
  // property reads of a snapshot changes nothing.
  return tickCount >= kCancelPendingAfterMs ? PENDINGMSG_CANCELCALL : PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace zarn::win32
