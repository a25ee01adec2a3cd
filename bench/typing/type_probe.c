/* Types into the bar's search field as a keyboard would and times each key
 * until the field's text has changed: the key goes into the system's input
 * (SendInput), the field is read from outside (WM_GETTEXTLENGTH).
 *
 *   type_probe.exe TITLE ROUNDS OUTPUT
 *
 * TITLE is the bar's title; the bar must be in front with the keyboard in its
 * field. Each round presses "w" and then Backspace, so the field is empty
 * again after it; OUTPUT gets one line a key: the microseconds it took. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static void pressKey(WORD vk)
{
    INPUT inputs[2] = {0};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = vk;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

static LRESULT textLength(HWND field)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(field, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return -1;
    return (LRESULT)length;
}

/* Microseconds from the key to the field's new length, or -1 after 2 s. */
static long long timeKey(HWND field, WORD vk, LRESULT before, LARGE_INTEGER frequency)
{
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    pressKey(vk);
    for (;;) {
        QueryPerformanceCounter(&now);
        const long long us = (now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
        if (textLength(field) != before)
            return us;
        if (us > 2000000)
            return -1;
        Sleep(0);
    }
}

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    wchar_t title[256];
    MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, title, 256);
    HWND bar = FindWindowW(NULL, title);
    HWND field = bar ? FindWindowExW(bar, NULL, L"Edit", NULL) : NULL;
    FILE* out = fopen(argv[3], "w");
    if (!field || !out)
        return 1;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const int rounds = atoi(argv[2]);
    for (int i = 0; i < rounds; ++i) {
        const LRESULT empty = textLength(field);
        fprintf(out, "%lld\n", timeKey(field, 'W', empty, frequency));
        Sleep(60);
        fprintf(out, "%lld\n", timeKey(field, VK_BACK, textLength(field), frequency));
        Sleep(60);
    }
    fclose(out);
    return 0;
}
