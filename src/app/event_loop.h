#pragma once

#include "app/program.h"
#include "platform/events.h"

namespace tellurix {

// Runs the action that belongs to one event (the dispatch table).
void dispatchEvent(Program& program, const platform::Event& event);
// One turn: wait for the next event, let the site picker close itself when the
// main window came to the foreground, dispatch.
void runEventLoopTurn(Program& program);
[[noreturn]] void runEventLoop(Program& program);

}  // namespace tellurix
