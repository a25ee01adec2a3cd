/*
 * Looks at a running Windows process from the outside, for the soak and fault
 * tests: its GDI and USER object counts, its working set, its kernel handles
 * and the windows it has on screen.
 *
 *   gui_resources.exe PID|NAME.exe      one line of figures
 *   gui_resources.exe --idle PID|NAME.exe [SECONDS]
 *                                       first waits (bounded) until the
 *                                       process waits for input, then prints
 *                                       the same line
 *
 * A name selects the one process of that executable name (case ignored); with
 * none or several of them the helper fails. The line reads
 *
 *   pid=292 gdi=0 user=0 gdi_table=57 working_set_kb=21836 private_kb=9120
 *   handles=61 threads=3 windows=14 visible="Tellurix 1.0.3|Erster Start"
 *
 * (on one line): gdi and user from GetGuiResources; gdi_table the GDI objects
 * in use in the process's GDI handle table (see gdi_table_count); the two
 * memory figures from GetProcessMemoryInfo; handles and threads from the
 * system's process table (NtQuerySystemInformation, GetProcessHandleCount
 * where that fails); windows the number of top-level and child windows the
 * process owns; visible the titles of its visible top-level windows. A figure
 * the system refuses is printed as -1; some systems answer 0 for what they do
 * not keep track of, which the caller has to judge.
 *
 * Exit code 0 on success, 2 for bad arguments, 3 when the process is not
 * found, 4 when it cannot be opened, 5 when it did not become idle in time.
 */
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The process of that exe name; 0 for none, (DWORD)-1 for more than one. */
static DWORD find_process(const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (_stricmp(entry.szExeFile, name) != 0)
            continue;
        found = found == 0 ? entry.th32ProcessID : (DWORD)-1;
    }
    CloseHandle(snapshot);
    return found;
}

struct window_census {
    DWORD pid;
    long windows;
    char visible[1024];
};

static BOOL CALLBACK count_child(HWND window, LPARAM param)
{
    (void)window;
    ++((struct window_census*)param)->windows;
    return TRUE;
}

static BOOL CALLBACK count_top_level(HWND window, LPARAM param)
{
    struct window_census* census = (struct window_census*)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != census->pid)
        return TRUE;
    ++census->windows;
    EnumChildWindows(window, count_child, param);
    if (IsWindowVisible(window)) {
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        size_t used = strlen(census->visible);
        if (used + strlen(title) + 2 < sizeof census->visible) {
            if (used > 0)
                strcat(census->visible, "|");
            strcat(census->visible, title);
        }
    }
    return TRUE;
}

/* Kernel handles and threads of the process from the system's process table;
   false when the table cannot be read or does not list the process. */
typedef NTSTATUS(NTAPI* query_system_information)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);

static int process_table_entry(DWORD pid, long long* handles, long long* threads)
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll)
        return 0;
    query_system_information query =
        (query_system_information)(void (*)(void))GetProcAddress(ntdll, "NtQuerySystemInformation");
    if (!query)
        return 0;
    ULONG size = 1 << 16;
    for (int attempt = 0; attempt < 8; ++attempt, size *= 2) {
        BYTE* table = (BYTE*)malloc(size);
        if (!table)
            return 0;
        ULONG needed = 0;
        NTSTATUS status = query(SystemProcessInformation, table, size, &needed);
        if (status == (NTSTATUS)0xC0000004L /* STATUS_INFO_LENGTH_MISMATCH */) {
            free(table);
            continue;
        }
        int found = 0;
        if (status >= 0) {
            for (ULONG offset = 0;;) {
                const SYSTEM_PROCESS_INFORMATION* entry = (const SYSTEM_PROCESS_INFORMATION*)(table + offset);
                if ((DWORD)(ULONG_PTR)entry->UniqueProcessId == pid) {
                    *handles = entry->HandleCount;
                    *threads = entry->NumberOfThreads;
                    found = 1;
                    break;
                }
                if (entry->NextEntryOffset == 0)
                    break;
                offset += entry->NextEntryOffset;
            }
        }
        free(table);
        return found;
    }
    return 0;
}

/* GDI objects of the process counted in its GDI handle table, the table
   that the process environment block points to (GdiSharedHandleTable): an
   entry is in use when its type byte is not 0. Used where GetGuiResources
   gives no count: Wine keeps a table of its own per process there and fills
   it like Windows does. -1 when the table cannot be read. */
struct gdi_table_entry {
    ULONGLONG object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    ULONGLONG user_pointer;
};
#define GDI_TABLE_ENTRIES 0x10000
#define PEB_GDI_TABLE_OFFSET 0xF8 /* x64 */

