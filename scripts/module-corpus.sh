#!/usr/bin/env bash
# Plays real-world modules through the intro's player under AddressSanitizer and
# UndefinedBehaviorSanitizer: the XM modules of a few Debian game packages and data/module.xm.
# Each is rendered for one pass by the debug build's xmrender; the table shows its channels, the
# result, the pass length and, for comparison, the reference player xmp's length. Fails on any
# sanitizer report or crash. Not part of CI: it downloads packages.
# Usage: scripts/module-corpus.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=scripts/packages.sh
source scripts/packages.sh

scripts/install-packages.sh corpus >/dev/null
cmake --preset debug >/dev/null
cmake --build --preset debug --target xmrender >/dev/null
xmrender=$root/build/debug/tools/xmrender/xmrender

cache=$root/build/module-corpus
mkdir -p "$cache/debs" "$cache/files"
for package in "${OMRA_CORPUS_MODULE_PACKAGES[@]}"; do
    if ! compgen -G "$cache/debs/${package}_*.deb" >/dev/null; then
        echo "Downloading $package"
        (cd "$cache/debs" && apt-get download -q "$package" 2>/dev/null) ||
            (apt-get update -qq && cd "$cache/debs" && apt-get download -q "$package")
    fi
    [ -d "$cache/files/$package" ] ||
        dpkg-deb -x "$(compgen -G "$cache/debs/${package}_*.deb" | head -n 1)" "$cache/files/$package"
done

modules=("$root/data/module.xm")
while IFS= read -r -d '' file; do
    modules+=("$file")
done < <(find "$cache/files" -type f -iname '*.xm' -print0 | sort -z)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Any sanitizer report ends the render with a failure exit and its report on stderr.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# "M:SS" from xmp's "Duration     : 2min5s", or "-".
reference_length() {
    command -v xmp >/dev/null || { echo -; return; }
    timeout 60 xmp --load-only "$1" 2>&1 | sed -n 's/^Duration *: *\([0-9]*\)min\([0-9]*\)s.*/\1 \2/p' |
        { read -r minutes seconds && printf '%d:%02d\n' "$((10#$minutes))" "$((10#$seconds))" || echo -; }
}

failures=0
printf '%-48s %8s  %-9s %6s %6s\n' module channels result pass xmp
for module in "${modules[@]}"; do
    # The package and the file name, or the path in the project.
    name=${module#"$root/"}
    [[ "$module" == "$cache/files/"* ]] && name=$(cut -d/ -f1 <<<"${module#"$cache/files/"}")/$(basename "$module")
    channels=$("$xmrender" --info "$module" 2>/dev/null | sed -n 's/^channels: //p' || true)
    status=0
    "$xmrender" "$module" "$work/out.wav" >/dev/null 2>"$work/stderr" || status=$?
    pass=-
    if grep -qE 'Sanitizer|runtime error:' "$work/stderr"; then
        result="SANITIZER"
    elif [ "$status" -eq 0 ]; then
        result=played
        pass=$(sed -n 's/.*: \([0-9]*:[0-9]*\) rendered (.*/\1/p' "$work/stderr" | tail -n 1)
        grep -q 'never came back' "$work/stderr" && pass="$pass+"
    elif [ "$status" -eq 1 ] && [ "$(wc -l <"$work/stderr")" -eq 1 ]; then
        result=refused
    else
        result="CRASH($status)"
    fi
    printf '%-48s %8s  %-9s %6s %6s\n' "$name" "${channels:--}" "$result" "$pass" \
        "$(reference_length "$module")"
    case $result in
    played) ;;
    refused) echo "    $(cat "$work/stderr")" ;;
    *)
        failures=$((failures + 1))
        sed 's/^/    /' "$work/stderr" | head -n 40
        ;;
    esac
done
echo "A '+' after the pass length: the song never came back to a position it had played, so the"
echo "render stopped at xmrender's limit."
if [ "$failures" -gt 0 ]; then
    echo "FAIL: $failures of ${#modules[@]} modules crashed or drew a sanitizer report"
    exit 1
fi
echo "PASS: ${#modules[@]} modules, no sanitizer report"
