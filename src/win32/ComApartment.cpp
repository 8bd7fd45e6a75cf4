#include "win32/ComApartment.h"

#include <objbase.h>

#include "win32/BusyShellFilter.h"
#include "win32/SystemError.h"

namespace zarn::win32 {
namespace {

// Stateless, so one serves every thread.
BusyShellFilter g_busyShellFilter;

}  // namespace

ComApartment::ComApartment() {
  // S_FALSE (already initialised on this thread) also counts and must be balanced.
  ThrowIfFailed(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), "CoInitializeEx");
  // Without the filter the program still works, only without a bound on a busy shell.
  filterRegistered_ = SUCCEEDED(::CoRegisterMessageFilter(&g_busyShellFilter, &previousFilter_));
}

ComApartment::~ComApartment() {
  if (filterRegistered_) {
    IMessageFilter* ours = nullptr;
    if (SUCCEEDED(::CoRegisterMessageFilter(previousFilter_, &ours)) && ours != nullptr) ours->Release();
    if (previousFilter_ != nullptr) previousFilter_->Release();
  }
  ::CoUninitialize();
}

}  // namespace zarn::win32
