/* A minimal C host: the launcher window until the player quits, a ROM chosen by dropping
 * it on the window, what each request would start, and what to do when the library
 * reports a failure. Build: cc minimal_host.c $(pkg-config --cflags --libs vorla_ui)
 * Usage: minimal_host [SETTINGS_PATH]; keep the settings file in a folder the user can
 * write (on Windows under %LOCALAPPDATA%, on Linux under $XDG_CONFIG_HOME). */
#include <stdio.h>
#include <string.h>

#include <vorla_ui.h>

static char rom[260];

/* Called at every poll of a run: tell the launcher what the host has. */
static void status(vl_status *record) {
    if (rom[0] == '\0') return;
    record->state = VL_BUILD_READY;
    record->rom_ok = 1;
    snprintf(record->rom_path, sizeof record->rom_path, "%s", rom);
}

static int is_settings_failure(const char *error) {
    return strncmp(error, VL_ERROR_SETTINGS_NOT_WRITTEN, strlen(VL_ERROR_SETTINGS_NOT_WRITTEN)) == 0;
}

int main(int argc, char **argv) {
    const char *ini_path = argc > 1 ? argv[1] : "vorla.ini";
    for (;;) {
        const int32_t code = vl_run(ini_path, status);
        const char *error = vl_last_error();
        if (code == VL_RUN_REFUSED) {  /* a run was under way: a fault of this host */
            fprintf(stderr, "host: %s\n", error);
            return 1;
        }
        if (code == VL_EXIT_QUIT && error[0] != '\0' && !is_settings_failure(error)) {
            fprintf(stderr, "host: the launcher could not start: %s\n", error);
            return 1;
        }
        if (error[0] != '\0') {
            /* The run worked but vorla.ini was not written: it holds what an earlier run
             * wrote, or nothing. A request that reads it (host, join) cannot be trusted. */
            fprintf(stderr, "host: settings not saved: %s\n", error);
            if (code == VL_EXIT_LINK_HOST || code == VL_EXIT_LINK_JOIN) continue;
        }
        switch (code) {
        case VL_EXIT_QUIT:
            return 0;
        case VL_EXIT_CHOOSE_ROM:
            if (vl_dropped_path()) snprintf(rom, sizeof rom, "%s", vl_dropped_path());
            printf("ROM: %s\n", rom[0] ? rom : "none yet");  /* no drop: a file dialog goes here */
            break;
        case VL_EXIT_LINK_HOST:
        case VL_EXIT_LINK_JOIN:
            vl_set_start_page(VL_PAGE_ONLINE);
            printf("would %s a link with the [link] section of %s\n", code == VL_EXIT_LINK_HOST ? "host" : "join",
                   ini_path);
            break;
        default:
            printf("would act on exit code %d with %s\n", (int)code, rom[0] ? rom : "no ROM");
            break;
        }
    }
}
