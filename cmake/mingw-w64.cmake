# What the two MinGW-w64 toolchain files share; each sets QUORVEL_MINGW_TARGET (the compilers'
# prefix, such as x86_64-w64-mingw32) and CMAKE_SYSTEM_PROCESSOR, then includes this. The -posix
# compilers are used because GoogleTest needs std::mutex, which the win32-thread variant lacks.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QUORVEL_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEL_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs every Windows test program under Wine, each in a prefix of its own. One Wine
# set-up runs both the 64-bit and the 32-bit programs.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
