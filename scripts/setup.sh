#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Safe to run again: packages already present are not touched.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core fonts-liberation2
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  libshp-dev
  libgtest-dev libgmock-dev
  xvfb xauth xdotool poppler-utils
)
# The state edition's tests talk to a real Firebird server.
if [ "${TALVERA_WITH_SERVER:-0}" = 1 ]; then
  packages+=(firebird3.0-server)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  # The server package would start a service and ask for a password: keep it quiet.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
