# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the -posix compilers, whose threads C++20 needs).
# The Windows libraries (Qt, SQLite, libxlsxwriter, libmdb) are found under the prefixes listed in
# KELVANE_WINDOWS_PREFIXES (a CMake list), programs of the build machine everywhere.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELVANE_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELVANE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVANE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVANE_MINGW}-windres)
set(CMAKE_AR ${KELVANE_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${KELVANE_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

# Seen by try_compile too, which does not read the cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KELVANE_WINDOWS_PREFIXES)
set(CMAKE_FIND_ROOT_PATH /usr/${KELVANE_MINGW} ${KELVANE_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
