#include "app/event_loop.h"
#include "app/program.h"
#include "core/entry.h"
#include "platform/process.h"
#include "platform/threads.h"
#include "platform/trace.h"

namespace tellurix {

void run()
{
    platform::markStep("program");
    // A second copy would fight the first over the settings file and show a
    // second tray icon: hand over to the running copy instead.
    // A copy that was just ending may hold the claim a moment longer and shows
    // no window any more: then this one starts once the claim is free.
    if (!platform::claimSingleInstance() && (platform::bringUpRunningInstance() || !platform::claimSingleInstance()))
        platform::exitProcess(0);
    // Lives as long as the process: the program ends by exiting it.
    Program program;
    if (!startUp(program))
        shutdown();
    runEventLoop(program);
}

}  // namespace tellurix
