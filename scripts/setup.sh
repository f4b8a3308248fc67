#!/usr/bin/env bash
# Installs every Debian package the project needs (only the missing ones), then configures and
# builds the program in build/. Safe to run again; asks for sudo only when not run as root.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
  build-essential cmake ninja-build pkg-config    # toolchain
  libgtest-dev libgmock-dev libbenchmark-dev      # tests and benchmarks
  clang libclang-rt-14-dev                        # fuzzers (libFuzzer)
  locales                                         # the tests build a German locale
  libtinyxml2-dev                                 # XML emblem files
  libspng-dev libturbojpeg0-dev libstb-dev        # picture files
  fonts-dejavu-core fonts-dejavu-extra            # only to regenerate the parts atlas
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  echo "setup: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build"
