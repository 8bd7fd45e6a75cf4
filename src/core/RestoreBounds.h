#pragma once
// How long a workbench restore waits for the shell. The waits run on the user-interface thread, so
// they must end even when the shell never delivers: a folder that is gone, a window that was brought
// forward instead of opened, a window that cannot take its stored size.
#include <chrono>

namespace zarn {

// Time a folder's new window gets to appear after the shell accepted the request.
inline constexpr std::chrono::milliseconds kNewWindowWait{10'000};
// A window is placed at most one interval after it appears, and a poll of a few windows costs well
// under a millisecond: the wait stays a small share of one core (see docs/performance.md).
inline constexpr std::chrono::milliseconds kNewWindowPollInterval{20};
// Should the clock stand still, the number of polls still ends the wait.
inline constexpr int kMaxNewWindowPolls = 2 * static_cast<int>(kNewWindowWait / kNewWindowPollInterval);

// Time the windows closed at the start get to go before the first folder is asked for.
inline constexpr std::chrono::milliseconds kClosingWait{3'000};

// SetWindowPos calls a window gets to take its stored rectangle. A window clamped to its minimum or
// maximum track size never will; it keeps the nearest size it accepts.
inline constexpr int kMaxRectangleTries = 50;
inline constexpr std::chrono::milliseconds kRectangleRetryInterval{10};

}  // namespace zarn
