#pragma once

// Deliberately wrong: the search layer reaching up into the app layer. The
// layer check must refuse this file.
#include "app/program.h"
#include "core/numbers.h"
