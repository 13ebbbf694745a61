// vorla_ui.dll as the host application loads it: by full path from a folder of its own
// (blanks and non-ASCII letters in the name) with only SDL2.dll beside it, every export
// found by name, and a run that reads and rewrites vorla.ini at a UTF-8 path there.
#include <windows.h>

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "vorla_ui.h"
#include "wide_text.h"

namespace {

std::wstring own_folder() {
    wchar_t path[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    const std::wstring full(path, n);
    return full.substr(0, full.find_last_of(L'\\'));
}

std::wstring bundle_file(const wchar_t *name) {
    wchar_t out[MAX_PATH * 2];
    const std::wstring relative = own_folder() + L"\\" + wt::widen_ascii(VORLA_BUNDLE_FROM_TEST) + L"\\" + name;
    const DWORD n = GetFullPathNameW(relative.c_str(), MAX_PATH * 2, out, nullptr);
    return std::wstring(out, n);
}

std::string read_all(const std::wstring &path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string out(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    if (!out.empty()) ReadFile(file, &out[0], static_cast<DWORD>(out.size()), &got, nullptr);
    CloseHandle(file);
    out.resize(got);
    return out;
}

bool write_all(const std::wstring &path, const std::string &bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

using PushEvent = int(SDLCALL *)(SDL_Event *);
PushEvent push_event = nullptr;
int status_calls = 0;

void status_callback(vl_status *status) {
    status->state = 3;
    if (++status_calls == 3) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        push_event(&quit);
    }
}

TEST(DllLoad, LoadsBesideItsSdlAndRunsFromAUtf8Folder) {
    wchar_t temp[MAX_PATH + 1];
    const DWORD t = GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring parent = std::wstring(temp, t) + L"vorla-dll-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring folder = parent + L"\\Host \u00e9t\u00e9 \u8a66\u9a13";
    ASSERT_TRUE(CreateDirectoryW(parent.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(bundle_file(L"vorla_ui.dll").c_str(), (folder + L"\\vorla_ui.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(bundle_file(L"SDL2.dll").c_str(), (folder + L"\\SDL2.dll").c_str(), FALSE));
    const std::wstring ini = folder + L"\\vorla.ini";
    ASSERT_TRUE(write_all(ini, "not a settings file\n"));

    HMODULE lib = LoadLibraryExW((folder + L"\\vorla_ui.dll").c_str(), nullptr,
                                 LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    ASSERT_NE(lib, nullptr) << "LoadLibraryExW failed with error " << GetLastError();

    // SDL2.dll came from the DLL's own folder, not from anywhere else.
    HMODULE sdl = GetModuleHandleW(L"SDL2.dll");
    ASSERT_NE(sdl, nullptr);
    wchar_t sdl_path[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(sdl, sdl_path, MAX_PATH * 2);
    EXPECT_EQ(wt::to_utf8(std::wstring(sdl_path, n)), wt::to_utf8(folder + L"\\SDL2.dll"));
    push_event = reinterpret_cast<PushEvent>(reinterpret_cast<void *>(GetProcAddress(sdl, "SDL_PushEvent")));
    ASSERT_NE(push_event, nullptr);

    auto find = [lib](const char *name) { return reinterpret_cast<void *>(GetProcAddress(lib, name)); };
    auto run = reinterpret_cast<int32_t (*)(const char *, vl_status_cb)>(find("vl_run"));
    auto set_poll_interval = reinterpret_cast<void (*)(int32_t)>(find("vl_set_poll_interval"));
    auto dropped_path = reinterpret_cast<const char *(*)()>(find("vl_dropped_path"));
    auto last_error = reinterpret_cast<const char *(*)()>(find("vl_last_error"));
    ASSERT_NE(run, nullptr);
    ASSERT_NE(set_poll_interval, nullptr);
    ASSERT_NE(dropped_path, nullptr);
    ASSERT_NE(last_error, nullptr);

    set_poll_interval(1);
    const std::string ini_utf8 = wt::to_utf8(ini);
    EXPECT_EQ(run(ini_utf8.c_str(), status_callback), 0);
    EXPECT_GE(status_calls, 3);
    EXPECT_EQ(dropped_path(), nullptr);
    EXPECT_STREQ(last_error(), "") << "the settings file was written";

    // The unreadable file was replaced whole by the written settings (CR LF lines), and
    // the temporary used for the replacement is gone.
    const std::string written = read_all(ini);
    EXPECT_EQ(written.find("not a settings file"), std::string::npos);
    EXPECT_NE(written.find("\r\n"), std::string::npos);
    size_t bare_line_feeds = 0;
    for (size_t i = 0; i < written.size(); ++i) bare_line_feeds += written[i] == '\n' && (i == 0 || written[i - 1] != '\r');
    EXPECT_EQ(bare_line_feeds, 0u);
    EXPECT_FALSE(exists(ini + L".tmp"));

    EXPECT_TRUE(FreeLibrary(lib));
    DeleteFileW(ini.c_str());
    DeleteFileW((folder + L"\\vorla_ui.dll").c_str());
    DeleteFileW((folder + L"\\SDL2.dll").c_str());
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(parent.c_str());
}

} // namespace
