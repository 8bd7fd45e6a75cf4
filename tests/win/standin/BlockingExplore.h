#pragma once
// The explore request that does not come back: the shell's verb for a folder on a share that does not
// answer runs in the caller's thread for as long as the share takes. On the test bed, a folder named
// *.zarn-blocking is opened through this context-menu handler, which the shell runs inside
// ShellExecuteEx; it waits the folder's `/block:MS` and then starts the folder program as the verb
// would.
#include <windows.h>

namespace zarn::standin {

// {DD48C507-BE73-4E6D-B9A7-EA073768A70C}
inline constexpr CLSID kBlockingExploreHandler = {
    0xdd48c507, 0xbe73, 0x4e6d, {0xb9, 0xa7, 0xea, 0x07, 0x37, 0x68, 0xa7, 0x0c}};

HRESULT GetBlockingExploreFactory(HINSTANCE module, REFIID iid, void** out);

}  // namespace zarn::standin
