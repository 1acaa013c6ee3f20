#!/usr/bin/env bash
# Configures the preset PRESET of the project in SOURCE_DIR into BINARY_DIR, with every
# executable in BINARY_DIR/bin and the -DNAME=VALUE settings given, and builds TARGETs (without
# any, everything): another build whose suites a test build runs.
#   build_preset.sh SOURCE_DIR PRESET BINARY_DIR [-DNAME=VALUE...] [TARGET...]
set -euo pipefail
usage="usage: $0 SOURCE_DIR PRESET BINARY_DIR [-DNAME=VALUE...] [TARGET...]"
(($# >= 3)) || { echo "$usage" >&2; exit 2; }
source_dir=$1 preset=$2 binary_dir=$3
shift 3
settings=()
while [[ "${1:-}" == -D* ]]; do
    settings+=("$1")
    shift
done
cd "$source_dir"
cmake --preset "$preset" -B "$binary_dir" -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$binary_dir/bin" \
    "${settings[@]}"
targets=()
(($# == 0)) || targets=(--target "$@")
cmake --build "$binary_dir" "${targets[@]}"
