// VorlaRecomp on Windows: a windowed program without a window that starts the bundled
// interpreter on the host's launcher script and returns the interpreter's exit code.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "launch_paths.h"

namespace {

constexpr DWORD kPathCapacity = 520;
constexpr size_t kCommandSlack = 1560;

int report_start_failure() {
    MessageBoxW(nullptr,
                L"Could not start the bundled Python (is the 'python' folder missing, or still being "
                L"scanned by your antivirus?).",
                L"Vorla Recomp", MB_ICONERROR);
    return 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
    if (!command_line) command_line = const_cast<PWSTR>(L"");
    wchar_t folder[kPathCapacity];
    DWORD n = GetModuleFileNameW(nullptr, folder, kPathCapacity);
    if (n >= kPathCapacity) n = kPathCapacity - 1;
    folder[n] = L'\0';
    folder[launcher::folder_length(folder, L'\\')] = L'\0';

    const bool console = launcher::wants_console(command_line);
    const size_t capacity = std::wcslen(command_line) + kCommandSlack;
    wchar_t *command = static_cast<wchar_t *>(std::calloc(capacity, sizeof(wchar_t)));
    if (!command) return report_start_failure();
    _snwprintf(command, capacity, L"\"%ls\\python\\%ls\" \"%ls\\app\\launcher\\launcher.py\" %ls", folder,
               console ? L"python.exe" : L"pythonw.exe", folder, command_line);
    command[capacity - 1] = L'\0';  // a longer result is cut

    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    const BOOL started = CreateProcessW(nullptr, command, nullptr, nullptr, FALSE,
                                        console ? 0 : CREATE_NO_WINDOW, nullptr, folder, &startup, &process);
    std::free(command);
    if (!started) return report_start_failure();

    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(process.hProcess, &code)) code = 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
