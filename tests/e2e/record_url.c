/* A stand-in for the default browser in the test prefix: it appends the raw
 * command-line argument it was given, byte for byte, as one line to
 * urls.log beside itself, so a test can see exactly which URL the shell
 * handed over. */
#include <windows.h>
#include <string.h>

static const char* firstArgument(const char* line)
{
    /* Skip the program name, quoted or not. */
    if (*line == '"') {
        ++line;
        while (*line && *line != '"')
            ++line;
        if (*line)
            ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    char* slash = strrchr(path, '\\');
    if (!slash || (size_t)(slash - path) + sizeof("\\urls.log") > MAX_PATH)
        return 1;
    strcpy(slash, "\\urls.log");

    const char* argument = firstArgument(GetCommandLineA());
    size_t size = strlen(argument);
    /* The handler is registered as "...record_url.exe" "%1": drop the quotes. */
    if (size >= 2 && argument[0] == '"' && argument[size - 1] == '"') {
        ++argument;
        size -= 2;
    }
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, argument, (DWORD)size, &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
    return 0;
}
