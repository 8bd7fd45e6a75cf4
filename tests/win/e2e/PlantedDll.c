/* Planted beside the program under a system DLL's name: it exports nothing, so a
   program that took it instead of the system's DLL would not get far. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