typedef NTSTATUS(NTAPI* query_information_process)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

static long long gdi_table_count(HANDLE process)
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll)
        return -1;
    query_information_process query =
        (query_information_process)(void (*)(void))GetProcAddress(ntdll, "NtQueryInformationProcess");
    if (!query)
        return -1;
    PROCESS_BASIC_INFORMATION basic;
    ULONG got = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, &got) < 0 || !basic.PebBaseAddress)
        return -1;
    ULONGLONG table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, (const BYTE*)basic.PebBaseAddress + PEB_GDI_TABLE_OFFSET, &table, sizeof table,
                           &read) ||
        read != sizeof table || table == 0)
        return -1;

    enum { chunk = 4096 };
    static struct gdi_table_entry entries[chunk];
    long long in_use = 0;
    for (ULONGLONG first = 0; first < GDI_TABLE_ENTRIES; first += chunk) {
        const BYTE* from = (const BYTE*)(ULONG_PTR)table + first * sizeof entries[0];
        if (!ReadProcessMemory(process, from, entries, sizeof entries, &read) || read != sizeof entries)
            return first == 0 ? -1 : in_use; /* the rest of the table was never committed */
        for (int i = 0; i < chunk; ++i)
            if (entries[i].type != 0)
                ++in_use;
    }
    return in_use;
}

static long long kilobytes(SIZE_T bytes)
{
    return (long long)(bytes / 1024);
}

int main(int argc, char** argv)
{
    int arg = 1;
    int wait_idle = 0;
    if (arg < argc && strcmp(argv[arg], "--idle") == 0) {
        wait_idle = 1;
        ++arg;
    }
    if (arg >= argc) {
        fprintf(stderr, "usage: gui_resources [--idle] PID|NAME.exe [SECONDS]\n");
        return 2;
    }
    const char* target = argv[arg++];
    DWORD idle_ms = 20000;
    if (arg < argc)
        idle_ms = (DWORD)(atof(argv[arg]) * 1000.0);

    char* end = NULL;
    DWORD pid = (DWORD)strtoul(target, &end, 0);
    if (end == target || *end != '\0')
        pid = find_process(target);
    if (pid == 0) {
        fprintf(stderr, "no process %s\n", target);
        return 3;
    }
    if (pid == (DWORD)-1) {
        fprintf(stderr, "more than one process %s\n", target);
        return 3;
    }

    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
    if (!process)
        process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
    if (!process) {
        fprintf(stderr, "cannot open process %lu (error %lu)\n", (unsigned long)pid, GetLastError());
        return 4;
    }

    if (wait_idle) {
        DWORD result = WaitForInputIdle(process, idle_ms);
        if (result != 0) {
            fprintf(stderr, "process %lu did not become idle (%lu, error %lu)\n", (unsigned long)pid,
                    (unsigned long)result, GetLastError());
            CloseHandle(process);
            return 5;
        }
    }

    /* GetGuiResources answers 0 both for "none" and for "cannot tell"; only
       the error code tells them apart. */
    SetLastError(0);
    DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    long long gdi_shown = (gdi == 0 && GetLastError() != 0) ? -1 : (long long)gdi;
    SetLastError(0);
    DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    long long user_shown = (user == 0 && GetLastError() != 0) ? -1 : (long long)user;
    long long gdi_table = gdi_table_count(process);

    PROCESS_MEMORY_COUNTERS_EX memory;
    memset(&memory, 0, sizeof memory);
    long long working_set = -1, private_bytes = -1;
    if (GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS*)&memory, sizeof memory)) {
        working_set = kilobytes(memory.WorkingSetSize);
        private_bytes = kilobytes(memory.PrivateUsage);
    }

    long long handles = -1, threads = -1;
    if (!process_table_entry(pid, &handles, &threads)) {
        DWORD handle_count = 0;
        if (GetProcessHandleCount(process, &handle_count))
            handles = (long long)handle_count;
    }

    struct window_census census;
    memset(&census, 0, sizeof census);
    census.pid = pid;
    EnumWindows(count_top_level, (LPARAM)&census);

    printf(
        "pid=%lu gdi=%lld user=%lld gdi_table=%lld working_set_kb=%lld private_kb=%lld handles=%lld threads=%lld "
        "windows=%ld "
        "visible=\"%s\"\n",
        (unsigned long)pid, gdi_shown, user_shown, gdi_table, working_set, private_bytes, handles, threads,
        census.windows, census.visible);
    fflush(stdout);
    CloseHandle(process);
    return 0;
}
