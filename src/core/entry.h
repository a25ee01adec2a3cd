#pragma once

namespace tellurix {

// The program itself, after the process entry has prepared the platform:
// start-up, then the event loop. Never returns.
[[noreturn]] void run();

}  // namespace tellurix
