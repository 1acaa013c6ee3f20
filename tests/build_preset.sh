#!/usr/bin/env bash
# Configures the preset PRESET of the project in SOURCE_DIR into BINARY_DIR, with every
# executable in BINARY_DIR/bin and the -DNAME=VALUE settings given, and builds TARGETs: another
# build whose suites a test build runs.
#   build_preset.sh SOURCE_DIR PRESET BINARY_DIR [-DNAME=VALUE...] TARGET...
set -euo pipefail
(($# >= 4)) || { echo "usage: $0 SOURCE_DIR PRESET BINARY_DIR TARGET..." >&2; exit 2; }
source_dir=$1 preset=$2 binary_dir=$3
shift 3
settings=()
while [[ "${1:-}" == -D* ]]; do
    settings+=("$1")
    shift
done
(($# >= 1)) || { echo "$0: no target to build" >&2; exit 2; }
cd "$source_dir"
cmake --preset "$preset" -B "$binary_dir" -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$binary_dir/bin" \
    "${settings[@]}"
cmake --build "$binary_dir" --target "$@"
