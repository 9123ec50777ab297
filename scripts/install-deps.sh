#!/usr/bin/env bash
# Installs the Debian packages a build needs; with --package also what building
# the Debian package needs, with --test also what the test suite needs.
# Only missing packages are installed; the package lists are refreshed only when
# a package cannot be found.
set -euo pipefail

build_pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libx11-dev libcurl4-openssl-dev
            ca-certificates ccache libidn2-dev libsqlite3-dev qt6-charts-dev librsvg2-bin
            libqt6opengl6-dev)
package_pkgs=(dpkg-dev file binutils)
test_pkgs=(libgtest-dev libbenchmark-dev python3 python3-aiosmtpd python3-pyftpdlib
           openssl curl xvfb xauth xdotool imagemagick at-spi2-core dbus dbus-x11
           python3-pyatspi chromium clang-format clang clang-tidy clazy libclang-rt-14-dev llvm
           lintian desktop-file-utils appstream mandoc man-db dpkg-dev file linkchecker nodejs gdb)

want=("${build_pkgs[@]}")
case "${1:-}" in
    --test) want+=("${package_pkgs[@]}" "${test_pkgs[@]}") ;;
    --package) want+=("${package_pkgs[@]}") ;;
esac

missing=()
for p in "${want[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
