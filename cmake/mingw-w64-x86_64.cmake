# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, which
# has std::thread and std::mutex). Results run under Wine through the emulator below.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VORLA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORLA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VORLA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VORLA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime (libgcc, libstdc++, winpthread) is linked in statically, so
# a program or the DLL needs nothing beside it but SDL2.dll and system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package keeps its loader in /usr/lib/wine. ctest starts every test
# program, and GoogleTest's listing of its tests, through tests/windows/wine_start_retry.py,
# which runs a program once more when Wine failed to start it. Debian's Python starts it: a
# version manager's python3 on the PATH can take a second to start, at every test.
find_program(VORLA_WINE NAMES wine64 wine PATHS /usr/lib/wine)
find_program(VORLA_WINE_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(VORLA_WINE AND VORLA_WINE_PYTHON)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${VORLA_WINE_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine_start_retry.py ${VORLA_WINE})
endif()
