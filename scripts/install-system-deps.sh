#!/usr/bin/env bash
# Installs the Debian packages the build needs, or, for a user who is not root, says which.
set -euo pipefail

packages=(
  build-essential pkg-config ccache clang-format
  liberfa-dev libtbb-dev libeigen3-dev libgtest-dev
  python3-venv python3-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# A Python built from source (pyenv, python.org) brings its own venv and headers.
if python3 -c 'import venv, sysconfig, os, sys; sys.exit(not os.path.exists(os.path.join(sysconfig.get_paths()["include"], "Python.h")))' 2>/dev/null; then
  filtered=()
  for p in "${missing[@]}"; do
    [[ "$p" == python3-venv || "$p" == python3-dev ]] || filtered+=("$p")
  done
  missing=("${filtered[@]}")
fi

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing system packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "talvoran needs these system packages, which are not installed:" >&2
  echo "    sudo apt-get install ${missing[*]}" >&2
  echo "Run that command (or ask your administrator to), then run make again." >&2
  exit 1
fi
