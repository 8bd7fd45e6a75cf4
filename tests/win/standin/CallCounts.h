#pragma once
// How often the process's own program called ShowWindow and SetWindowPos on each stand-in folder
// window, and how many WM_WINDOWPOSCHANGING each window received. Wine sends no message at all for
// ShowWindow(SW_SHOWDEFAULT / SW_SHOWNORMAL / SW_RESTORE) on a visible normal window, so the calls
// are counted where they are made: the host patches the executable's imports of the two functions
// with counting forwarders. Only the executable's calls count, never those of a library.
#include <windows.h>

#include <optional>

namespace zarn::standin {

struct CallCounts {
  long showWindow = 0;
  long setWindowPos = 0;
  long positionChanging = 0;  // WM_WINDOWPOSCHANGING, whoever caused it
};

// Patches the executable's imports once per process; true when both are counted from then on.
bool InstallCallCounters();
bool CallCountersInstalled();
// The counts of a window since it was created; nullopt when the counters are not installed.
std::optional<CallCounts> CountsOf(HWND window);
// Called by the folder window's procedure.
void CountPositionChanging(HWND window);
void ForgetCounts(HWND window);

// Calls the stand-in shell's automation objects in this process received: late-bound lookups and
// calls, and interface queries. Against the real shell each is a round trip to its process.
void CountAutomationCall();
long AutomationCallsReceived();

}  // namespace zarn::standin
