# 64-bit Windows, MinGW-w64. Test exes run through Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARNWICK_TRIPLET x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")

set(CMAKE_CROSSCOMPILING_EMULATOR "${TARNWICK_SOURCE_ROOT}/scripts/wine-run.sh")
