/* Stand-in for python\python.exe and python\pythonw.exe in the launcher's tests.
 * It records how it was started in record.bin beside itself (UTF-16 lines: own path,
 * command line, current folder, console) and exits with the number in exit_code.txt
 * beside itself (0 when there is none).
 * It is a console program under both names, so the console line shows whether the
 * launcher asked for CREATE_NO_WINDOW: "hidden" (a console without a window) only then;
 * otherwise "window", or "none" under Wine without a display, which cannot give the new
 * console its window. */
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

static void put_line(HANDLE file, const wchar_t *text) {
    DWORD written = 0;
    WriteFile(file, text, (DWORD)(wcslen(text) * sizeof(wchar_t)), &written, NULL);
    WriteFile(file, L"\n", sizeof(wchar_t), &written, NULL);
}

int wmain(void) {
    wchar_t self[1024];
    DWORD n = GetModuleFileNameW(NULL, self, 1024);
    if (n == 0 || n >= 1024) return 90;
    self[n] = L'\0';

    wchar_t folder[1024];
    wcscpy(folder, self);
    wchar_t *cut = wcsrchr(folder, L'\\');
    if (cut) *cut = L'\0';

    wchar_t current[1024];
    DWORD m = GetCurrentDirectoryW(1024, current);
    if (m == 0 || m >= 1024) current[0] = L'\0';

    wchar_t path[1100];
    _snwprintf(path, 1100, L"%ls\\record.bin", folder);
    path[1099] = L'\0';
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 91;
    put_line(file, self);
    put_line(file, GetCommandLineW());
    put_line(file, current);
    put_line(file, GetConsoleWindow() ? L"window" : GetConsoleCP() ? L"hidden" : L"none");
    CloseHandle(file);

    int code = 0;
    _snwprintf(path, 1100, L"%ls\\exit_code.txt", folder);
    path[1099] = L'\0';
    FILE *in = _wfopen(path, L"r");
    if (in) {
        if (fscanf(in, "%d", &code) != 1) code = 92;
        fclose(in);
    }
    return code;
}
