#pragma once

// Reaches the program from below, in angle brackets.
#include <app/program.h>
