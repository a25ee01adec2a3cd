#pragma once

#include <string_view>

// Marks of the program's steps, for measuring it from outside. When the
// environment variable TELLURIX_TRACE names a file at the first mark, every
// mark appends a line "<microseconds since 1970> <working set in KB> <step>"
// to it; otherwise a mark costs the test of one flag. Any thread may mark:
// the first mark, whichever thread makes it, looks for the file.
namespace tellurix::platform {

void markStep(std::string_view step);

}  // namespace tellurix::platform
