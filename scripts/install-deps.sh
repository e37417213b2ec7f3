#!/usr/bin/env bash
# Installs the Debian packages marlix needs to build and test, when missing.
# Usage: scripts/install-deps.sh [extra-package...]
set -euo pipefail
need=(cmake ninja-build g++ gcc libgtest-dev libbenchmark-dev pkg-config libavutil-dev
      python3-dev pybind11-dev python3-pybind11 python3-pytest ccache "$@")
missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0
echo "marlix: installing missing Debian packages: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null; then SUDO=sudo; else
        echo "marlix: please install as root: apt-get install ${missing[*]}" >&2
        exit 1
    fi
else
    SUDO=
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
