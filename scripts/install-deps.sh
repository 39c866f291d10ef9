#!/usr/bin/env bash
# Installs the Debian 12 packages that Supplink needs to build, run and test.
# Run as root or with sudo available. Safe to run again.
#
#   scripts/install-deps.sh         what the build, the tests and CI need
#   scripts/install-deps.sh fuzz    also clang with libFuzzer (scripts/fuzz.sh)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libasan8 libubsan1
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc
  qt6-translations-l10n  # Qt's own dialogs and standard buttons in Dutch
  libsqlite3-dev sqlite3
  unixodbc-dev tdsodbc
  mdbtools-dev liborcus-dev libzip-dev libxlsxwriter-dev libxslt1-dev
  libboost-dev libbenchmark-dev libmuparser-dev nlohmann-json3-dev libcsv-dev
  xvfb xauth fonts-dejavu-core
  locales
)
if [ "${1:-}" = fuzz ]; then
  # libFuzzer and the sanitizer runtimes of clang; llvm-symbolizer for readable reports.
  packages+=(clang libclang-rt-14-dev llvm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The number and date tests run under a Dutch locale as well as under C.UTF-8.
need_locale=0
locale -a 2>/dev/null | grep -qi '^nl_NL\.utf-\?8$' || need_locale=1
[ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo: ${missing[*]} nl_NL.UTF-8" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -ne 0 ]; then
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ $need_locale -eq 1 ]; then
  $sudo sed -i 's/^# *\(nl_NL\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^nl_NL\.UTF-8 UTF-8' /etc/locale.gen || echo 'nl_NL.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen
fi
