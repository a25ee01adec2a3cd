#pragma once

#include <string>
#include <string_view>

// Test controls of the native file layer: environment overrides and failures
// injected into replaceFile, so that tests can drive the paths that real disks
// rarely take.
namespace tellurix::platform::fake {

// environmentVariable(name) returns `value` from now on, before looking at the
// process environment. An empty value reads as "not set".
void setEnvironmentVariable(std::string_view name, std::string_view value);
// Drops every override set above.
void resetEnvironment();

// The next `count` calls of replaceFile fail while writing the temporary file.
void failNextWrites(int count);
// The next `count` calls of replaceFile fail at the final step, after the
// temporary file has been written and flushed.
void failNextReplaces(int count);
// Clears pending failures.
void resetFaults();

}  // namespace tellurix::platform::fake
