#pragma once
// The thread's answer to a shell that is too busy for an automation call. Without one, COM retries a
// call the shell's process turns away (SERVERCALL_RETRYLATER) at once and forever, and waits for a call
// the shell has taken but not answered for as long as it takes: one Explorer window stuck on a share
// that does not answer would freeze every command. With it, a busy shell is asked again for a short
// while and then the call fails, which a snapshot treats as one item gone.
#include <objidl.h>

namespace zarn::win32 {

class BusyShellFilter final : public IMessageFilter {
 public:
  // How long a call turned away as busy is offered again, and how often.
  static constexpr DWORD kRetryForMs = 2000;
  static constexpr DWORD kRetryEveryMs = 100;
  // How long a call the shell took may stay unanswered while the thread's own messages wait.
  static constexpr DWORD kCancelPendingAfterMs = 5000;

  // IUnknown: lives as long as the apartment that registers it, so no reference counting of its own.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                             LPINTERFACEINFO interfaceInfo) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount, DWORD rejectType) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount, DWORD pendingType) override;
};

}  // namespace zarn::win32
