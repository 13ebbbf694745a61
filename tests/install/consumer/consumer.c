/* A host program in C built against an installed vorla_ui (through find_package or
 * pkg-config): it sees the header and the library only, nothing of SDL. It sets the poll
 * interval and the start page, runs the launcher under SDL's dummy video driver, asks SDL
 * to quit at the third status poll, and checks what the exports report before, during and
 * after the run, the refusal of a second run from inside a callback among them. Usage:
 * consumer SETTINGS_PATH; prints "consumer: ok", then the header's version, and exits 0
 * when every check holds. */
#include <vorla_ui.h>

#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

static int failures;
#define CHECK(cond) \
    do { \
        if (!(cond)) { \
            fprintf(stderr, "consumer: check failed at line %d: %s\n", __LINE__, #cond); \
            ++failures; \
        } \
    } while (0)

/* The run ends on SDL's quit event. The consumer pushes one through SDL_PushEvent of the
 * SDL2 library that vorla_ui brought into the process: an SDL_Event is 56 bytes with its
 * type (SDL_QUIT, 0x100) first. */
typedef int (*push_event_fn)(void *event);

static push_event_fn find_push_event(void) {
#ifdef _WIN32
    HMODULE sdl = GetModuleHandleA("SDL2.dll");
    return sdl ? (push_event_fn)(void (*)(void))GetProcAddress(sdl, "SDL_PushEvent") : NULL;
#else
    return (push_event_fn)dlsym(RTLD_DEFAULT, "SDL_PushEvent");
#endif
}

static int polls;
static char page_in_run[32];
static uint32_t window_in_run;
static int quit_pushed;
static int32_t nested_code;
static char nested_error[256];

static void on_status(vl_status *status) {
    ++polls;
    status->state = VL_BUILD_READY;
    status->percent = 100;
    snprintf(status->message, sizeof status->message, "%s", "Ready (C consumer)");
    snprintf(status->rom_path, sizeof status->rom_path, "%s", "consumer.gba");
    status->rom_ok = 1;
    if (polls == 1) {
        snprintf(page_in_run, sizeof page_in_run, "%s", vl_test_page());
        window_in_run = vl_test_window_id();
        nested_code = vl_run(NULL, NULL);
        snprintf(nested_error, sizeof nested_error, "%s", vl_last_error());
    }
    if (polls == 3) {
        union { uint32_t type; unsigned char bytes[56]; } quit;
        push_event_fn push = find_push_event();
        memset(&quit, 0, sizeof quit);
        quit.type = 0x100;
        quit_pushed = push && push(&quit) == 1;
    }
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: consumer SETTINGS_PATH\n");
        return 2;
    }
    CHECK(sizeof(vl_status) == 368 && sizeof(vl_online_status) == 452);
    CHECK(strcmp(vl_test_page(), "main") == 0);
    CHECK(vl_test_window_id() == 0);
    CHECK(vl_dropped_path() == NULL);
    CHECK(vl_last_error() != NULL && vl_last_error()[0] == '\0');

    vl_set_poll_interval(10);
    vl_set_start_page(VL_PAGE_SETTINGS);
    const int32_t code = vl_run(argv[1], on_status);

    CHECK(code == VL_EXIT_QUIT);
    CHECK(nested_code == VL_RUN_REFUSED);
    CHECK(strstr(nested_error, "refused") != NULL);
    CHECK(vl_last_error()[0] == '\0');  /* the run ended with its settings written */
    CHECK(quit_pushed);
    CHECK(polls >= 3);
    CHECK(strcmp(page_in_run, "settings") == 0);
    CHECK(window_in_run != 0);
    CHECK(vl_test_window_id() == 0);
    CHECK(vl_dropped_path() == NULL);
    FILE *settings = fopen(argv[1], "rb");
    CHECK(settings != NULL);
    if (settings) fclose(settings);

    if (failures) return 1;
    printf("consumer: ok (%d polls), header version %d.%d.%d\n", polls, VL_UI_VERSION_MAJOR, VL_UI_VERSION_MINOR,
           VL_UI_VERSION_PATCH);
    return 0;
}
