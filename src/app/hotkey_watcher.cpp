#include "app/hotkey_watcher.h"

#include "platform/threads.h"
#include "platform/trace.h"

namespace tellurix {
namespace {

constexpr int kPollMilliseconds = 100;

}  // namespace

bool hotkeyHeld()
{
    // All three are read on every poll; only the left-hand modifiers count.
    const bool control = platform::isKeyDown(platform::kVkLeftControl);
    const bool shift = platform::isKeyDown(platform::kVkLeftShift);
    const bool s = platform::isKeyDown(platform::kVkS);
    return control && shift && s;
}

void hotkeyWatcher(int /*unused*/)
{
    // Level-triggered on purpose: while the keys stay down the request repeats,
    // which keeps the bar in front and never toggles it.
    for (;;) {
        if (hotkeyHeld()) {
            platform::markStep("keys seen");
            platform::requestBringUp();
        }
        platform::sleepMilliseconds(kPollMilliseconds);
    }
}

bool startHotkeyWatcher()
{
    return platform::startThread(hotkeyWatcher, 0);
}

}  // namespace tellurix
