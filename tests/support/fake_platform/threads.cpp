#include "fake_platform/fake_state.h"
#include "platform/threads.h"
#include "platform/window_toolkit.h"

namespace tellurix::platform {

using namespace fake::internal;

// --- Threads and keys -------------------------------------------------------

bool startThread(ThreadEntry /*entry*/, int argument)
{
    // The watcher loops forever; tests poll it one step at a time instead.
    record("startThread", argument);
    kit().threadRunning = true;
    return true;
}

void releaseThread()
{
    record("releaseThread", 0);
}

void sleepMilliseconds(int /*milliseconds*/) {}

bool isKeyDown(int virtualKey)
{
    return kit().keysDown.count(virtualKey) != 0;
}

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

void bringUpRunningInstance() {}

namespace fake {

void setKeyDown(int virtualKey, bool down)
{
    if (down)
        kit().keysDown.insert(virtualKey);
    else
        kit().keysDown.erase(virtualKey);
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
