# 32-bit Windows, MinGW-w64. Built only: Debian's wine64 cannot run 32-bit
# exes without wine32, so there is no emulator here.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARNWICK_TRIPLET i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")

# SSE2, which every processor that runs a supported Windows has, for the
# picture code's four-channel arithmetic. Windows keeps a 32-bit thread's
# stack aligned to 4 bytes only, so functions that keep SSE values on the
# stack align it themselves.
set(CMAKE_C_FLAGS_INIT "-msse2 -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mstackrealign")
