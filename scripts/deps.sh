#!/usr/bin/env bash
# Installs the Debian 12 packages Qelvo needs to build, run and test, when any is missing.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev sqlite3 unixodbc unixodbc-dev odbc-postgresql odbc-mariadb libsqliteodbc
  postgresql mariadb-server mariadb-client
  libxlsxwriter-dev locales-all
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-openpyxl poppler-utils xvfb xauth fonts-dejavu-core
  xdotool x11-utils desktop-file-utils
  qtkeychain-qt6-dev gnome-keyring dbus
  libpq-dev
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
