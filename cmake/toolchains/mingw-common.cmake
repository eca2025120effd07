# Shared part of the MinGW-w64 cross toolchains. The including file sets
# TARNWICK_TRIPLET and CMAKE_SYSTEM_PROCESSOR first.
#
# The -posix compilers are used on purpose: with the win32 thread model GCC 12
# has no std::mutex or std::thread, and googletest does not build.

set(CMAKE_SYSTEM_NAME Windows)

get_filename_component(TARNWICK_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)

# Windows copies of the third-party libraries, built by scripts/setup.sh.
if(DEFINED ENV{TARNWICK_DEPS} AND NOT "$ENV{TARNWICK_DEPS}" STREQUAL "")
  set(TARNWICK_DEPS_PREFIX "$ENV{TARNWICK_DEPS}/${TARNWICK_TRIPLET}")
else()
  set(TARNWICK_DEPS_PREFIX "${TARNWICK_SOURCE_ROOT}/.deps/${TARNWICK_TRIPLET}")
endif()

set(CMAKE_C_COMPILER   ${TARNWICK_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNWICK_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${TARNWICK_TRIPLET}-windres)

# Only the target's own trees: the deps prefix, then Debian's MinGW sysroot
# (which holds zlib). Programs come from the host, everything else never does.
set(CMAKE_FIND_ROOT_PATH "${TARNWICK_DEPS_PREFIX}" "/usr/${TARNWICK_TRIPLET}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's MinGW zlib ships libz.dll.a beside libz.a; the exe must not need
# zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)

# Keep host .pc files out, should anything ask pkg-config.
set(ENV{PKG_CONFIG_LIBDIR} "${TARNWICK_DEPS_PREFIX}/lib/pkgconfig:/usr/${TARNWICK_TRIPLET}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# List gtest cases when ctest runs, not at build time, so building never
# needs Wine or a display.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
