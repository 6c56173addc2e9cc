# Debian packages the build and the tests need; sourced by scripts/test, scripts/run and
# scripts/package.
# install_missing PACKAGE... installs those not yet installed (as root, or through sudo).

install_missing() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing Debian packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# To build and run the Linux game.
GAME_PACKAGES=(g++ cmake ninja-build pkg-config libsdl2-dev)
# To cross-build the Windows program and run it under Wine.
WINDOWS_PACKAGES=(g++ cmake ninja-build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine64)
# To make the packages of scripts/package: the Debian package by CPack (dpkg-shlibdeps from
# dpkg-dev, and file, which CPack asks which files are programs) and the zips.
PACKAGE_PACKAGES=("${GAME_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" dpkg-dev file zip)
# To check the packages: the validators of the desktop entry, the metadata and the Debian package.
PACKAGE_CHECK_PACKAGES=("${PACKAGE_PACKAGES[@]}" unzip desktop-file-utils appstream lintian)
# To build the game as a web page and serve it: emscripten (its optimiser needs Debian's acorn, in
# /usr/share/nodejs, and Node.js), CMake, Ninja and Python for the static server.
WEB_PACKAGES=(emscripten node-acorn nodejs cmake ninja-build python3)
# To test the page in a real browser: Debian's Chromium, driven by puppeteer-core from npm (the
# scripts add Debian's npm only when no npm is on PATH: a Node.js from elsewhere brings its own).
WEB_TEST_PACKAGES=("${WEB_PACKAGES[@]}" chromium)
# To build and run every test: unit tests, sanitizers, benchmarks, the Windows cross build under
# Wine (GoogleTest built from its source package), and the end-to-end runs under Xvfb (xev from
# x11-utils watches the windows come and go), make for the plain build's default generator, the
# packages' checks and the browser test.
TEST_PACKAGES=("${GAME_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" make libgtest-dev googletest
  libbenchmark-dev xvfb xauth xdotool imagemagick x11-apps x11-utils
  "${PACKAGE_CHECK_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}")
