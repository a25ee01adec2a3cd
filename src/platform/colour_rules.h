#pragma once

#include <map>

#include "platform/designs.h"

namespace tellurix::platform {

// The rule that answers a control's colour request, or null when the request
// gets the toolkit's default answer (no rule, or a rule for the other request).
// Every implementation of the toolkit answers by it alike.
const ControlColours* colourRuleFor(const std::map<int, ControlColours>& rules, ColourRequest request, int control);

}  // namespace tellurix::platform
