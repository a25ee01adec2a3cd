#pragma once

#include <string>
#include <string_view>

// Test controls of the native file layer: environment overrides and failures
// injected into reads and replaceFile, so that tests can drive the paths that real disks
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
// How a read of a file that exists can fail on a user's machine. The platform
// tells all of them apart from a missing file in the same way (Unreadable).
enum class ReadFault {
    None,
    Locked,    // another program holds the file without sharing it
    IoError,   // the disk answers with an error
    TooLarge,  // more bytes than the program reads whole
};
// Every read of a file named `fileName` (in any folder) meets `fault` from
// now on, until it is set to None or the faults are reset.
void failReads(std::string_view fileName, ReadFault fault);
// Clears pending failures and read faults.
void resetFaults();

}  // namespace tellurix::platform::fake
