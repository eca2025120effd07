#!/usr/bin/env bash
# Prepares a Debian 12 machine for building and testing Tarnwick:
#   1. installs the Debian packages (skipped when all are there),
#   2. cross-builds static Windows copies of pugixml, expat, libjpeg-turbo,
#      libpng, giflib and googletest from Debian's source packages, for 64- and
#      32-bit Windows, into .deps/<triplet>/ (or $TARNWICK_DEPS/<triplet>/).
# Safe to run again: finished libraries are remembered by stamp files.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TARNWICK_DEPS=${TARNWICK_DEPS:-$ROOT/.deps}
DEPS=$TARNWICK_DEPS
TRIPLETS=(x86_64-w64-mingw32 i686-w64-mingw32)
LOGS=$DEPS/logs
SRC_CACHE=$DEPS/sources

PACKAGES=(
  # host toolchain and build tools
  g++ cmake ninja-build nasm dpkg-dev xz-utils
  # Windows cross toolchains (posix thread model) and MinGW zlib
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  libz-mingw-w64-dev
  # native builds of the portable code and its tests
  libpugixml-dev libexpat1-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  libjpeg-dev libpng-dev libgif-dev zlib1g-dev
  # fuzzing the readers of user files with clang's libFuzzer
  clang libclang-rt-14-dev
  # running the Windows exes: Wine on a virtual X display
  wine wine64 fonts-wine fonts-ipafont-gothic locales
  xvfb xauth xdotool x11-utils x11-xserver-utils xserver-xorg-core
  xserver-xorg-video-dummy imagemagick sox
  # the end-to-end tests and the measurements under Wine
  python3 python3-pytest
)

SUDO=()
if [[ $EUID -ne 0 ]]; then SUDO=(sudo); fi

# ---------------------------------------------------------------- helpers

SCRIPT_NAME=setup
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"
SETUP_T0=$EPOCHREALTIME

# run_logged LOG CMD...: output goes to LOG; on failure show its tail and stop.
run_logged() {
  local log=$1; shift
  mkdir -p "$(dirname "$log")"
  echo "+ $*" >>"$log"
  if ! "$@" >>"$log" 2>&1; then
    echo "setup: command failed: $*" >&2
    echo "----- last lines of $log -----" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

# ---------------------------------------------------------------- packages

missing_packages() {
  local installed
  installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${PACKAGES[@]}" 2>/dev/null |
    awk '$1 == "ii" { print $2 }' || true)
  local p
  for p in "${PACKAGES[@]}"; do
    grep -qx -- "$p" <<<"$installed" || echo "$p"
  done
}

has_deb_src() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $f ]] && grep -Eq '^[[:space:]]*deb-src[[:space:]]' "$f" && return 0
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] && grep -Eiq '^Types:.*(^|[[:space:]])deb-src([[:space:]]|$)' "$f" && return 0
  done
  return 1
}

# Source entries mirror the machine's own binary entries, so whatever mirror
# it already uses also serves the sources.
add_deb_src() {
  local f out tmp
  tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] || continue
    grep -Eiq '^Types:.*(^|[[:space:]])deb([[:space:]]|$)' "$f" || continue
    [[ -s $tmp ]] && printf '\n' >>"$tmp"
    sed -E 's/^Types:.*/Types: deb-src/I' "$f" >>"$tmp"
  done
  if [[ -s $tmp ]]; then
    out=/etc/apt/sources.list.d/tarnwick-deb-src.sources
  else
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [[ -f $f ]] || continue
      sed -nE 's/^([[:space:]]*)deb([[:space:]])/\1deb-src\2/p' "$f" >>"$tmp"
    done
    out=/etc/apt/sources.list.d/tarnwick-deb-src.list
  fi
  [[ -s $tmp ]] || { rm -f "$tmp"; die "no 'deb' entries in the apt sources to derive deb-src entries from"; }
  "${SUDO[@]}" install -m 644 "$tmp" "$out"
  rm -f "$tmp"
  echo "    added $out"
}

APT_UPDATED=0
apt_update() {
  [[ $APT_UPDATED == 1 ]] && return 0
  APT_UPDATED=1
  # One unreachable index should not stop us: the install or source
  # download that follows is what decides.
  if ! "${SUDO[@]}" apt-get update >>"$LOGS/apt.log" 2>&1; then
    echo "    warning: apt-get update reported errors (see $LOGS/apt.log); carrying on"
  fi
}

