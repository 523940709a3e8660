#!/usr/bin/env bash
# Installs, through apt-get, what a fresh Debian machine lacks to build, run and test
# KorvoScreenQuill. Does nothing when everything is there. Options add what one more kind of
# build needs:
#   --fuzz     clang with its libFuzzer runtime (scripts/fuzz.sh)
#   --package  the Debian packaging tools and the validators of the desktop files (scripts/package.sh,
#              scripts/test-package.sh)
#   --windows  the MinGW-w64 cross compiler, Wine and NSIS (scripts/test-windows.sh,
#              scripts/package-windows.sh), and says which Qt for Windows the Windows build uses
#              (scripts/qt-windows.sh says where it is looked for) or how to build one
set -euo pipefail
windows=false

packages=(
  g++ make cmake git
  qt6-base-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev libzip-dev
  xvfb xauth
)
# Installed without the packages they recommend: Wine's recommendations are many and not needed.
lean=()
for option in "$@"; do
  case "$option" in
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --package) packages+=(dpkg-dev desktop-file-utils appstream libxml2-utils shared-mime-info) ;;
    --windows) lean+=(g++-mingw-w64-x86-64 libz-mingw-w64-dev wine64 nsis zip unzip xdotool imagemagick) windows=true ;;
    *) echo "setup: unknown option $option" >&2; exit 2 ;;
  esac
done

missing_of() {
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$package"
    fi
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_lean < <(missing_of "${lean[@]}")

say_qt_windows() {
  $windows || return 0
  # shellcheck source=scripts/qt-windows.sh
  . "$(dirname "$0")/qt-windows.sh"
  local qt
  if qt=$(qt_windows); then
    echo "Qt for Windows: $qt"
  else
    qt_windows_missing
  fi
}
trap say_qt_windows EXIT
[ ${#missing[@]} -eq 0 ] && [ ${#missing_lean[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]} ${missing_lean[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || {
    echo "setup: run as root to install ${missing[*]} ${missing_lean[*]}" >&2
    exit 1
  }
  as_root=(sudo)
fi
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)
"${apt[@]}" update -q
[ ${#missing[@]} -eq 0 ] || "${apt[@]}" install -y -q "${missing[@]}"
[ ${#missing_lean[@]} -eq 0 ] || "${apt[@]}" install -y -q --no-install-recommends "${missing_lean[@]}"
