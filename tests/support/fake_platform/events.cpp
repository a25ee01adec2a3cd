#include "fake_platform/fake_designs.h"
#include "fake_platform/fake_state.h"
#include "fake_platform/fake_tray.h"
#include "platform/controls.h"
#include "platform/process.h"
#include "platform/windows.h"

namespace tellurix::platform {

using namespace fake::internal;

// --- Events and process -----------------------------------------------------

Event waitEvent()
{
    Toolkit& k = kit();
    if (k.events.empty())
        throw fake::NoMoreEvents{};
    const Event event = k.events.front();
    k.events.pop_front();
    return event;
}

void postEvent(int number)
{
    kit().events.push_back({EventKind::Posted, number, EventSubtype::None});
}

void setSessionEndHandler(void (*handler)(void*), void* context)
{
    kit().onSessionEnd = handler;
    kit().sessionEndContext = context;
}

void releaseAll()
{
    record("releaseAll", 0);
    kit().windows.clear();
    kit().controls.clear();
    kit().fonts.clear();
    kit().mainWindow = kNoWindow;
    kit().focus = kNoControl;
    kit().foreground = kNoWindow;
    fake::resetImages();
    fake::resetDesigns();
    fake::releaseMenus();
}

void exitProcess(int code)
{
    record("exitProcess", code);
    throw fake::ProcessExit{code};
}

namespace fake {

void queueEvent(const Event& event)
{
    kit().events.push_back(event);
}

bool endSession()
{
    if (!kit().onSessionEnd)
        return false;
    kit().onSessionEnd(kit().sessionEndContext);
    return true;
}

}  // namespace fake
}  // namespace tellurix::platform
