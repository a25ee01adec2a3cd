#pragma once

#include "platform/events.h"

namespace tellurix {

// Runs the action that belongs to one event (the dispatch table).
void dispatchEvent(const platform::Event& event);
// One turn: wait for the next event, let the site picker close itself when the
// main window came to the foreground, dispatch.
void runEventLoopTurn();
[[noreturn]] void runEventLoop();

}  // namespace tellurix
