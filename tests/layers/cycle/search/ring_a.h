#pragma once

#include "search/ring_b.h"
