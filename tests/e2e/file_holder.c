/* Another program that holds a file: it opens the file named by its first
 * argument without sharing anything (as some editors, sync tools and backup
 * programs do), creates the file named by its third argument to say so, and
 * keeps it open until the file named by its second argument exists; then it
 * lets go and ends. It ends by itself after a minute. */
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == NULL || count < 4)
        return 2;
    HANDLE file = CreateFileW(arguments[1], GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(CreateFileW(arguments[3], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    for (int waited = 0; waited < 60000; waited += 20) {
        if (GetFileAttributesW(arguments[2]) != INVALID_FILE_ATTRIBUTES)
            break;
        Sleep(20);
    }
    CloseHandle(file);
    LocalFree(arguments);
    return 0;
}
