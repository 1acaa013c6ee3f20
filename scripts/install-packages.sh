#!/usr/bin/env bash
# Installs whichever of the project's Debian packages are missing.
#   install-packages.sh run    what building and running the intro needs
#   install-packages.sh fuzz   what building and running the fuzz targets needs
#   install-packages.sh release what making the release needs
#   install-packages.sh test   all of the above, plus everything the tests need
#   install-packages.sh bench  everything the tests need, plus the benchmarks' reference players
#   install-packages.sh corpus what building the tools and the module corpus check need
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/packages.sh
source "$here/packages.sh"

case "${1:-}" in
run) wanted=("${OMRA_BUILD_PACKAGES[@]}" "${OMRA_HEADLESS_PACKAGES[@]}") ;;
fuzz) wanted=("${OMRA_BUILD_PACKAGES[@]}" "${OMRA_FUZZ_PACKAGES[@]}") ;;
release) wanted=("${OMRA_BUILD_PACKAGES[@]}" "${OMRA_HEADLESS_PACKAGES[@]}" "${OMRA_RELEASE_PACKAGES[@]}") ;;
corpus) wanted=("${OMRA_BUILD_PACKAGES[@]}" "${OMRA_TEST_PACKAGES[@]}" "${OMRA_CORPUS_PACKAGES[@]}") ;;
test | bench)
    wanted=("${OMRA_BUILD_PACKAGES[@]}" "${OMRA_HEADLESS_PACKAGES[@]}" "${OMRA_TEST_PACKAGES[@]}"
        "${OMRA_FUZZ_PACKAGES[@]}" "${OMRA_I386_PACKAGES[@]}" "${OMRA_RELEASE_PACKAGES[@]}")
    if [[ $1 == bench ]]; then
        wanted+=("${OMRA_BENCH_PACKAGES[@]}" "${OMRA_BENCH_I386_PACKAGES[@]}")
    fi
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    ;;
*)
    echo "usage: $0 run|fuzz|release|test|bench|corpus" >&2
    exit 2
    ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "All ${#wanted[@]} packages are installed."
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages (run as root to install them): ${missing[*]}" >&2
    exit 1
fi
echo "Installing ${#missing[@]} packages: ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
