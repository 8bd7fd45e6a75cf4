#pragma once
// How long a workbench restore waits for the shell. The waits run on the user-interface thread, so
// they must end even when the shell never delivers: a folder that is gone, a window that was brought
// forward instead of opened, a window that cannot take its stored size.
#include <chrono>

namespace zarn {

// Time a folder's new window gets to appear after the shell accepted the request.
inline constexpr std::chrono::milliseconds kNewWindowWait{10'000};
// The collection is looked at often while windows usually come, and then less often: where the system
// tells of every window shown, that wakes the wait at once anyway. A look is the collection's count;
// the new items are read when it grows, and the whole collection, several calls into the shell per
// window, when nothing came for a while, for a window that closed as another opened (see
// docs/performance.md).
inline constexpr std::chrono::milliseconds kNewWindowPollInterval{20};
inline constexpr std::chrono::milliseconds kFastPollingFor{500};
inline constexpr std::chrono::milliseconds kSlowPollInterval{100};
inline constexpr std::chrono::milliseconds kWholeSnapshotInterval{1000};
// The polls of a wait that finds nothing, the first one included.
inline constexpr int kPollsOfAFruitlessWait = static_cast<int>(kFastPollingFor / kNewWindowPollInterval +
                                                               (kNewWindowWait - kFastPollingFor) / kSlowPollInterval) +
                                              1;
// Should the clock stand still, the number of polls still ends the wait.
inline constexpr int kMaxNewWindowPolls = 2 * static_cast<int>(kNewWindowWait / kNewWindowPollInterval);

// Time the windows closed at the start get to go before the first folder is asked for.
inline constexpr std::chrono::milliseconds kClosingWait{3'000};

// SetWindowPos calls a window gets to take its stored rectangle. A window clamped to its minimum or
// maximum track size never will; it keeps the nearest size it accepts.
inline constexpr int kMaxRectangleTries = 50;
inline constexpr std::chrono::milliseconds kRectangleRetryInterval{10};

}  // namespace zarn
