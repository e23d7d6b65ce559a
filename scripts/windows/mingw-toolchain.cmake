# Cross-building for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, so std::thread and
# std::mutex work as on Linux). BRZDOMAT_WINDOWS_TOOLKIT names the folder that
# scripts/windows/build-toolkit filled with Qt, libjpeg-turbo and GoogleTest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

if(NOT BRZDOMAT_WINDOWS_TOOLKIT AND DEFINED ENV{BRZDOMAT_WINDOWS_TOOLKIT})
    set(BRZDOMAT_WINDOWS_TOOLKIT "$ENV{BRZDOMAT_WINDOWS_TOOLKIT}")
endif()
# Try-compile projects run this file again without the cache; the environment carries the folder.
set(ENV{BRZDOMAT_WINDOWS_TOOLKIT} "${BRZDOMAT_WINDOWS_TOOLKIT}")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
if(BRZDOMAT_WINDOWS_TOOLKIT)
    list(APPEND CMAKE_FIND_ROOT_PATH "${BRZDOMAT_WINDOWS_TOOLKIT}")
    list(APPEND CMAKE_PREFIX_PATH "${BRZDOMAT_WINDOWS_TOOLKIT}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run under Wine, in a prefix of the build's own.
find_program(BRZDOMAT_WINE NAMES wine wine64)
if(BRZDOMAT_WINE AND BRZDOMAT_WINDOWS_TOOLKIT)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run"
        "${BRZDOMAT_WINDOWS_TOOLKIT}" "${CMAKE_BINARY_DIR}/wine-prefix")
endif()
