#pragma once
// COM for the calling thread, for as long as the object lives. The shell's automation object wants
// a single-threaded apartment, so the program makes one of these on its user-interface thread
// before the first snapshot (tests do the same on their main thread).
#include <objidl.h>

namespace zarn::win32 {

class ComApartment {
 public:
  // Throws zarn::Error when COM cannot be initialised, or when the thread already belongs to the
  // multithreaded apartment (the shell objects would then be called from the wrong thread). Registers
  // BusyShellFilter for the thread, giving the one before it back at the end.
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool filterRegistered_ = false;
  IMessageFilter* previousFilter_ = nullptr;
};

}  // namespace zarn::win32
