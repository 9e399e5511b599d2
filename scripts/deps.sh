#!/usr/bin/env bash
# Installs the Debian packages Lodestar needs to build and test, skipping those already there.
# Works as root or as a user with sudo. Usage: scripts/deps.sh [--gui] [--bench]
set -euo pipefail

packages=(build-essential clang libclang-rt-14-dev cmake ninja-build pkg-config libpcre2-dev googletest libgtest-dev libgmock-dev
          ripgrep patch)  # ripgrep: the command-line tests compare find's lines with it; patch applies the dry-run diffs
for arg in "$@"; do
    case "$arg" in
        --gui) packages+=(qt6-base-dev qt6-webengine-dev qt6-webchannel-dev qt6-svg-dev libqt6svg6 qt6-declarative-dev
                     libgl-dev xvfb xauth) ;;
        --bench) packages+=(libbenchmark-dev sd perl) ;;
    esac
done
command -v node >/dev/null 2>&1 || packages+=(nodejs)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
