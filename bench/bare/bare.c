/* The yardstick for the benchmarks: the least a Windows tray program does.
 * It links the same libraries as Tellurix (user32, gdi32, shell32, ole32,
 * comctl32, libpng, zlib), creates a hidden window and waits in a message
 * loop. Nothing else, unless a mode on the command line asks for one thing:
 *
 *   bare.exe                  hidden window and message loop
 *   bare.exe box              the same, after a message box shown at once
 *   bare.exe url URL FILE     hands URL to the shell at once, as a search
 *                             does; FILE receives the time of the call in
 *                             microseconds since 1970 (to compare with the
 *                             time the URL reaches the browser)
 *   bare.exe return URL       a small visible window instead, which hands
 *                             URL to the shell each time Return is pressed
 *                             in it, as the bar does
 *   bare.exe returnhide URL   the same, and then hides its window, as the
 *                             bar does (it comes back 300 ms later)
 *   bare.exe tray             the hidden window, then an icon in the
 *                             notification area
 *   bare.exe traybox          the icon, then the message box
 *   bare.exe watcher          the hidden window and a second thread that
 *                             reads three keys every 100 ms, as the
 *                             program's hotkey watcher does
 * With TELLURIX_TRACE naming a file, the program marks its steps there as
 * Tellurix does ("<microseconds since 1970> <working set in KB> <step>"). */
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <png.h>
#include <psapi.h>
#include <shellapi.h>
#include <stdio.h>
#include <string.h>
#include <zlib.h>

/* One function of each library Tellurix uses, so that the loader maps the
 * same DLLs and the linker keeps libpng's and zlib's start-up data. */
static const void* const volatile keepLinked[] = {
    (const void*)InitCommonControlsEx,      (const void*)CoInitialize,
    (const void*)ShellExecuteExA,           (const void*)GetStockObject,
    (const void*)png_access_version_number, (const void*)zlibVersion,
};

static const char* urlOnReturn;
static int hideOnReturn;

static void launchUrl(const char* url, const char* timeFile);
static void mark(const char* step);

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_KEYDOWN && wparam == VK_RETURN && urlOnReturn) {
        mark("return");
        launchUrl(urlOnReturn, NULL);
        mark("search handed over");
        if (hideOnReturn) {
            ShowWindow(window, SW_HIDE);
            SetTimer(window, 1, 300, NULL);
        }
        return 0;
    }
    if (message == WM_TIMER) {
        KillTimer(window, 1);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

/* Wall-clock time in microseconds since 1970, as the host's clock reads it. */
static unsigned long long unixMicroseconds(void)
{
    typedef void(WINAPI * PreciseTime)(FILETIME*);
    PreciseTime precise =
        (PreciseTime)(void (*)(void))GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime");
    FILETIME time;
    if (precise)
        precise(&time);
    else
        GetSystemTimeAsFileTime(&time);
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return (ticks.QuadPart - 116444736000000000ULL) / 10;
}

static volatile LONG keysSeen;
static volatile LONG stopPolling;

static DWORD WINAPI pollKeys(LPVOID unused)
{
    (void)unused;
    while (!stopPolling) {
        if ((GetAsyncKeyState(0xA2) & 0x8000) && (GetAsyncKeyState(0xA0) & 0x8000) && (GetAsyncKeyState('S') & 0x8000))
            InterlockedIncrement(&keysSeen);
        Sleep(100);
    }
    return 0;
}

/* One line of the trace, when TELLURIX_TRACE names a file. */
static void mark(const char* step)
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TELLURIX_TRACE", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    typedef BOOL(WINAPI * MemoryInfo)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
    MemoryInfo memoryInfo =
        (MemoryInfo)(void (*)(void))GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo");
    PROCESS_MEMORY_COUNTERS counters;
    memset(&counters, 0, sizeof counters);
    counters.cb = sizeof counters;
    if (memoryInfo)
        memoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    FILE* file = fopen(path, "ab");
    if (!file)
        return;
    fprintf(file, "%llu %llu %s\n", unixMicroseconds(), (unsigned long long)(counters.WorkingSetSize / 1024), step);
    fclose(file);
}

static void launchUrl(const char* url, const char* timeFile)
{
    SHELLEXECUTEINFOA info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = url;
    info.lpParameters = "";
    info.nShow = SW_SHOWNORMAL;
    unsigned long long calledAt = unixMicroseconds();
    if (ShellExecuteExA(&info) && info.hProcess)
        CloseHandle(info.hProcess);
    if (!timeFile)
        return;
    FILE* file = fopen(timeFile, "w");
    if (file) {
        fprintf(file, "%llu\n", calledAt);
        fclose(file);
    }
}

static void addTrayIcon(HWND window)
{
    NOTIFYICONDATAA icon;
    memset(&icon, 0, sizeof icon);
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    strcpy(icon.szTip, "Tellurix bare");
    Shell_NotifyIconA(NIM_ADD, &icon);
    mark("tray icon");
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    mark("program");
    for (size_t i = 0; i < sizeof keepLinked / sizeof keepLinked[0]; ++i)
        if (!keepLinked[i])
            return 1;

    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TellurixBare";
    if (!RegisterClassA(&windowClass))
        return 1;
    HWND window;
    if (__argc >= 3 && (strcmp(__argv[1], "return") == 0 || strcmp(__argv[1], "returnhide") == 0)) {
        urlOnReturn = __argv[2];
        hideOnReturn = strcmp(__argv[1], "returnhide") == 0;
        window = CreateWindowExA(WS_EX_TOOLWINDOW, "TellurixBare",
                                 hideOnReturn ? "Tellurix bare Return hide" : "Tellurix bare Return",
                                 WS_POPUP | WS_VISIBLE, GetSystemMetrics(SM_CXSCREEN) - (hideOnReturn ? 90 : 40), 0, 40,
                                 40, NULL, NULL, instance, NULL);
    } else {
        window = CreateWindowExA(0, "TellurixBare", "Tellurix bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 530, 40, NULL, NULL, instance, NULL);
    }
    if (!window)
        return 1;
    mark("main window");

    if (__argc >= 2 && strcmp(__argv[1], "traybox") == 0)
        addTrayIcon(window);
    if (__argc >= 2 && (strcmp(__argv[1], "box") == 0 || strcmp(__argv[1], "traybox") == 0)) {
        mark("notice due");
        MessageBoxA(NULL, "Der Vergleich zeigt dieses Fenster sofort an.", "Bare Start", MB_OK | MB_ICONINFORMATION);
    } else if (__argc >= 4 && strcmp(__argv[1], "url") == 0) {
        launchUrl(__argv[2], __argv[3]);
    } else if (__argc >= 2 && strcmp(__argv[1], "watcher") == 0) {
        HANDLE thread = CreateThread(NULL, 0, pollKeys, NULL, 0, NULL);
        if (thread)
            CloseHandle(thread);
    } else if (__argc >= 2 && strcmp(__argv[1], "tray") == 0) {
        addTrayIcon(window);
    }

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