install_packages() {
  step "Checking Debian packages"
  local missing
  mapfile -t missing < <(missing_packages)
  if [[ ${#missing[@]} -eq 0 ]]; then
    step_done "all ${#PACKAGES[@]} installed"
    return
  fi
  echo "    missing: ${missing[*]}"
  if ! has_deb_src; then add_deb_src; fi
  apt_update
  run_logged "$LOGS/apt.log" "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
  mapfile -t missing < <(missing_packages)
  [[ ${#missing[@]} -eq 0 ]] || die "still not installed: ${missing[*]}"
  step_done "installed"
}

# ---------------------------------------------------------------- locale

# Wine draws the Japanese window with a Japanese font only in a Japanese
# locale, and glibc knows none until it is generated: without it every
# character is an empty box.
JAPANESE_LOCALE=ja_JP.UTF-8
ensure_japanese_locale() {
  step "Checking the $JAPANESE_LOCALE locale"
  if locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    step_done "generated"
    return
  fi
  if ! grep -qx "$JAPANESE_LOCALE UTF-8" /etc/locale.gen 2>/dev/null; then
    "${SUDO[@]}" sed -i -E "s/^#[[:space:]]*($JAPANESE_LOCALE UTF-8)[[:space:]]*$/\1/" /etc/locale.gen
    grep -qx "$JAPANESE_LOCALE UTF-8" /etc/locale.gen ||
      echo "$JAPANESE_LOCALE UTF-8" | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  run_logged "$LOGS/locale.log" "${SUDO[@]}" locale-gen
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' || die "the $JAPANESE_LOCALE locale could not be generated"
  step_done "generated"
}

# ---------------------------------------------------------------- sources

SOURCES_READY=0
ensure_source_index() {
  [[ $SOURCES_READY == 1 ]] && return 0
  SOURCES_READY=1
  if ! has_deb_src; then
    add_deb_src
    APT_UPDATED=0
    apt_update
  elif [[ -z $(apt-cache showsrc pugixml 2>/dev/null) ]]; then
    apt_update
  fi
}

# fetch_source PKG: sets SRC_DIR to PKG's unpacked, patched source.
# Downloads into $SRC_CACHE once; later runs reuse it.
fetch_source() {
  local pkg=$1 dir=$SRC_CACHE/src/$1 dsc
  SRC_DIR=$dir
  if [[ -f $dir/.unpacked ]]; then return; fi

  dsc=$(ls -1 "$SRC_CACHE/${pkg}_"*.dsc 2>/dev/null | sort -V | tail -n 1 || true)
  if [[ -z $dsc ]]; then
    ensure_source_index
    local tmp=$SRC_CACHE/download-$pkg ver ok=0
    local apt_opts=(-q)
    [[ $EUID -eq 0 ]] && apt_opts+=(-o APT::Sandbox::User=root)
    # The newest version in the index is sometimes not on the mirror yet;
    # fall back to the older ones the index still lists.
    local candidates=("$pkg")
    while read -r ver; do candidates+=("$pkg=$ver"); done < <(
      apt-cache showsrc "$pkg" 2>/dev/null |
        awk -v p="$pkg" '/^Package: /{ cur = $2 } /^Version: / && cur == p { print $2 }' | sort -Vr -u)
    for ver in "${candidates[@]}"; do
      rm -rf "$tmp"; mkdir -p "$tmp"
      if (cd "$tmp" && apt-get "${apt_opts[@]}" source --download-only "$ver") >>"$LOGS/sources.log" 2>&1; then
        ok=1; break
      fi
      echo "    could not download $ver, trying an older version"
    done
    [[ $ok == 1 ]] || die "could not download the source package $pkg (see $LOGS/sources.log)"
    mv "$tmp"/* "$SRC_CACHE"/
    rm -rf "$tmp"
    dsc=$(ls -1 "$SRC_CACHE/${pkg}_"*.dsc | sort -V | tail -n 1)
  fi

  rm -rf "$dir"
  mkdir -p "$SRC_CACHE/src"
  run_logged "$LOGS/sources.log" dpkg-source --no-check -x "$dsc" "$dir"
  touch "$dir/.unpacked"
}

# ---------------------------------------------------------------- builds

toolchain_for() {
  case $1 in
    x86_64-w64-mingw32) echo "$ROOT/cmake/toolchains/mingw-x86_64.cmake" ;;
    i686-w64-mingw32) echo "$ROOT/cmake/toolchains/mingw-i686.cmake" ;;
    *) die "unknown target $1" ;;
  esac
}

# cmake_dep NAME TRIPLET SRC [CMAKE ARGS...]: configure, build and install a
# CMake project as static release libraries into the triplet's prefix.
cmake_dep() {
  local name=$1 triplet=$2 src=$3; shift 3
  local bdir=$DEPS/build/$triplet/$name log=$LOGS/$name-$triplet.log
  rm -rf "$bdir"
  run_logged "$log" cmake -S "$src" -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$(toolchain_for "$triplet")" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$DEPS/$triplet" \
    -DBUILD_SHARED_LIBS=OFF \
    "$@"
  run_logged "$log" cmake --build "$bdir"
  run_logged "$log" cmake --install "$bdir"
}

build_pugixml() {
  cmake_dep pugixml "$1" "$2" -DPUGIXML_BUILD_TESTS=OFF
}

# Debian's source holds upstream's repository; the library is in expat/.
# Debian's security fixes test "XML_DTD == 1", as its autotools build
# defines it; CMake's header defines it empty unless told a value.
build_expat() {
  sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$2/expat/expat_config.h.cmake"
  cmake_dep expat "$1" "$2/expat" \
    -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
    -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF
}

build_libjpeg-turbo() {
  local triplet=$1 src=$2 log=$LOGS/libjpeg-turbo-$1.log
  if (cmake_dep libjpeg-turbo "$triplet" "$src" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
        -DWITH_SIMD=ON -DREQUIRE_SIMD=ON) 2>/dev/null; then
    echo "    libjpeg-turbo $triplet: with SIMD (nasm)"
  else
    echo "    libjpeg-turbo $triplet: SIMD build failed, building without (see $log)"
    cmake_dep libjpeg-turbo "$triplet" "$src" \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
  fi
}

build_libpng1.6() {
  # zlib is Debian's MinGW build, found through the toolchain's root path.
  cmake_dep libpng1.6 "$1" "$2" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -Dld-version-script=OFF
}

# giflib only ships a Unix Makefile; its library is eight C files.
build_giflib() {
  local triplet=$1 src=$2 prefix=$DEPS/$1 log=$LOGS/giflib-$1.log
  local bdir=$DEPS/build/$triplet/giflib f objs=()
  rm -rf "$bdir"; mkdir -p "$bdir" "$prefix/lib" "$prefix/include"
  for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
    run_logged "$log" "$triplet-gcc-posix" -std=gnu99 -O2 -Wall -c "$src/$f.c" -o "$bdir/$f.o"
    objs+=("$bdir/$f.o")
  done
  rm -f "$bdir/libgif.a"
  run_logged "$log" "$triplet-ar" rcs "$bdir/libgif.a" "${objs[@]}"
  install -m 644 "$bdir/libgif.a" "$prefix/lib/libgif.a"
  install -m 644 "$src/gif_lib.h" "$prefix/include/gif_lib.h"
}

build_googletest() {
  # Native Windows threading inside gtest: no pthread dependency to carry.
  cmake_dep googletest "$1" "$2" \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=ON
}

# Bump a recipe string to rebuild that library everywhere on the next run.
declare -A RECIPE=(
  [pugixml]="pugixml static 1"
  [expat]="expat static 1"
  [libjpeg-turbo]="libjpeg-turbo static 1"
  [libpng1.6]="libpng static 1"
  [giflib]="giflib static 1"
  [googletest]="googletest+gmock static 1"
)
LIBS=(pugixml expat libjpeg-turbo libpng1.6 giflib googletest)

stamp_file() { echo "$DEPS/stamps/$1-$2"; }
is_built() { [[ -f $(stamp_file "$1" "$2") && $(<"$(stamp_file "$1" "$2")") == "${RECIPE[$1]}" ]]; }

build_libraries() {
  local lib triplet todo
  for lib in "${LIBS[@]}"; do
    todo=()
    for triplet in "${TRIPLETS[@]}"; do
      is_built "$lib" "$triplet" || todo+=("$triplet")
    done
    if [[ ${#todo[@]} -eq 0 ]]; then
      echo "==> $lib: already built for ${TRIPLETS[*]}"
      continue
    fi
    step "Source of $lib"
    fetch_source "$lib"
    step_done "in $SRC_DIR"
    for triplet in "${todo[@]}"; do
      step "Building $lib for $triplet"
      rm -f "$(stamp_file "$lib" "$triplet")"
      "build_$lib" "$triplet" "$SRC_DIR"
      mkdir -p "$DEPS/stamps"
      echo "${RECIPE[$lib]}" >"$(stamp_file "$lib" "$triplet")"
      step_done
    done
  done
}

# ---------------------------------------------------------------- main

mkdir -p "$LOGS" "$SRC_CACHE"
echo "Tarnwick setup: dependencies in ${DEPS}"
install_packages
ensure_japanese_locale
build_libraries
rm -rf "$DEPS/build"
echo "Setup finished in $(seconds_since "$SETUP_T0") s"
