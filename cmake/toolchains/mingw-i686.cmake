# 32-bit Windows, MinGW-w64. Built only: Debian's wine64 cannot run 32-bit
# exes without wine32, so there is no emulator here.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARNWICK_TRIPLET i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
