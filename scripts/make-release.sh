#!/usr/bin/env bash
# Installs what is missing and makes the release in dist/ (the release workflow preset):
# omra-VERSION-windows.zip, omra-VERSION-linux-x86_64.tar.gz and omra_VERSION_amd64.deb, and
# with --video also omra-VERSION-1080p60.mp4 (one pass of the tune, which takes a while).
#   scripts/make-release.sh [--video]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
case "${1:-}" in
"") ;;
--video) export OMRA_RELEASE_VIDEO=1 ;;
-h | --help)
    sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
*)
    echo "$0: unknown option $1" >&2
    echo "usage: $0 [--video]" >&2
    exit 2
    ;;
esac
scripts/install-packages.sh release
cmake --workflow --preset release
