#include "win32/ComApartment.h"

#include <objbase.h>

#include "win32/SystemError.h"

namespace zarn::win32 {

ComApartment::ComApartment() {
  // S_FALSE (already initialised on this thread) also counts and must be balanced.
  ThrowIfFailed(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), "CoInitializeEx");
}

ComApartment::~ComApartment() { ::CoUninitialize(); }

}  // namespace zarn::win32
