#pragma once
// The stand-in shell's host thread in its client's process.
#include <windows.h>

namespace zarn::standin {

// Starts the host thread once per process and waits (boundedly) until its window is up. Called from
// DllGetClassObject, never from DllMain: starting a thread and waiting for it under the loader lock
// would deadlock. `module` is the stand-in shell's, which stays loaded from then on.
void StartHost(HINSTANCE module);
// The host thread runs: the DLL must stay loaded.
bool Hosting();

}  // namespace zarn::standin
