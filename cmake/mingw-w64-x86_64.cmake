# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64):
#     cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The POSIX-threads flavour of the compiler, because std::thread and std::mutex need it. Programs
# go into bin/ of the build folder; with Qt they share MinGW's runtime DLLs with Qt's, copied beside
# them, and without Qt they are linked statically (cmake/WindowsRuntime.cmake). Tests and programs
# run through Wine when it is there (scripts/test-windows.sh sets up a scratch prefix for it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILL_MINGW_PREFIX})
# A Qt for Windows (-DCMAKE_PREFIX_PATH=...) lies outside MinGW's root: it is a root of its own.
if(CMAKE_PREFIX_PATH)
    list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Runs the built programs (try_run, tests, custom commands) under Wine's loader.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(QUILL_WINE_LOADER NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
    if(NOT QUILL_WINE_LOADER)
        find_program(QUILL_WINE_LOADER NAMES wine64 wine)
    endif()
    if(QUILL_WINE_LOADER)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILL_WINE_LOADER})
    endif()
endif()
