#!/usr/bin/env bash
# Installs, only where missing, the Debian packages that the build, the tests and the demo need.
# Safe to run again: it does nothing when everything is present.
set -euo pipefail

packages=(
    build-essential cmake pkg-config ccache
    googletest libgtest-dev libgmock-dev
    libhidapi-dev libudev-dev
    libpng-dev libgif-dev
    nlohmann-json3-dev libcli11-dev
    qt6-base-dev xvfb xauth x11-xserver-utils
    libglib2.0-dev libglib2.0-dev-bin libx11-dev libxi-dev libxtst-dev
    fonts-crosextra-carlito fonts-noto-cjk fonts-wqy-zenhei fonts-wqy-microhei
    fonts-arphic-uming fonts-liberation2 fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
