#include <windows.h>

#include <psapi.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/trace.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_function.h"

namespace tellurix::platform {
namespace {

// Opened at the first mark, by whichever thread makes it.
INIT_ONCE g_traceOnce = INIT_ONCE_STATIC_INIT;
bool g_traceOn = false;
UniqueFile g_file;

using PreciseTime = void(WINAPI*)(FILETIME*);
using MemoryInfo = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
PreciseTime g_preciseTime = nullptr;
MemoryInfo g_memoryInfo = nullptr;

BOOL CALLBACK openTrace(PINIT_ONCE, PVOID, PVOID*)
{
    std::array<wchar_t, MAX_PATH> path{};
    const DWORD length = ::GetEnvironmentVariableW(L"TELLURIX_TRACE", path.data(), path.size());
    if (length == 0 || length >= path.size())
        return TRUE;
    // Appended to by both threads: each write lands whole at the end.
    g_file = UniqueFile(::CreateFileW(path.data(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!g_file)
        return TRUE;
    g_preciseTime = win32::systemFunction<PreciseTime>(L"kernel32.dll", "GetSystemTimePreciseAsFileTime");
    g_memoryInfo = win32::systemFunction<MemoryInfo>(L"kernel32.dll", "K32GetProcessMemoryInfo");
    g_traceOn = true;
    return TRUE;
}

std::uint64_t unixMicroseconds()
{
    FILETIME time{};
    if (g_preciseTime)
        g_preciseTime(&time);
    else
        ::GetSystemTimeAsFileTime(&time);
    const std::uint64_t ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    return (ticks - 116444736000000000ULL) / 10;
}

std::uint64_t workingSetKb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!g_memoryInfo || !g_memoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return counters.WorkingSetSize / 1024;
}

void appendNumber(std::string& line, std::uint64_t value)
{
    std::array<char, 24> digits{};
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        line.push_back(digits[--count]);
}

}  // namespace

void markStep(std::string_view step)
{
    ::InitOnceExecuteOnce(&g_traceOnce, openTrace, nullptr, nullptr);
    if (!g_traceOn)
        return;
    const std::uint64_t at = unixMicroseconds();
    std::string line;
    appendNumber(line, at);
    line.push_back(' ');
    appendNumber(line, workingSetKb());
    line.push_back(' ');
    line.append(step);
    line.push_back('\n');
    DWORD written = 0;
    ::WriteFile(g_file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace tellurix::platform
