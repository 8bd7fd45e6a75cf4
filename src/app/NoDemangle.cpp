// The runtime's verbose terminate handler demangles the type of an exception nobody caught before it
// ends the program. Zarn catches every exception at its command boundary and has no console to print
// to, so the demangler (a tenth of the program's size) is left out: this stands in for it and says it
// could not demangle, and the handler prints the raw name instead.
#include <cstddef>

extern "C" char* __cxa_demangle(const char*, char*, std::size_t*, int* status) {
  if (status != nullptr) *status = -2;  // "not a valid mangled name"
  return nullptr;
}
