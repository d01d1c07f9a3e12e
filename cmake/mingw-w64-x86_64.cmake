# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix), run under
# Wine (Debian: wine64). The C and C++ runtimes and the threads library are linked statically, so
# every .exe, kafhost.dll and kaf20x64.arx run without further DLLs.
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KAF_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KAF_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAF_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KAF_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KAF_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(KAF_STATIC_RUNTIME "-static")
# A DLL exports its own symbols only, not those of the runtime linked into it.
set(KAF_DLL_EXPORTS "-Wl,--exclude-libs,ALL")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${KAF_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${KAF_STATIC_RUNTIME} ${KAF_DLL_EXPORTS}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${KAF_STATIC_RUNTIME} ${KAF_DLL_EXPORTS}")

# Test programs run through Wine, with its own prefix inside the build folder and no debug chatter.
find_program(KAF_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KAF_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_COMMAND} -E env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
        ${KAF_WINE64})
endif()

# Header-only and source packages of the build machine, made fit for the target (cmake/cross).
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/cross)
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/cross)
