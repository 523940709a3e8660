# shellcheck shell=bash
# Sourced by the Windows scripts: qt_windows prints the folder of a Qt for Windows (MinGW-w64,
# shared DLLs) to build against, looked for in this order:
#   1. $QUILL_QT_WINDOWS, when set (an error when it holds no Qt);
#   2. ../shared/qt6-windows beside the repository, a ready build by the recipe of
#      scripts/build-qt-windows.sh;
#   3. ~/.cache/korvoscreenquill/qt6-windows, where scripts/build-qt-windows.sh puts its build.
# It prints nothing and returns 1 when none is there.

# Whether a folder holds a Qt for Windows this build can use.
is_qt_windows() {
  [ -f "$1/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$1/bin/Qt6Widgets.dll" ] &&
    [ -f "$1/plugins/platforms/qwindows.dll" ]
}

qt_windows() {
  local repo candidate
  repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if [ -n "${QUILL_QT_WINDOWS:-}" ]; then
    if is_qt_windows "$QUILL_QT_WINDOWS"; then
      (cd "$QUILL_QT_WINDOWS" && pwd)
      return 0
    fi
    echo "QUILL_QT_WINDOWS=$QUILL_QT_WINDOWS holds no Qt for Windows" >&2
    return 1
  fi
  for candidate in "$repo/../shared/qt6-windows" "$HOME/.cache/korvoscreenquill/qt6-windows"; do
    if is_qt_windows "$candidate"; then
      (cd "$candidate" && pwd)
      return 0
    fi
  done
  return 1
}

# The one line said where no Qt for Windows is found.
qt_windows_missing() {
  echo "No Qt for Windows found (QUILL_QT_WINDOWS, ../shared/qt6-windows, ~/.cache/korvoscreenquill/qt6-windows): scripts/build-qt-windows.sh builds one in about 75 minutes"
}
