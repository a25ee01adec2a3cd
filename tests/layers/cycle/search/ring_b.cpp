#include "search/ring_b.h"

#include "search/ring_a.h"
