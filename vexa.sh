#!/usr/bin/env bash
# VEXA entry script: installs what the build needs, builds, then runs.
#   ./vexa.sh demo   calculate the bundled example
#   ./vexa.sh test   run the whole test suite
#   ./vexa.sh build  only install and build
#   ./vexa.sh gui [FILE]     start the desktop program (opening FILE)
#   ./vexa.sh screenshots    write pictures of the desktop program to build/screenshots/
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
BUILD="$ROOT/build"
JOBS=$(nproc 2>/dev/null || echo 2)

# libxlsxwriter writes the spreadsheet export; unzip lets the tests read the workbook back;
# Qt 6 Widgets and Charts build the desktop program, a font lets offscreen pictures show text.
PACKAGES=(cmake ninja-build g++ clang libclang-rt-dev python3 locales
          libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libeigen3-dev
          qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev libxkbcommon-dev fonts-dejavu-core
          pkg-config libxlsxwriter-dev unzip)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq >/dev/null
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# A locale with a decimal comma, so that the tests can show that numbers keep their "."
# whatever the user's locale (the desktop program takes the user's locale).
ensure_test_locale() {
  locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$' && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 >/dev/null 2>&1 || true
}

build() {
  install_missing
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" -j "$JOBS"
}

build_fuzz() {
  CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVEXA_FUZZ=ON -DVEXA_TESTS=OFF -DVEXA_BENCH=OFF -DVEXA_GUI=OFF >/dev/null
  cmake --build "$ROOT/build-fuzz" -j "$JOBS" --target vexa_fuzz
}

# The solver-agreement tests once more, compiled for this machine's processor (fused
# multiply-adds available to the compiler): only their test program is built.
build_native() {
  cmake -S "$ROOT" -B "$ROOT/build-native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVEXA_NATIVE=ON -DVEXA_BENCH=OFF -DVEXA_QINU=OFF -DVEXA_GUI=OFF >/dev/null
  cmake --build "$ROOT/build-native" -j "$JOBS" --target BeamModelUnitTest
}

case "${1:-}" in
  build)
    build ;;
  demo)
    build
    "$BUILD/bin/vexa-calc" "$ROOT/examples/V16-26-26.vxa" ;;
  test)
    build
    ensure_test_locale
    build_fuzz
    (cd "$ROOT/build-fuzz" && ctest --output-on-failure -j "$JOBS")
    build_native
    (cd "$ROOT/build-native/tests" && ./BeamModelUnitTest --gtest_filter='*Agree*:*Meets*')
    (cd "$BUILD" && ctest --output-on-failure -j "$JOBS") ;;
  gui)
    build
    shift
    exec "$BUILD/bin/vexa" "$@" ;;
  screenshots)
    build
    mkdir -p "$BUILD/screenshots"
    QT_QPA_PLATFORM=offscreen "$BUILD/bin/vexa-screenshots" "$ROOT/examples/V16-26-26.vxa" "$BUILD/screenshots" ;;
  *)
    echo "usage: $0 demo|test|build|gui [FILE]|screenshots" >&2
    exit 2 ;;
esac
