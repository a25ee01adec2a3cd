#include "fake_platform/fake_state.h"
#include "platform/threads.h"
#include "platform/events.h"

namespace tellurix::platform {

using namespace fake::internal;

// --- Threads and keys -------------------------------------------------------

bool startThread(ThreadEntry /*entry*/, void* /*context*/)
{
    // A thread of the program loops forever; tests never run it.
    record("startThread", 0);
    if (kit().failThreads)
        return false;
    kit().threadRunning = true;
    return true;
}

void releaseThread()
{
    record("releaseThread", 0);
}

void sleepMilliseconds(int /*milliseconds*/) {}

void requestBringUp()
{
    if (kit().shuttingDown)
        return;
    // The request reaches the GUI thread as an event.
    ++kit().bringUps;
    kit().events.push_back({EventKind::BringUp, kit().mainWindow, EventSubtype::None});
}

void beginShutdown()
{
    record("beginShutdown", 0);
    kit().shuttingDown = true;
}

bool isShuttingDown()
{
    return kit().shuttingDown;
}

bool claimSingleInstance()
{
    return true;
}

bool bringUpRunningInstance()
{
    return true;
}

namespace fake {

void failThreads()
{
    kit().failThreads = true;
}

int bringUpRequests()
{
    return kit().bringUps;
}

bool threadStarted()
{
    return kit().threadRunning;
}

}  // namespace fake
}  // namespace tellurix::platform
