#pragma once

#include <cstdint>

// Time as the program measures it, and timers that come as events.
namespace tellurix::platform {

// Milliseconds on a clock that only ever goes forward (not the time of day).
std::int64_t steadyMilliseconds();
// In `milliseconds` (0: at once) the GUI thread's queue gets one event of kind
// EventKind::Timer with the number `timer`; starting it again starts it anew.
void startTimer(int timer, int milliseconds);
// No event comes for the timer any more.
void stopTimer(int timer);

}  // namespace tellurix::platform
