// VorlaRecomp.exe started the way Windows starts it, in throw-away bundles whose python
// folder holds a recording stand-in (stub_python.exe) under both interpreter names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wide_text.h"

namespace {

constexpr DWORD kRunLimitMs = 60000;

std::wstring folder_of(const std::wstring &path) { return path.substr(0, path.find_last_of(L'\\')); }

std::wstring own_folder() {
    wchar_t path[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return folder_of(std::wstring(path, n));
}

std::wstring full_path(const std::wstring &path) {
    wchar_t out[MAX_PATH * 2];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, out, nullptr);
    return std::wstring(out, n);
}

std::wstring launcher_exe() { return full_path(own_folder() + L"\\" + wt::widen_ascii(VORLA_LAUNCHER_FROM_TEST)); }
std::wstring stub_exe() { return own_folder() + L"\\stub_python.exe"; }

bool write_bytes(const std::wstring &path, const std::string &bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::wstring read_utf16(const std::wstring &path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::wstring out(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD got = 0;
    if (!out.empty()) ReadFile(file, &out[0], static_cast<DWORD>(out.size() * sizeof(wchar_t)), &got, nullptr);
    CloseHandle(file);
    out.resize(got / sizeof(wchar_t));
    return out;
}

bool exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void remove_tree(const std::wstring &path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

bool running_under_wine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// A bundle laid out as the user unpacks it, in a fresh folder named `name` under the
// temporary folder: VorlaRecomp.exe, app\launcher\launcher.py and (unless left out)
// python\python.exe and python\pythonw.exe, which exit with `exit_code`.
class Bundle {
public:
    Bundle(const std::wstring &name, bool with_python, int exit_code = 0) {
        wchar_t temp[MAX_PATH + 1];
        const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
        wchar_t longer[MAX_PATH * 2];
        const DWORD m = GetLongPathNameW(std::wstring(temp, n).c_str(), longer, MAX_PATH * 2);
        parent_ = (m ? std::wstring(longer, m) : std::wstring(temp, n)) + L"vorla-launcher-" +
                  std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count_);
        dir_ = parent_ + L"\\" + name;
        ok_ = CreateDirectoryW(parent_.c_str(), nullptr) && CreateDirectoryW(dir_.c_str(), nullptr) &&
              CreateDirectoryW((dir_ + L"\\app").c_str(), nullptr) &&
              CreateDirectoryW((dir_ + L"\\app\\launcher").c_str(), nullptr) &&
              write_bytes(dir_ + L"\\app\\launcher\\launcher.py", "# stand-in\n") &&
              CopyFileW(launcher_exe().c_str(), exe().c_str(), FALSE);
        if (ok_ && with_python) {
            ok_ = CreateDirectoryW((dir_ + L"\\python").c_str(), nullptr) &&
                  CopyFileW(stub_exe().c_str(), (dir_ + L"\\python\\python.exe").c_str(), FALSE) &&
                  CopyFileW(stub_exe().c_str(), (dir_ + L"\\python\\pythonw.exe").c_str(), FALSE) &&
                  write_bytes(dir_ + L"\\python\\exit_code.txt", std::to_string(exit_code));
        }
    }
    ~Bundle() { remove_tree(parent_); }
    Bundle(const Bundle &) = delete;
    Bundle &operator=(const Bundle &) = delete;

    bool ok() const { return ok_; }
    const std::wstring &dir() const { return dir_; }
    const std::wstring &parent() const { return parent_; }
    std::wstring exe() const { return dir_ + L"\\VorlaRecomp.exe"; }
    std::wstring record_path() const { return dir_ + L"\\python\\record.bin"; }

    // What the stand-in wrote: own path, command line, current folder, console.
    std::vector<std::wstring> record() const {
        std::vector<std::wstring> lines;
        const std::wstring text = read_utf16(record_path());
        size_t start = 0;
        for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

private:
    static inline int count_ = 0;
    std::wstring parent_, dir_;
    bool ok_ = false;
};

struct Outcome {
    bool started = false;
    bool finished = false;
    DWORD code = 0;
};

// Starts the launcher with `command_line` (which begins with its own name, as Windows
// passes it) from another current folder, and waits for it.
Outcome run_launcher(const Bundle &bundle, const std::wstring &command_line) {
    std::wstring command = command_line;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    Outcome outcome;
    outcome.started = CreateProcessW(bundle.exe().c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                     bundle.parent().c_str(), &startup, &process) != 0;
    if (!outcome.started) return outcome;
    outcome.finished = WaitForSingleObject(process.hProcess, kRunLimitMs) == WAIT_OBJECT_0;
    if (!outcome.finished) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &outcome.code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome;
}

std::wstring quoted(const std::wstring &path) { return L"\"" + path + L"\""; }


struct LaunchCase {
    const char *what;
    std::wstring folder;      // bundle folder name
    bool quote_name;          // the launcher's own name quoted on its command line
    std::wstring arguments;   // after the name and one blank
    std::wstring passed_on;   // what the launcher must pass to the script
    bool console;             // python.exe with a console window, else pythonw.exe without
};

TEST(LauncherWindows, StartsTheInterpreterOnTheScriptWithTheCommandLine) {
    const std::vector<LaunchCase> cases = {
        {"no arguments", L"plain", true, L"", L"", false},
        {"arguments passed on unchanged", L"plain", true, L"--fullscreen \"C:\\My Roms\\a b.gba\"",
         L"--fullscreen \"C:\\My Roms\\a b.gba\"", false},
        {"unquoted name, blanks after it dropped", L"plain", false, L"   --rom x.gba", L"--rom x.gba", false},
        {"folder with blanks and non-ASCII letters", L"Vorla Recomp \u00e9t\u00e9 \u8a66\u9a13", true,
         L"--fullscreen", L"--fullscreen", false},
        {"--console chooses python.exe", L"Vorla Recomp \u00e9t\u00e9", true, L"--console --fullscreen",
         L"--console --fullscreen", true},
        {"--console anywhere in the line", L"plain", true, L"--rom x--console.gba", L"--rom x--console.gba", true},
        {"--Console is not --console", L"plain", true, L"--Console --fullscreen", L"--Console --fullscreen", false},
    };
    for (const LaunchCase &c : cases) {
        SCOPED_TRACE(c.what);
        Bundle bundle(c.folder, true);
        ASSERT_TRUE(bundle.ok()) << "could not lay out the bundle in " << wt::to_utf8(bundle.dir());
        const std::wstring name = c.quote_name ? quoted(bundle.exe()) : bundle.exe();
        const Outcome outcome = run_launcher(bundle, name + L" " + c.arguments);
        ASSERT_TRUE(outcome.started);
        ASSERT_TRUE(outcome.finished) << "the launcher did not end";
        EXPECT_EQ(outcome.code, 0u);

        const std::vector<std::wstring> record = bundle.record();
        ASSERT_EQ(record.size(), 4u) << "the interpreter did not run";
        const std::wstring interpreter = c.console ? L"python.exe" : L"pythonw.exe";
        EXPECT_EQ(wt::to_utf8(record[0]), wt::to_utf8(bundle.dir() + L"\\python\\" + interpreter));
        const std::wstring expected = quoted(bundle.dir() + L"\\python\\" + interpreter) + L" " +
                                      quoted(bundle.dir() + L"\\app\\launcher\\launcher.py") + L" " + c.passed_on;
        EXPECT_EQ(wt::to_utf8(record[1]), wt::to_utf8(expected));
        EXPECT_EQ(wt::to_utf8(record[2]), wt::to_utf8(bundle.dir())) << "the current folder is the launcher's folder";
        // CREATE_NO_WINDOW only without --console (see stub_python.c for what the line says).
        if (!c.console) {
            EXPECT_EQ(wt::to_utf8(record[3]), "hidden");
        } else if (running_under_wine()) {
            EXPECT_NE(wt::to_utf8(record[3]), "hidden");
        } else {
            EXPECT_EQ(wt::to_utf8(record[3]), "window");
        }
    }
}

TEST(LauncherWindows, ReturnsTheInterpreterExitCode) {
    for (const int code : {0, 5, 42}) {
        SCOPED_TRACE(code);
        Bundle bundle(L"exit", true, code);
        ASSERT_TRUE(bundle.ok());
        const Outcome outcome = run_launcher(bundle, quoted(bundle.exe()));
        ASSERT_TRUE(outcome.finished);
        // Wine also ends a crashed program with 5: the record shows the interpreter ran.
        EXPECT_EQ(bundle.record().size(), 4u);
        EXPECT_EQ(outcome.code, static_cast<DWORD>(code));
    }
}

TEST(LauncherWindows, MissingInterpreterEndsWithOne) {
    if (!running_under_wine()) GTEST_SKIP() << "on Windows the error message box waits for the user";
    // Headless Wine has no display, so the message box returns at once.
    Bundle bundle(L"no python here", false);
    ASSERT_TRUE(bundle.ok());
    const Outcome outcome = run_launcher(bundle, quoted(bundle.exe()) + L" --console");
    ASSERT_TRUE(outcome.finished) << "the launcher did not end (a message box waiting on a display?)";
    EXPECT_EQ(outcome.code, 1u);
    EXPECT_FALSE(exists(bundle.record_path()));
    EXPECT_FALSE(exists(bundle.dir() + L"\\python"));
}

} // namespace
