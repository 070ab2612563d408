# Cross-compiles the 32-bit Windows program with MinGW-w64; it runs on 32-bit and 64-bit
# Windows alike. Its compiler unwinds with DWARF-2, which cannot pass through Windows' own
# frames: no exception may leave a window or dialog procedure.
set(QUORVEL_MINGW_TARGET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
