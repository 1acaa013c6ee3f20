#!/usr/bin/env bash
# The native end-to-end test (e2e/native_window_test.sh) on the Linux intro as the tarball ships
# it, unpacked into a folder of its own.
# Usage: shipped_intro_test.sh TARBALL ARTIFACT_DIR
set -euo pipefail
(($# == 2)) || { echo "usage: $0 TARBALL ARTIFACT_DIR" >&2; exit 2; }
work=$(mktemp -d -t omra-shipped.XXXXXX)
trap 'rm -rf "$work"' EXIT
tar xzf "$1" -C "$work"
intro=$(find "$work" -name omra -type f)
bash "$(dirname "${BASH_SOURCE[0]}")/../e2e/native_window_test.sh" "$intro" "$2"
