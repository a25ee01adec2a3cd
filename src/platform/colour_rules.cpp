#include "platform/colour_rules.h"

namespace tellurix::platform {

const ControlColours* colourRuleFor(const std::map<int, ControlColours>& rules, ColourRequest request, int control)
{
    auto it = rules.find(control);
    return it != rules.end() && it->second.request == request ? &it->second : nullptr;
}

}  // namespace tellurix::platform
