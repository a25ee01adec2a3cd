#pragma once

#include "gadgets/thing.h"
