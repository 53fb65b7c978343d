#!/usr/bin/env bash
# Installs every Debian package vek1 needs to build, test and run; with --fuzz, also what the
# fuzz targets need.
# Idempotent: packages already present are left alone, and apt is not touched at all when
# nothing is missing. Works as root or through sudo.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev
  libqt6multimedia6 qt6-qpa-plugins
  fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  libnlopt-cxx-dev
  xvfb xauth
  libdxflib-dev
  python3 poppler-utils librsvg2-bin python3-ezdxf python3-iapws
)
# Fuzzing (make fuzz, CI) needs clang and its runtime, which holds libFuzzer; Debian installs the
# runtime only as a recommendation, so it is named. Only asked for with --fuzz, so that building
# and testing stay as light as they are.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
