#pragma once

#include <string_view>

// Marks of the program's steps, for measuring it from outside. When the
// environment variable TELLURIX_TRACE names a file at the first mark, every
// mark appends a line "<microseconds since 1970> <working set in KB> <step>"
// to it; otherwise a mark costs the test of one flag. The first mark is made
// on the GUI thread before any other thread starts.
namespace tellurix::platform {

void markStep(std::string_view step);

}  // namespace tellurix::platform
