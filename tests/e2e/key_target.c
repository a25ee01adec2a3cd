/* A small window in a corner of the test display. Wine sees keys only while
 * X gives one of its windows the focus, and the program under test is hidden
 * most of the time: the tests focus this window before pressing the hotkey. */
#include <windows.h>

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    WNDCLASSA windowClass = {0};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
    windowClass.lpszClassName = "TellurixKeyTarget";
    if (!RegisterClassA(&windowClass))
        return 1;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "TellurixKeyTarget", "Tellurix key target", WS_POPUP | WS_VISIBLE,
                                  width - 40, height - 40, 40, 40, NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
