// The in-memory platform reaching up into the search.
#include "search/catalogue.h"
