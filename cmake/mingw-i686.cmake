# 32-bit Windows with MinGW-w64 (posix thread model: the win32 one has no std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Programs built here run under Wine (tools/wine-run keeps Wine's output off CTest's pipe).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
# The CPU every Windows that runs 32-bit programs today requires: SSE2, and floating point in
# SSE registers (long double stays the 80-bit x87 type). Applied to every C and C++ target,
# test programs included, by the project file; re-read at each configure, unlike the *_INIT flags.
set(KEMBO_CPU_FLAGS -march=pentium4 -mtune=generic -mfpmath=sse)
