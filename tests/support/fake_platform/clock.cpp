#include "fake_platform/fake_state.h"
#include "platform/clock.h"

namespace tellurix::platform {

using namespace fake::internal;

std::int64_t steadyMilliseconds()
{
    return kit().clock;
}

void startTimer(int timer, int milliseconds)
{
    kit().timers[timer] = kit().clock + (milliseconds > 0 ? milliseconds : 0);
}

void stopTimer(int timer)
{
    kit().timers.erase(timer);
}

namespace fake {

void setClock(std::int64_t milliseconds)
{
    kit().clock = milliseconds;
}

std::int64_t timerDue(int timer)
{
    const auto it = kit().timers.find(timer);
    return it == kit().timers.end() ? -1 : it->second;
}

bool fireTimer(int timer)
{
    const auto it = kit().timers.find(timer);
    if (it == kit().timers.end() || it->second > kit().clock)
        return false;
    kit().timers.erase(it);
    kit().events.push_back({EventKind::Timer, timer, EventSubtype::None});
    return true;
}

}  // namespace fake
}  // namespace tellurix::platform
