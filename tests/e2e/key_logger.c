/* Another program in front: a normal window that takes the keyboard focus
 * when activated and writes every key message it receives to the file named
 * on its command line, one line each: "down 53", "up A2" (virtual key, hex). */
#include <windows.h>
#include <stdio.h>

static FILE* logFile;

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE)
            SetFocus(window);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        fprintf(logFile, "%s %02X\n", (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) ? "down" : "up",
                (unsigned)wparam);
        fflush(logFile);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)show;
    logFile = fopen(commandLine, "a");
    if (!logFile)
        return 1;
    WNDCLASSA windowClass = {0};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    windowClass.lpszClassName = "TellurixKeyLogger";
    if (!RegisterClassA(&windowClass))
        return 1;
    HWND window =
        CreateWindowExA(0, "TellurixKeyLogger", "Tellurix key logger", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 500,
                        300, 120, NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
