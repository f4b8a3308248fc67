#!/usr/bin/env bash
# Installs every Debian package the project needs (only the missing ones), then configures the
# build in build/ and builds the targets named on the command line, or everything when none is
# named (e.g. `scripts/setup.sh orvane` builds only the command-line tool). Safe to run again.
# Installing needs root: run it as root, or as a user who may use sudo.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
targets=("$@")

packages=(
  build-essential cmake ninja-build pkg-config    # toolchain
  clang-format                                    # the formatting contributors run
  libgtest-dev libgmock-dev libbenchmark-dev      # tests and benchmarks
  clang libclang-rt-14-dev                        # fuzzers (libFuzzer)
  locales                                         # the tests build a German locale
  libtinyxml2-dev                                 # XML emblem files
  libspng-dev libturbojpeg0-dev libstb-dev        # picture files
  zlib1g-dev                                      # writing PNG files
  fonts-dejavu-core fonts-dejavu-extra            # only to regenerate the parts atlas
  qt6-base-dev qt6-base-dev-tools libgl-dev       # the editor's windows (Qt 6 Widgets)
  fonts-noto-cjk                                  # the editor's Japanese menus and labels
  librsvg2-bin help2man dpkg-dev                  # icons, manual pages, the Debian package
  desktop-file-utils appstream shared-mime-info   # checking the menu entry and file types
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  # apt stays non-interactive under sudo too, which would otherwise drop the variable.
  as_root=(env DEBIAN_FRONTEND=noninteractive)
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
      echo "setup: these Debian packages are missing: ${missing[*]}" >&2
      echo "setup: installing them needs root, and sudo is not installed. Either run this" >&2
      echo "setup: script as root, or as root install sudo (apt-get install sudo) and add" >&2
      echo "setup: yourself to the sudo group (adduser $(id -un) sudo; then log in again)." >&2
      exit 1
    fi
    as_root=(sudo "${as_root[@]}")
  fi
  echo "setup: installing ${missing[*]}"
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if ((${#targets[@]})); then
  cmake --build "$root/build" --target "${targets[@]}"
else
  cmake --build "$root/build"
fi
