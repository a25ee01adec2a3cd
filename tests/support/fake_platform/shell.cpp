#include "fake_platform/fake_state.h"
#include "platform/shell.h"
#include "formats/web_address.h"

namespace tellurix::platform {

using namespace fake::internal;

// --- Shell ------------------------------------------------------------------

bool launchUrl(std::string_view url)
{
    if (!isWebUrl(url))
        return false;
    if (kit().refusedLaunches > 0) {
        --kit().refusedLaunches;
        return false;
    }
    kit().urls.emplace_back(url);
    return true;
}

namespace fake {

void refuseNextLaunches(int count)
{
    kit().refusedLaunches = count;
}

std::vector<std::string> launchedUrls()
{
    return kit().urls;
}

}  // namespace fake
}  // namespace tellurix::platform
